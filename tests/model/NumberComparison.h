#pragma once

// The quick number conversions against the general ones, value by value, over seeded random
// inputs of every kind: a short run is a test, a long one (100 million values per direction)
// runs with the benchmarks.
#include <cstdint>
#include <string>
#include <vector>

namespace uzuviv::numbercheck {

struct Difference {
    std::string Conversion;   // "read", "%.6f", "%.2f", "general"
    std::string Input;        // the text, or the value's bits in hexadecimal
    std::string Quick;        // what the program gives
    std::string Exact;        // what the general conversion gives
};

struct Kind {
    std::string Name;
    std::uint64_t Compared = 0;   // inputs of this kind
    std::uint64_t Quick = 0;      // conversions that took a quick path
};

struct Tally {
    std::vector<Kind> Kinds;
    std::uint64_t Compared = 0;       // inputs
    std::uint64_t Conversions = 0;    // conversions compared (several per value when writing)
    std::uint64_t Quick = 0;
    std::uint64_t DifferenceCount = 0;
    std::vector<Difference> Differences;   // the first few
};

// Texts of every shape read by ParseDecimal and by ParseDecimalExactly: the same value to the
// last bit and the sign of zero, or the same refusal.
Tally CompareReading(std::uint64_t seed, std::uint64_t count);

// Values of every magnitude written by FixedText (six and two decimals) and CoordinateText,
// against FixedTextExactly and CoordinateTextExactly: the same text.
Tally CompareWriting(std::uint64_t seed, std::uint64_t count);

// One line per kind and a total, for a report.
std::string Describe(const Tally& tally, const char* direction);

} // namespace uzuviv::numbercheck
