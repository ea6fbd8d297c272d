// The largest program the generator builds (10,000 passes with corner arcs) beside a memcpy of
// as many bytes, and half as many passes beside it to show that the time grows linearly.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "gcode/contour_generator.h"

namespace {

gcode::ContourParameters Passes(int passes) {
    // Step 0.5: the depth is half the pass count.
    return {"100", "60", std::to_string(passes / 2), "0.5", "6", "10"};
}

void Generate(benchmark::State& state, int passes) {
    const auto parameters = Passes(passes);
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto outcome = gcode::GenerateContourProgram(parameters);
        bytes = std::get<gcode::ContourProgram>(outcome).text.size();
        benchmark::DoNotOptimize(outcome);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void CopySameBytes(benchmark::State& state) {
    const auto outcome = gcode::GenerateContourProgram(Passes(10'000));
    const std::string& program = std::get<gcode::ContourProgram>(outcome).text;
    std::vector<char> copy(program.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), program.data(), program.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(program.size()));
}

BENCHMARK(CopySameBytes)->Name("Program10000/baseline_memcpy");
BENCHMARK_CAPTURE(Generate, passes, 10'000)->Name("Program10000/GenerateContourProgram");
BENCHMARK_CAPTURE(Generate, passes, 5'000)->Name("Linearity/baseline_5000_passes");
BENCHMARK_CAPTURE(Generate, passes, 10'000)->Name("Linearity/10000_passes");

}  // namespace
