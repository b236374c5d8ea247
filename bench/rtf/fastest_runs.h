#pragma once
#include <benchmark/benchmark.h>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// Keeps the fastest processor time of each benchmark's repetitions (a busy machine only ever
// adds time), so a benchmark can print its ratios after Google Benchmark's own table.
class FastestRuns : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const std::string key = run.run_name.function_name + "/" + run.run_name.args;
            const double time = run.GetAdjustedCPUTime();
            if (!times_.count(key) || time < times_[key])
                times_[key] = time;
            noteRun(key, run);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The fastest time of `name` at argument `arg`; 0 when it did not run.
    double time(const std::string &name, int arg) const
    {
        const auto found = times_.find(name + "/" + std::to_string(arg));
        return found == times_.end() ? 0.0 : found->second;
    }

protected:
    virtual void noteRun(const std::string &, const Run &) {}

private:
    std::map<std::string, double> times_;
};

using BenchmarkFunction = void (*)(benchmark::State &);
struct NamedBenchmark
{
    const char *name;
    BenchmarkFunction function;
};

// Registers each benchmark at every size, timed in processor time and repeated.
template <std::size_t N>
void registerAtSizes(std::initializer_list<NamedBenchmark> benchmarks, const int (&sizes)[N], int repetitions)
{
    for (const NamedBenchmark &named : benchmarks) {
        auto *b = benchmark::RegisterBenchmark(named.name, named.function);
        for (int size : sizes)
            b->Arg(size);
        b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Repetitions(repetitions);
    }
}
