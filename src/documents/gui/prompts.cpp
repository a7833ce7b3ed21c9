#include "documents/gui/prompts.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPushButton>

namespace varkel {

namespace {
const QString kTitle = QStringLiteral("Varkel");
}

QStringList Prompts::OpenFiles(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString Prompts::SaveFile(QWidget *parent, const QString &title, const QString &proposed, const QString &filter,
                          QString *chosenFilter)
{
    QFileDialog dialog(parent, title, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    // The dialog adds the extension itself, so that its question about
    // replacing a file asks about the name that will be written.
    auto suffixFor = [&dialog](const QString &name) {
        dialog.setDefaultSuffix(name.startsWith(QStringLiteral("Quake Config")) ? QStringLiteral("cfg") : QString());
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, suffixFor);
    suffixFor(dialog.selectedNameFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QMessageBox::StandardButton Prompts::Ask(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons)
{
    return QMessageBox::question(parent, kTitle, text, buttons);
}

void Prompts::Critical(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, kTitle, text);
}

QString Prompts::InputText(QWidget *parent, const QString &prompt, const QString &title, const QString &text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, text, &ok);
    return ok ? answer : QString();
}

bool Prompts::ChooseColorValue(QWidget *parent, unsigned initial, unsigned &chosen)
{
    const QColor c = ChooseColor(parent, QColor(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF));
    if (!c.isValid())
        return false;
    chosen = static_cast<unsigned>(c.red()) | (static_cast<unsigned>(c.green()) << 8) |
             (static_cast<unsigned>(c.blue()) << 16);
    return true;
}

bool Prompts::ChooseFont(QWidget *parent, const QFont &initial, QFont &chosen)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parent);
    if (ok)
        chosen = f;
    return ok;
}

bool Prompts::PrinterSetup(QWidget *parent, QPrinter &printer)
{
    // The platform's printer dialog, used to choose the printer and its paper
    // only: no page range or selection, and its accept button reads OK since
    // nothing is printed from here.
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    return dialog.exec() == QDialog::Accepted;
}

void Prompts::Exclamation(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text);
}

QString Prompts::OpenFile(QWidget *parent, const QString &title, const QString &initialFile, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, initialFile, filter);
}

QColor Prompts::ChooseColor(QWidget *parent, const QColor &initial)
{
    return QColorDialog::getColor(initial, parent);
}

} // namespace varkel
