// One search step of the find bar against Qt's own QTextDocument::find, same document, same word.
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include "tools/find_bar.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int Pages = 1000;
constexpr int ParagraphsPerPage = 40;
const QString Needle = QStringLiteral("quokka");

// About 3,000 characters a page; the needle stands once, on the last page.
QString thousandPageText()
{
    static const char *const words[] = {"the", "river", "carried", "small", "boats", "past", "old",
                                        "mills", "while", "evening", "light", "settled", "on", "water"};
    QString text;
    unsigned seed = 7;
    for (int page = 0; page < Pages; ++page) {
        for (int paragraph = 0; paragraph < ParagraphsPerPage; ++paragraph) {
            for (int word = 0; word < 13; ++word) {
                seed = seed * 1103515245u + 12345u;
                text += QLatin1String(words[(seed >> 16) % std::size(words)]) + QLatin1Char(' ');
            }
            if (page == Pages - 1 && paragraph == ParagraphsPerPage / 2)
                text += QStringLiteral("a Quokka ");
            text += QLatin1Char('\n');
        }
    }
    return text;
}

class SilentMessages : public MessageBoxSeam
{
protected:
    int show(const QString &, int, const QString &) override { return vb::vbOK; }
};

// The find bar over a shown editor holding the whole document.
struct Window
{
    QWidget form;
    QLineEdit *txtFind = new QLineEdit(&form);
    QPushButton *cmdFind = new QPushButton(QStringLiteral("Search"), &form);
    RichTextBox *editor = new RichTextBox(&form);
    SilentMessages messages;
    FindBar bar{*txtFind, *cmdFind, *editor, messages};

    Window()
    {
        auto *layout = new QVBoxLayout(&form);
        layout->addWidget(txtFind);
        layout->addWidget(cmdFind);
        layout->addWidget(editor);
        form.resize(640, 480);
        editor->SetText(thousandPageText());
        form.show();
    }
};

// Made in main, after the application and before any timing, and gone before the application.
Window *subject = nullptr;

Window &window() { return *subject; }

void qtDocumentFind(benchmark::State &state)
{
    QTextDocument &doc = *window().editor->document();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.find(Needle, 0));
}

void findTStep(benchmark::State &state)
{
    Window &w = window();
    for (auto _ : state) {
        w.bar.NextStart = 0;
        w.bar.FoundAny = false;
        w.bar.FindT(Needle, *w.editor);
    }
    if (w.editor->SelText().compare(Needle, Qt::CaseInsensitive) != 0)
        state.SkipWithError("the step did not select the word");
}

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio() const
    {
        const auto step = times.find("findt_step/real_time"), floor = times.find("qt_document_find/real_time");
        if (step == times.end() || floor == times.end() || floor->second <= 0)
            return;
        std::printf("\ndocument: %d pages, %lld characters; word at %d\n", Pages,
                    static_cast<long long>(window().editor->document()->characterCount()),
                    window().editor->document()->find(Needle, 0).selectionStart());
        std::printf("FindT step / QTextDocument::find = %.2f (goal <= 1.5)\n", step->second / floor->second);
    }

    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Window w;
    subject = &w;
    QApplication::processEvents();
    QElapsedTimer firstFind;
    firstFind.start();
    w.editor->document()->find(Needle, 0); // the first touch of the text is reported apart
    const qint64 firstFindMs = firstFind.elapsed();
    benchmark::RegisterBenchmark("qt_document_find", qtDocumentFind)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("findt_step", findTStep)->UseRealTime()->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    std::printf("first QTextDocument::find after loading the text: %lld ms\n", static_cast<long long>(firstFindMs));
    benchmark::Shutdown();
    return 0;
}
