// Check Project on large projects: the guided-tour project of the other benchmarks (dense walks
// around 14 towns, tolerances up to 1000 m, so many zones overlap), points spread over a
// country, and points spread over the whole globe (poles and antimeridian included).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "BenchSupport.h"
#include "Generator.h"
#include "editing/ProjectCheck.h"

namespace uzuviv::bench {
namespace {

// SplitMix64, as the generator uses, so the projects are the same on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    double Uniform(double low, double high)
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return low + (high - low) * static_cast<double>(z >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t state_;
};

enum class Spread { Country, Globe };

// `count` points with tolerances of 0 to 100 m and a file each (from 1 to 999, then again).
TProjectType SpreadProject(std::size_t count, Spread spread)
{
    Random random(DefaultSeed);
    TProjectType project;
    project.Records.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        TGPSRecord& record = project.Records[i];
        if (spread == Spread::Country) {
            record.Latitude = random.Uniform(42.5, 51);
            record.Longitude = random.Uniform(-4.5, 8);
        } else {
            // Uniform over the sphere.
            record.Latitude = std::asin(random.Uniform(-1, 1)) * 180 / std::numbers::pi;
            record.Longitude = random.Uniform(-180, 180);
        }
        record.Tolerance = static_cast<std::uint16_t>(random.Uniform(0, 101));
        record.FileRef = static_cast<std::uint16_t>(i % 999 + 1);
    }
    return project;
}

void RunCheck(benchmark::State& state, const TProjectType& project)
{
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto found = CheckProject(project);
        findings = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["points"] = static_cast<double>(project.Records.size());
    state.counters["findings"] = static_cast<double>(findings);
}

void CheckTours(benchmark::State& state)
{
    RunCheck(state, CachedProject(static_cast<std::size_t>(state.range(0))));
}

void CheckCountry(benchmark::State& state)
{
    RunCheck(state, SpreadProject(static_cast<std::size_t>(state.range(0)), Spread::Country));
}

void CheckGlobe(benchmark::State& state)
{
    RunCheck(state, SpreadProject(static_cast<std::size_t>(state.range(0)), Spread::Globe));
}

} // namespace

BENCHMARK(CheckTours)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckCountry)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckGlobe)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

} // namespace uzuviv::bench

BENCHMARK_MAIN();
