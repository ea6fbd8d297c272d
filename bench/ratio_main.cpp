// Runs every benchmark, then prints each one's time as a ratio to the baseline of its group,
// measured in the same run. A benchmark named "group/baseline…" is the baseline of every
// benchmark named "group/…". With --benchmark_repetitions the fastest repetition of each
// counts: on a shared machine noise only ever adds time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const double time = run.GetAdjustedRealTime();
            const auto [it, added] = fastest_.try_emplace(run.run_name.str(), time);
            if (!added) it->second = std::min(it->second, time);
        }
    }

    void PrintRatios() const {
        std::map<std::string, double> baselines;
        for (const auto& [name, time] : fastest_) {
            const auto slash = name.find('/');
            if (name.substr(slash + 1, 8) == "baseline") baselines[name.substr(0, slash)] = time;
        }
        std::printf("\nRatios to the baseline of the same run (lower is faster):\n");
        for (const auto& [name, time] : fastest_) {
            const auto slash = name.find('/');
            const auto baseline = baselines.find(name.substr(0, slash));
            if (baseline == baselines.end() || name.substr(slash + 1, 8) == "baseline") continue;
            std::printf("  %-50s %6.2fx\n", name.c_str(), time / baseline->second);
        }
    }

  private:
    std::map<std::string, double> fastest_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
