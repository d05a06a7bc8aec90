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
    // log10(2) ~ 1233 / 4096 gives the count or one less; value | 1 has as many digits.
    value |= 1;
    const int estimate = (std::bit_width(value) * 1233) >> 12;
    return estimate + (value >= PowersOfTen[static_cast<std::size_t>(estimate)]);
}

// The eight decimal digits of a value below 10^8 (leading zeros included) as the bytes 0 to 9
// of one word, the first digit in the lowest byte, so that storing the word writes them in
// order. No branch and no division: the digit pairs and digits are split in all lanes at once
// by multiplications that stand for exact divisions by 100 and 10 in these ranges.
inline std::uint64_t EightDigits(std::uint32_t value)
{
    const std::uint64_t fours = (value / 10000) | (std::uint64_t{value % 10000} << 32);
    const std::uint64_t hundreds = ((fours * 10486) >> 20) & 0x0000007F0000007Fu;
    const std::uint64_t pairs = hundreds | ((fours - hundreds * 100) << 16);
    const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Fu;
    return tens | ((pairs - tens * 10) << 8);
}

inline constexpr std::uint64_t AsciiZeros = 0x3030303030303030u;

// The last `count` (1 to 8) digits of a value below 10^8 at `out`, which has eight bytes of
// room; returns the end.
inline char* PutLastDigits(char* out, std::uint32_t value, int count)
{
    const std::uint64_t text = (EightDigits(value) | AsciiZeros) >> (8 * (8 - count));
    std::memcpy(out, &text, sizeof text);
    return out + count;
}

// A whole number in as many digits as it has; returns the end. Needs 20 bytes of room.
inline char* PutDigits(char* out, std::uint64_t value)
{
    const int count = DigitCount(value);
    if (value < 100000000)
        return PutLastDigits(out, static_cast<std::uint32_t>(value), count);
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
