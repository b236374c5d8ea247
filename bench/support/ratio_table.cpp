#include "support/ratio_table.h"
#include <cmath>
#include <cstdio>

namespace velmobench {
namespace {

// "format/Bold/repeats:5_median" -> "format/Bold"; counters keep their own name.
std::string familyOf(const benchmark::BenchmarkReporter::Run &run) { return run.run_name.function_name; }

} // namespace

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median)
            continue;
        auto &into = median ? medians_ : singles_;
        const std::string name = familyOf(run);
        into[name] = run.GetAdjustedRealTime();
        into[name + ":cpu_time"] = run.GetAdjustedCPUTime();
        for (const auto &[counter, value] : run.counters)
            into[name + ":" + counter] = value.value;
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::lookup(const std::string &key) const
{
    if (const auto m = medians_.find(key); m != medians_.end())
        return m->second;
    if (const auto s = singles_.find(key); s != singles_.end())
        return s->second;
    return NAN;
}

void RatioReporter::printTable(const std::vector<RatioRow> &rows) const
{
    std::printf("\n%-34s %12s %12s %8s %8s\n", "figure (median)", "ms", "floor ms", "ratio", "goal");
    for (const RatioRow &row : rows) {
        const double figure = lookup(row.figure), floor = lookup(row.floor);
        if (std::isnan(figure))
            continue;
        if (row.goal <= 0) {
            std::printf("%-34s %12.1f %12.1f %8s %6.0fms %s\n", row.label.c_str(), figure, floor, "-", row.absoluteGoalMs,
                        figure <= row.absoluteGoalMs ? "" : "MISSED");
            continue;
        }
        const double ratio = figure / floor;
        std::printf("%-34s %12.1f %12.1f %8.2f %8.2f %s\n", row.label.c_str(), figure, floor, ratio, row.goal,
                    ratio <= row.goal ? "" : "MISSED");
    }
}

} // namespace velmobench
