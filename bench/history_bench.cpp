// A history of finished projects read from CSV text, checked against both models and
// calibrated with leave-one-out, for a table of 10,000 and of 100,000 projects.
#include "cli/History.h"
#include "engine/History.h"
#include "engine/Names.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// A table as a team's might be: three modes, sizes from 2 to 400 KLOC, efforts scattered
// around the Intermediate estimate, six drivers rated by word or by number.
std::string Table(std::size_t projects) {
    std::mt19937 random(1981);
    std::uniform_int_distribution<int> mode(0, 2);
    std::uniform_real_distribution<double> size(0.7, 6.0); // ln KLOC
    std::lognormal_distribution<double> scatter(0.0, 0.4);
    std::uniform_int_distribution<int> step(1, 3);
    const std::array<const char *, 3> modes{"organic", "semidetached", "embedded"};
    const std::array<const char *, 5> steps{"VL", "L", "N", "H", "VH"};
    std::string table = "project,dev_mode,kloc,actual,rely,cplx,acap,pcap,tool,sced\n";
    for (std::size_t i = 0; i < projects; ++i) {
        const int m = mode(random);
        const double kloc = std::exp(size(random));
        const double actual = 3.0 * std::pow(kloc, 1.05 + 0.07 * m) * scatter(random);
        table += "p" + std::to_string(i) + "," + modes[static_cast<std::size_t>(m)] + "," +
                 std::to_string(kloc) + "," + std::to_string(actual);
        for (int d = 0; d < 5; ++d) {
            table += std::string(",") + steps[static_cast<std::size_t>(step(random))];
        }
        table += "," + std::to_string(0.95 + 0.05 * step(random)) + "\n";
    }
    return table;
}

std::vector<engine::history::Project> Read(std::string &table) {
    std::FILE *file = fmemopen(table.data(), table.size(), "r");
    std::vector<engine::history::Project> projects = cli::ReadHistory(file, "'bench.csv'");
    std::fclose(file);
    return projects;
}

void BM_ReadHistory(benchmark::State &state) {
    std::string table = Table(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Read(table));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * table.size()));
}

void BM_CheckBothModels(benchmark::State &state) {
    std::string table = Table(static_cast<std::size_t>(state.range(0)));
    const std::vector<engine::history::Project> projects = Read(table);
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine::history::CheckHistory(projects, Models::Basic));
        benchmark::DoNotOptimize(engine::history::CheckHistory(projects, Models::Intermediate));
    }
}

void BM_CalibrateBothLeaveOneOut(benchmark::State &state) {
    std::string table = Table(static_cast<std::size_t>(state.range(0)));
    const std::vector<engine::history::Project> projects = Read(table);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            engine::history::Calibrate(projects, Models::Intermediate, engine::history::Fit::Both));
    }
}

// All of it, as the command line does it once: read, check both models, calibrate.
void BM_Everything(benchmark::State &state) {
    std::string table = Table(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const std::vector<engine::history::Project> projects = Read(table);
        benchmark::DoNotOptimize(engine::history::CheckHistory(projects, Models::Basic));
        benchmark::DoNotOptimize(engine::history::CheckHistory(projects, Models::Intermediate));
        benchmark::DoNotOptimize(
            engine::history::Calibrate(projects, Models::Intermediate, engine::history::Fit::Both));
    }
}

} // namespace

BENCHMARK(BM_ReadHistory)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckBothModels)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalibrateBothLeaveOneOut)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Everything)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
