#include "app/gui/prompts.h"

#include <QColorDialog>
#include <QFileDialog>

namespace varkel {

namespace {
const QString kTitle = QStringLiteral("Varkel");
}

QStringList Prompts::OpenFiles(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString Prompts::SaveFile(QWidget *parent, const QString &title, const QString &proposed, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, proposed, filter);
}

QMessageBox::StandardButton Prompts::Ask(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons)
{
    return QMessageBox::question(parent, kTitle, text, buttons);
}

void Prompts::Critical(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, kTitle, text);
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
