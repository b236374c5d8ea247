#pragma once
#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace velmobench {

// One line of the closing table: a figure beside its floor, both medians of the same run.
struct RatioRow
{
    std::string label;
    std::string figure;      // benchmark name, or "name:counter"
    std::string floor;       // the same, for the floor
    double goal;             // the ratio asked for; 0 when the goal is an absolute time
    double absoluteGoalMs = 0;
};

// The console report, then a table of medians and ratios. Times are in milliseconds; a benchmark's
// own time is its "name", its processor time "name:cpu_time", a counter is "name:counter".
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    void printTable(const std::vector<RatioRow> &rows) const;

private:
    double lookup(const std::string &key) const;
    // Medians when there are repetitions, else the single run.
    std::map<std::string, double> medians_, singles_;
};

} // namespace velmobench
