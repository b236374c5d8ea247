// What following a read costs: the reader with a progress callback and a cancel flag against the
// same reader without, on the generated documents, in the same run. Fastest of the repetitions in
// process CPU time; the ratio is printed at the end (goal: within 1 %).
#include "bench_documents.h"
#include "rtf/rtf.h"
#include <QGuiApplication>
#include <QTextDocument>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

const QByteArray &document(int pages)
{
    static std::map<int, QByteArray> documents;
    QByteArray &bytes = documents[pages];
    if (bytes.isEmpty())
        bytes = rtfbench::generateDocument(pages);
    return bytes;
}

void readUnfollowed(benchmark::State &state)
{
    const QByteArray &bytes = document(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument target;
        benchmark::DoNotOptimize(rtf::read(bytes, target));
    }
}

void readFollowed(benchmark::State &state)
{
    const QByteArray &bytes = document(int(state.range(0)));
    std::atomic<bool> cancel = false;
    std::atomic<qint64> seen = 0;
    rtf::ReadControl control;
    control.cancel = &cancel;
    control.progress = [&seen](qint64 done, qint64) { seen.store(done, std::memory_order_relaxed); };
    for (auto _ : state) {
        QTextDocument target;
        benchmark::DoNotOptimize(rtf::read(bytes, target, rtf::ReadLimits{}, nullptr, nullptr, control));
    }
}

constexpr int sizes[] = {100, 1000};

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const std::string key = run.run_name.function_name + "/" + run.run_name.args;
            const double time = run.GetAdjustedCPUTime();
            if (!times.count(key) || time < times[key])
                times[key] = time;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios()
    {
        std::printf("\n%-8s %18s %8s\n", "pages", "followed/unfollowed", "goal");
        for (int pages : sizes) {
            const double followed = times["read_followed/" + std::to_string(pages)];
            const double unfollowed = times["read_unfollowed/" + std::to_string(pages)];
            std::printf("%-8d %18.3f %8s\n", pages, unfollowed > 0 ? followed / unfollowed : 0.0, "<= 1.01");
        }
    }

    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    using Function = void (*)(benchmark::State &);
    const std::pair<const char *, Function> benchmarks[] = {{"read_unfollowed", readUnfollowed},
                                                            {"read_followed", readFollowed}};
    for (const auto &[name, function] : benchmarks) {
        auto *b = benchmark::RegisterBenchmark(name, function);
        for (int pages : sizes)
            b->Arg(pages);
        b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Repetitions(5);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
