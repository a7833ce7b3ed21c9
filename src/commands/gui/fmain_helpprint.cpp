// The frame's printing and help commands: Print, Printer Setup, Help
// Contents and Search for Help.

#include "app/gui/fmain.h"
#include "app/gui/prompts.h"
#include "app/mglobal.h"
#include "commands/gui/helpwindow.h"
#include "documents/gui/richedit.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrinterInfo>

#include <Qsci/qsciprinter.h>

namespace varkel {

namespace {

// The system's default printer, or null when the system has none.
std::shared_ptr<QsciPrinter> defaultSystemPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || QPrinterInfo::availablePrinterNames().isEmpty())
        return nullptr;
    auto printer = std::make_shared<QsciPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(info.printerName());
    return printer;
}

// Names the printer (or the file a printer writes) in a failure message.
std::string printerName(const QPrinter &printer)
{
    const QString name = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    return name.toStdString();
}

} // namespace

Error fMain::PrintDocument(QsciPrinter &printer)
{
    RichEdit *editor = ActiveEditor();
    if (!editor)
        return {};
    if (const int d = ActiveDoc())
        printer.setDocName(QFileInfo(QString::fromStdString(m_docs[d].Path)).fileName());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPainter painter;
    // 1. Start the job.
    if (!painter.begin(&printer)) {
        QApplication::restoreOverrideCursor();
        return Error{ErrorCode::PrintFailed, printerName(printer)};
    }
    // 2. Nothing selected, so the whole document prints; the caret stays at
    //    the start of the old selection.
    editor->SetSelLength(0);
    // 3. The text with the editor's own styles: its colours and font.
    const bool printed = printer.printRange(editor, painter);
    // 4. End the job, which hands it to the printer.
    const bool ended = painter.end();
    QApplication::restoreOverrideCursor();
    if (!printed || !ended)
        return Error{ErrorCode::PrintFailed, printerName(printer)};
    return {};
}

void fMain::PrintActive()
{
    if (!ActiveEditor())
        return;
    std::shared_ptr<QsciPrinter> printer = m_setupPrinter;
    if (!printer)
        printer = m_printerSource ? m_printerSource() : defaultSystemPrinter();
    if (!printer) {
        ReportError(Error{ErrorCode::PrinterUnavailable,
                          "choose a printer, or printing to a file, with Printer Setup"});
        return;
    }
    if (Error e = PrintDocument(*printer))
        ReportError(e);
}

void fMain::PrintSetup()
{
    std::shared_ptr<QsciPrinter> printer = m_setupPrinter;
    if (!printer)
        printer = m_printerSource ? m_printerSource() : defaultSystemPrinter();
    // With no printer at all the dialog still offers printing to a file.
    if (!printer)
        printer = std::make_shared<QsciPrinter>(QPrinter::HighResolution);
    if (m_prompts->PrinterSetup(this, *printer))
        m_setupPrinter = printer;
}

void fMain::GetHelp(const QString &topic)
{
    QString folder = QString::fromStdString(mGlobal::HelpDir);
    if (folder.isEmpty())
        folder = QString::fromStdString(mGlobal::AppDir) + QStringLiteral("/help");
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(this);
    // Read the pages on every call, so the search always matches the files.
    if (Error e = m_helpWindow->Load(folder)) {
        ReportError(e);
        return;
    }
    if (topic == QLatin1String("Contents"))
        m_helpWindow->ShowContents();
    else
        m_helpWindow->ShowSearch();
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

} // namespace varkel
