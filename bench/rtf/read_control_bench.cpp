// What following a read costs: the reader with a progress callback and a cancel flag against the
// same reader without, on the generated documents, in the same run. Fastest of the repetitions in
// process CPU time; the ratio is printed at the end (goal: within 1 %).
#include "bench_documents.h"
#include "rtf/rtf.h"
#include <QGuiApplication>
#include <QTextDocument>
#include <atomic>
#include "bench/rtf/fastest_runs.h"
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

class RatioReporter : public FastestRuns
{
public:
    void printRatios()
    {
        std::printf("\n%-8s %18s %8s\n", "pages", "followed/unfollowed", "goal");
        for (int pages : sizes) {
            const double followed = time("read_followed", pages);
            const double unfollowed = time("read_unfollowed", pages);
            std::printf("%-8d %18.3f %8s\n", pages, unfollowed > 0 ? followed / unfollowed : 0.0, "<= 1.01");
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerAtSizes({{"read_unfollowed", readUnfollowed}, {"read_followed", readFollowed}}, sizes, 5);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
