#pragma once

// Building blocks of the number texts: powers of ten, digit writing, and the parts of an
// 80-bit extended value. Internal to model/.
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "model/ProjectClasses.h"

namespace uzuviv::digits {

__extension__ typedef unsigned __int128 UInt128;

constexpr std::array<std::uint64_t, 20> MakePowersOfTen()
{
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}

inline constexpr std::array<std::uint64_t, 20> PowersOfTen = MakePowersOfTen();

inline constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// 10^0 .. 10^27 as extended values: 5^27 < 2^64, so every one is exact in the 64-bit mantissa.
inline constexpr int MaxExactPower = 27;

constexpr std::array<Extended, MaxExactPower + 1> MakeExtendedPowersOfTen()
{
    std::array<Extended, MaxExactPower + 1> powers{};
    Extended power = 1;
    for (Extended& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}

inline constexpr std::array<Extended, MaxExactPower + 1> ExtendedPowersOfTen = MakeExtendedPowersOfTen();

// Writes the last `count` decimal digits of value so that they end just before `end`.
inline void WriteDigits(char* end, std::uint64_t value, int count)
{
    for (; count >= 2; count -= 2) {
        end -= 2;
        std::memcpy(end, DigitPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    if (count > 0)
        *--end = static_cast<char>('0' + value % 10);
}

inline int DigitCount(std::uint64_t value)
{
    int count = 1;
    while (count < 20 && value >= PowersOfTen[static_cast<std::size_t>(count)])
        ++count;
    return count;
}

// A whole number in as many digits as it has; returns the end.
inline char* PutDigits(char* out, std::uint64_t value)
{
    const int count = DigitCount(value);
    WriteDigits(out + count, value, count);
    return out + count;
}

// The fields of an extended value as the x87 stores them: |value| = Mantissa * 2^(Exponent - 64).
// A normal number has the top bit of Mantissa set; Biased is 0 for zero and subnormals and
// 0x7FFF for infinities and NaNs.
struct BinaryParts {
    std::uint64_t Mantissa = 0;
    int Biased = 0;
    int Exponent = 0;
    bool Negative = false;
};

inline constexpr bool NativeExtended = std::numeric_limits<Extended>::digits == 64
    && sizeof(Extended) >= 10 && std::endian::native == std::endian::little;

// Only meaningful where NativeExtended holds; callers check it.
inline BinaryParts ReadBinary(Extended value)
{
    unsigned char bytes[sizeof(Extended)];
    std::memcpy(bytes, &value, sizeof bytes);
    BinaryParts parts;
    std::memcpy(&parts.Mantissa, bytes, sizeof parts.Mantissa);
    const int top = (bytes[9] << 8) | bytes[8];
    parts.Negative = (top & 0x8000) != 0;
    parts.Biased = top & 0x7FFF;
    parts.Exponent = parts.Biased - 16382;
    return parts;
}

// At least floor(log10(2^exponent)) and at most two more, for |exponent| below 2^14:
// 78913 / 2^18 lies just below log10(2).
constexpr int DecimalExponentAtMost(int binaryExponent)
{
    return ((binaryExponent * 78913) >> 18) + 1;
}

} // namespace uzuviv::digits
