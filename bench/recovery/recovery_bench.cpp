// A keystroke while the recovery copy of the 1,000-page document is being written, against the
// same keystroke with no copy under way. The copy's UI-thread share is its snapshot; the RTF is
// written on the recovery thread.
#include "bench/rtf/bench_documents.h"
#include "document/recovery.h"
#include "document/recovery_copy.h"
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include "window/form1.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int Pages = 1000;

class SilentMessages : public MessageBoxSeam
{
protected:
    int show(const QString &, int, const QString &) override { return vb::vbOK; }
};

// The shown main window holding the document, unsaved, with a copy folder of its own.
struct Subject
{
    QTemporaryDir folder;
    SilentMessages messages;
    RecoverySettings settings{folder.path(), std::chrono::hours(1)};
    std::unique_ptr<Form1> form;
    QString rtfPath = folder.filePath(QStringLiteral("document.rtf"));

    Subject()
    {
        QFile file(rtfPath);
        if (file.open(QIODevice::WriteOnly))
            file.write(rtfbench::generateDocument(Pages));
        file.close();
        Form1Seams seams;
        seams.messages = &messages;
        seams.recovery = &settings;
        form = std::make_unique<Form1>(seams);
        form->show();
        form->RichTextBox1->LoadFile(rtfPath);
        form->state().Modified = 1;
        form->RichTextBox1->setFocus();
        QApplication::processEvents();
    }
    RichTextBox &editor() { return *form->RichTextBox1; }
    DocumentRecovery &recovery() { return *form->recovery(); }
};

Subject *subject = nullptr;

// A typed character, until it is on screen.
void keystroke(RichTextBox &editor)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&editor, &press);
    QApplication::sendEvent(&editor, &release);
    editor.viewport()->repaint();
}

void keystrokeAlone(benchmark::State &state)
{
    for (auto _ : state)
        keystroke(subject->editor());
}

void keystrokeDuringAutosave(benchmark::State &state)
{
    for (auto _ : state) {
        subject->recovery().checkpoint();
        keystroke(subject->editor());
        state.PauseTiming();
        subject->recovery().waitForWrites();
        state.ResumeTiming();
    }
    if (!QFile::exists(subject->recovery().ownCopy()))
        state.SkipWithError("no recovery copy was written");
}

void snapshotOnTheUiThread(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(takeSnapshot(*subject->editor().document()));
}

void copyWrittenOnTheRecoveryThread(benchmark::State &state)
{
    const DocumentSnapshot snapshot = takeSnapshot(*subject->editor().document());
    for (auto _ : state)
        benchmark::DoNotOptimize(recoveryBytes(snapshot, {}));
}

void wholeCloneForComparison(benchmark::State &state)
{
    for (auto _ : state)
        delete subject->editor().document()->clone();
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
    double ms(const char *name) const
    {
        const auto it = times.find(std::string(name) + "/real_time");
        return it == times.end() ? -1 : it->second;
    }
    void printSummary() const
    {
        const double alone = ms("keystroke_alone"), during = ms("keystroke_during_autosave");
        std::printf("\ndocument: %d pages, %lld characters\n", Pages,
                    static_cast<long long>(subject->editor().document()->characterCount()));
        if (alone > 0 && during > 0)
            std::printf("keystroke during an autosave: %.1f ms (goal <= 50), %.2f x the keystroke alone (%.1f ms)\n",
                        during, during / alone, alone);
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
    Subject s;
    subject = &s;
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("keystroke_alone", keystrokeAlone)->UseRealTime()->Unit(ms);
    benchmark::RegisterBenchmark("keystroke_during_autosave", keystrokeDuringAutosave)->UseRealTime()->Unit(ms);
    benchmark::RegisterBenchmark("snapshot_on_ui_thread", snapshotOnTheUiThread)->UseRealTime()->Unit(ms);
    benchmark::RegisterBenchmark("copy_written_on_recovery_thread", copyWrittenOnTheRecoveryThread)->UseRealTime()->Unit(ms);
    benchmark::RegisterBenchmark("whole_clone_for_comparison", wholeCloneForComparison)->UseRealTime()->Unit(ms)->Iterations(3);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    subject = nullptr;
    return 0;
}
