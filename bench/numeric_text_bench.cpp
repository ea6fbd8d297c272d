// NumberToText beside std::to_chars with 17 significant digits, and TextToNumber beside
// std::from_chars, on the same inputs.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gcode/numeric_text.h"

namespace {

std::vector<double> RandomDoubles() {
    std::mt19937_64 random(42);
    std::vector<double> values;
    while (values.size() < 4096) {
        const std::uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
    }
    return values;
}

// What the generator converts: whole millimetres and a float step times the pass number.
std::vector<double> GeneratorValues() {
    std::vector<double> values;
    const float steps[] = {0.5f, 0.1f, 0.2f, 0.3f, 0.173f, 1.5f};
    for (int i = 1; values.size() < 4096; ++i) {
        values.push_back(static_cast<double>(i % 400));
        values.push_back(static_cast<double>(steps[i % 6]) * (i % 1000 + 1));
    }
    return values;
}

const std::vector<double> kRandom = RandomDoubles();
const std::vector<double> kGenerator = GeneratorValues();

void NumberToTextOn(benchmark::State& state, const std::vector<double>& values) {
    char buffer[gcode::kNumberTextRoom];
    for (auto _ : state) {
        for (const double v : values) {
            benchmark::DoNotOptimize(gcode::WriteNumberText(v, buffer));
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

void ToCharsOn(benchmark::State& state, const std::vector<double>& values) {
    char buffer[32];
    for (auto _ : state) {
        for (const double v : values) {
            benchmark::DoNotOptimize(std::to_chars(buffer, buffer + sizeof buffer, v,
                                                   std::chars_format::scientific, 16));
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

BENCHMARK_CAPTURE(ToCharsOn, to_chars, kRandom)->Name("RandomDoubles/baseline_to_chars");
BENCHMARK_CAPTURE(NumberToTextOn, ours, kRandom)->Name("RandomDoubles/NumberToText");
BENCHMARK_CAPTURE(ToCharsOn, to_chars, kGenerator)->Name("GeneratorValues/baseline_to_chars");
BENCHMARK_CAPTURE(NumberToTextOn, ours, kGenerator)->Name("GeneratorValues/NumberToText");

const std::vector<std::string> kTyped = {
    "100", "0.5",   "12.75", "60",
    "2",   "0.173", "3.175", "\xA3\xB1\xA3\xB0\xA3\xB0"};  // full-width 100
// from_chars reads no full-width digits; it is given their ASCII form.
const std::vector<std::string> kTypedAscii = {"100", "0.5",   "12.75", "60",
                                              "2",   "0.173", "3.175", "100"};

void TextToNumber(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& text : kTyped) benchmark::DoNotOptimize(gcode::TextToNumber(text));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kTyped.size()));
}

void FromChars(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& text : kTypedAscii) {
            double v;
            benchmark::DoNotOptimize(std::from_chars(text.data(), text.data() + text.size(), v));
            benchmark::DoNotOptimize(v);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kTypedAscii.size()));
}

BENCHMARK(FromChars)->Name("TypedInputs/baseline_from_chars");
BENCHMARK(TextToNumber)->Name("TypedInputs/TextToNumber");

}  // namespace
