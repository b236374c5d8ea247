// The Print command on the 1,000-page document, with a PDF file as the printer the print dialog gave,
// beside the floor: QTextDocument::print of the same document to a PDF QPrinter.
#include "editor/common_dialog.h"
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include "document/document_state.h"
#include "document/file_commands.h"
#include "document/printing.h"
#include <QElapsedTimer>
#include "support/large_document.h"
#include "support/ratio_table.h"
#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <QProcess>
#include <QRegularExpression>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace velmobench;

namespace {

RichTextBox *editor = nullptr;
QString pdfPath;

// The print dialog, confirmed at once with the PDF file as the printer.
class PdfPrinterDialog : public FileDialogSeam
{
public:
    std::optional<QString> askOpen(const QStringList &, const QString &) override { return std::nullopt; }
    std::optional<QString> askSave(const QStringList &, const QString &) override { return std::nullopt; }
    bool askPrinter(QPrinter &printer, int) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
};

class FailOnMessage : public MessageBoxSeam
{
protected:
    int show(const QString &text, int, const QString &) override
    {
        qFatal("the print command said: %s", qPrintable(text));
        return 0;
    }
};

namespace pdf {
int pageCount(const QString &path)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(60000);
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}
} // namespace pdf

void checkWritten(benchmark::State &state)
{
    if (QFileInfo(pdfPath).size() < 1000000)
        state.SkipWithError("no PDF of the document was written");
    state.counters["MB"] = double(QFileInfo(pdfPath).size()) / 1e6;
    state.counters["pages"] = pdf::pageCount(pdfPath);
    QFile::remove(pdfPath);
}

void qtPrint(benchmark::State &state)
{
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution); // as the print dialog's
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        editor->document()->print(&printer);
    }
    checkWritten(state);
}

void printCommand(benchmark::State &state)
{
    PdfPrinterDialog dialogs;
    CommonDialog dialog(dialogs);
    DocumentState documentState;
    FailOnMessage messages;
    DocumentSession session{*editor, dialog, documentState, messages, [] {}};
    for (auto _ : state)
        Print_Click(session);
    checkWritten(state);
}

// A table of 100,000 two-cell rows printed to PDF through the Print command: how long it takes, and
// the longest the window waits for its events meanwhile (a timer's ticks, 10 ms apart when free).
void longTable(RichTextBox &box)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\paperw12240\\paperh15840\n";
    for (int row = 1; row <= 100000; ++row)
        rtf += "\\trowd\\cellx3000\\cellx6000\\pard\\intbl Row " + QByteArray::number(row) + "\\cell Cell\\cell\\row\n";
    rtf += "}";
    QTemporaryFile file(QStringLiteral("velmo-bench-table-XXXXXX.rtf"));
    if (!file.open() || file.write(rtf) < 0 || !file.flush())
        qFatal("cannot write the long table");
    box.LoadFile(file.fileName());
    settle(box);
    QElapsedTimer sinceTick, total;
    qint64 longest = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] { longest = qMax(longest, sinceTick.restart()); });
    ticks.start(10);
    PdfPrinterDialog dialogs;
    CommonDialog dialog(dialogs);
    DocumentState documentState;
    FailOnMessage messages;
    DocumentSession session{box, dialog, documentState, messages, [] {}};
    total.start();
    sinceTick.start();
    Print_Click(session);
    longest = qMax(longest, sinceTick.elapsed());
    std::printf("100,000-row table: %d pages in %lld ms; the window waited at most %lld ms for its events\n",
                pdf::pageCount(pdfPath), static_cast<long long>(total.elapsed()), static_cast<long long>(longest));
    QFile::remove(pdfPath);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const bool tableOnly = argc > 1 && QByteArray(argv[1]) == "--long-table";
    QTemporaryDir dir;
    pdfPath = dir.filePath(QStringLiteral("printed.pdf"));
    RichTextBox box;
    editor = &box;
    box.resize(491, 288);
    box.show();
    if (tableOnly) {
        longTable(box);
        return 0;
    }
    box.LoadFile(largeDocumentFile());
    settle(box);
    std::printf("document: %d pages, %d characters\n", Pages, box.document()->characterCount());
    benchmark::RegisterBenchmark("floor/qtextdocument_print", qtPrint)->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("print/print_command", printCommand)->Iterations(1)->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTable({{"print to PDF", "print/print_command", "floor/qtextdocument_print", 1.3},
                         {"print to PDF (cpu)", "print/print_command:cpu_time", "floor/qtextdocument_print:cpu_time", 1.3}});
    benchmark::Shutdown();
    editor = nullptr;
    return 0;
}
