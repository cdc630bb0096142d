// CalculateEstimate for every model and mode, against the same three formulas
// evaluated with std::pow directly, in the same binary and run.
#include "engine/Estimate.h"
#include "engine/Module1.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

void Configure(benchmark::State &state) {
    Module1::Model = static_cast<std::int16_t>(state.range(0));
    Module1::Mode = static_cast<std::int16_t>(state.range(1));
    Module1::EAF = 1.17;
}

void BM_CalculateEstimate(benchmark::State &state) {
    Configure(state);
    const std::string text = " 32000";
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine::CalculateEstimate(text));
        benchmark::DoNotOptimize(Module1::AvgStaffing);
    }
}

void BM_BareFormula(benchmark::State &state) {
    Configure(state);
    const engine::Coefficients &k =
        engine::CoefficientTable[static_cast<std::size_t>(state.range(0) - 1)]
                                [static_cast<std::size_t>(state.range(1) - 1)];
    double lines = 32000.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lines);
        const double kloc = lines / 1000.0;
        double effort = std::pow(kloc, k.b) * k.a;
        if (k.appliesEAF) {
            effort *= Module1::EAF;
        }
        const double tdev = std::pow(effort, k.d) * k.c;
        const double staffing = effort / tdev;
        benchmark::DoNotOptimize(staffing);
    }
}

void ModelsAndModes(benchmark::internal::Benchmark *b) {
    b->ArgNames({"model", "mode"});
    for (int model = 1; model <= 3; ++model) {
        for (int mode = 1; mode <= 3; ++mode) {
            b->Args({model, mode});
        }
    }
}

} // namespace

BENCHMARK(BM_CalculateEstimate)->Apply(ModelsAndModes);
BENCHMARK(BM_BareFormula)->Apply(ModelsAndModes);

BENCHMARK_MAIN();
