// Reading long tables: the time per row must not grow with the table. The
// floor, measured in the same run, reads the same cells' text as plain
// paragraphs; the growth of each from 1k to 10k to 100k rows is printed at the end.
#include "rtf/rtf.h"
#include <QGuiApplication>
#include <QTextDocument>
#include "bench/rtf/fastest_runs.h"
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int sizes[] = {1000, 10000, 100000};

QByteArray repeated(const QByteArray &unit, int count)
{
    QByteArray out = "{\\rtf1\\ansi ";
    out.reserve(unit.size() * count + 16);
    for (int i = 0; i < count; ++i)
        out += unit;
    out += "\\pard after}";
    return out;
}

const QByteArray &tableRows(int rows)
{
    static std::map<int, QByteArray> cache;
    QByteArray &rtf = cache[rows];
    if (rtf.isEmpty())
        rtf = repeated("\\trowd\\cellx1000\\cellx2000 \\intbl a\\cell b\\cell\\row\n", rows);
    return rtf;
}

const QByteArray &plainParagraphs(int rows)
{
    static std::map<int, QByteArray> cache;
    QByteArray &rtf = cache[rows];
    if (rtf.isEmpty())
        rtf = repeated("\\pard a\\par b\\par\n", rows);
    return rtf;
}

void read(benchmark::State &state, const QByteArray &rtf)
{
    for (auto _ : state) {
        QTextDocument document;
        benchmark::DoNotOptimize(rtf::read(rtf, document));
    }
}

void readTable(benchmark::State &state) { read(state, tableRows(int(state.range(0)))); }
void readParagraphs(benchmark::State &state) { read(state, plainParagraphs(int(state.range(0)))); }

class GrowthReporter : public FastestRuns
{
public:
    void printGrowth() const
    {
        const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
        std::printf("\n%-18s %12s %12s %14s\n", "rows", "table", "paragraphs", "table/floor");
        for (int rows : sizes)
            std::printf("%-18d %10.1fms %10.1fms %14.2f\n", rows, time("read_table", rows),
                        time("read_paragraphs", rows),
                        ratio(time("read_table", rows), time("read_paragraphs", rows)));
        std::printf("\ngrowth per 10x rows (linear: about 10, as the floor's)\n");
        for (int i = 1; i < int(std::size(sizes)); ++i)
            std::printf("%6d -> %-8d table %6.2f   floor %6.2f\n", sizes[i - 1], sizes[i],
                        ratio(time("read_table", sizes[i]), time("read_table", sizes[i - 1])),
                        ratio(time("read_paragraphs", sizes[i]), time("read_paragraphs", sizes[i - 1])));
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerAtSizes({{"read_table", readTable}, {"read_paragraphs", readParagraphs}}, sizes, 3);
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printGrowth();
}
