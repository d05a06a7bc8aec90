// The quick number conversions against the general ones over 100 million random inputs per
// direction (or the count given): every difference is printed, and the exit status is 1 if
// there was one.
// Usage: bench_numbers [inputs per direction] [seed]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "NumberComparison.h"

int main(int argc, char** argv)
{
    using namespace uzuviv::numbercheck;
    const std::uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100'000'000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261208;
    if (count == 0) {
        std::fprintf(stderr, "usage: bench_numbers [inputs per direction] [seed]\n");
        return 2;
    }
    std::uint64_t differences = 0;
    const auto run = [&](const char* direction, Tally (*compare)(std::uint64_t, std::uint64_t)) {
        const auto start = std::chrono::steady_clock::now();
        const Tally tally = compare(seed, count);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fputs(Describe(tally, direction).c_str(), stdout);
        std::printf("  (%.1f s)\n", seconds);
        std::fflush(stdout);
        differences += tally.DifferenceCount;
    };
    std::printf("seed %llu\n", static_cast<unsigned long long>(seed));
    run("reading", CompareReading);
    run("writing", CompareWriting);
    std::printf("%s\n", differences == 0 ? "no difference" : "DIFFERENCES FOUND");
    return differences == 0 ? 0 : 1;
}
