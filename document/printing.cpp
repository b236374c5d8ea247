#include "document/printing.h"
#include "editor/command_failure.h"
#include "editor/common_dialog.h"
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include "document/file_commands.h"
#include "layout/printed_pages.h"
#include <QTextDocument>
#include <QFile>
#include <QPrinter>

namespace {

QString printFailure(const QString &why) { return QStringLiteral("Could not print: %1.").arg(why); }

// Printing gives no word when its output file cannot be opened, so find out first.
void checkOutputFile(const QString &path)
{
    QFile probe(path);
    const bool existed = probe.exists();
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Append))
        throw CommandFailure(printFailure(QStringLiteral("%1: %2").arg(path, probe.errorString())));
    probe.close();
    if (!existed)
        probe.remove();
}

void checkPrinterReady(const QPrinter &printer)
{
    if (!printer.outputFileName().isEmpty())
        checkOutputFile(printer.outputFileName());
    else if (!printer.isValid())
        throw CommandFailure(printFailure(QStringLiteral("the printer \"%1\" is not available").arg(printer.printerName())));
}

void checkPrinted(const QPrinter &printer)
{
    if (printer.printerState() == QPrinter::Error)
        throw CommandFailure(printFailure(QStringLiteral("the printer reported an error")));
    if (!printer.outputFileName().isEmpty() && !QFile::exists(printer.outputFileName()))
        throw CommandFailure(printFailure(QStringLiteral("%1 was not written").arg(printer.outputFileName())));
}

// The dialog opens on the paper and orientation the document was laid out for.
void offerDocumentPaper(QPrinter &printer, const QTextDocument &document)
{
    const std::optional<QPageLayout> paper = printing::documentPaper(document);
    if (!paper)
        return;
    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(paper->orientation());
    layout.setPageSize(paper->pageSize(), layout.minimumMargins());
    printer.setPageLayout(layout);
}

// A file printed in part, its printing cancelled, would pass for the whole document: it goes.
void printCancellable(RichTextBox &box, QPrinter &printer)
{
    try {
        box.SelPrint(printer);
    } catch (const DialogCancelled &) {
        if (!printer.outputFileName().isEmpty())
            QFile::remove(printer.outputFileName());
        throw;
    }
}

} // namespace

void Print_Click(DocumentSession &session)
{
    CommonDialog &dialog = session.CommonDialog1;
    try {
        dialog.CancelError = true;
        dialog.Flags = cdl::PD_RETURNDC | cdl::PD_NOPAGENUMS;
        offerDocumentPaper(dialog.printer(), *session.RichTextBox1.document());
        dialog.ShowPrinter();
        QPrinter &printer = dialog.printer();
        checkPrinterReady(printer);
        printCancellable(session.RichTextBox1, printer);
        checkPrinted(printer);
    } catch (const DialogCancelled &) {
    } catch (const CommandFailure &failure) {
        session.messages.MsgBox(failure.reason());
    }
}
