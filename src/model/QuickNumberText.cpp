#include "model/QuickNumberText.h"

#include <array>
#include <cstdint>

#include "model/DecimalDigits.h"

namespace uzuviv {

using namespace digits;

namespace {

constexpr std::uint64_t TopBit = std::uint64_t{1} << 63;

// HalfBand[j] >= 2^64 * 10^-j / 2: how far from one half (in 2^-64 units) the fraction of
// value * 10^decimals must lie so that moving the value by half a step of 10^-j decimals
// cannot carry it across the half. 10^-j is the 18-digit rounding's step over the last
// decimal's.
constexpr std::array<std::uint64_t, 21> MakeHalfBands()
{
    std::array<std::uint64_t, 21> bands{};
    for (std::size_t j = 0; j < bands.size(); ++j)
        bands[j] = j < 20 ? (TopBit + PowersOfTen[j] - 1) / PowersOfTen[j] : 1;
    return bands;
}

constexpr std::array<std::uint64_t, 21> HalfBands = MakeHalfBands();

// What to add to the whole part: 0 or 1, or -1 when the rounding is undecided.
constexpr int Undecided = -1;

// |value| * 10^scale = whole + rest / 2^shift exactly, with 0 < shift < 128. Rounds the
// result half up unless the rest lies within HalfBands[band] of one half; an exact half is
// always up, since a tie has few enough digits to be its own 18-digit expansion. Without
// branches on the side taken, which the data decides.
int RoundScaled(UInt128 rest, int shift, std::size_t band)
{
    const UInt128 half = UInt128{1} << (shift - 1);
    // The fraction's first 64 bits, truncated.
    const std::uint64_t top = shift >= 64 ? static_cast<std::uint64_t>(rest >> (shift - 64))
                                          : static_cast<std::uint64_t>(rest) << (64 - shift);
    const bool up = top >= TopBit;
    const std::uint64_t distance = up ? top - TopBit : TopBit - top;
    // The truncation hides less than one unit.
    const bool near = distance <= HalfBands[band < HalfBands.size() ? band : HalfBands.size() - 1] + 1;
    if (near && rest != half)
        return Undecided;
    return up || rest == half;
}

template <int Decimals>
char* QuickFixed(char* out, Extended value)
{
    if constexpr (!NativeExtended)
        return nullptr;
    const BinaryParts parts = ReadBinary(value);
    std::uint64_t rounded = 0;   // |value| * 10^Decimals, rounded
    if (parts.Biased != 0) {     // zero and subnormals stay 0
        if (parts.Biased == 0x7FFF || (parts.Mantissa & TopBit) == 0)
            return nullptr;
        // The 18-digit rounding's step is 10^(E - 17) for 10^E <= |value|: in last decimals,
        // 10^(E - 17 + Decimals), which must lie below one.
        const int stepPower = DecimalExponentAtMost(parts.Exponent) - 17 + Decimals;
        if (stepPower >= 0)
            return nullptr;
        const int shift = 64 - parts.Exponent;
        // Beyond 128 the value is below 2^-64 and rounds to 0.
        if (shift < 128) {
            const UInt128 scaled = UInt128{parts.Mantissa} * PowersOfTen[Decimals];
            const UInt128 rest = scaled & ((UInt128{1} << shift) - 1);
            const int increment = RoundScaled(rest, shift, static_cast<std::size_t>(-stepPower));
            if (increment == Undecided)
                return nullptr;
            rounded = static_cast<std::uint64_t>(scaled >> shift) + static_cast<std::uint64_t>(increment);
        }
    }
    // No "-0.000000": the sign only goes with a digit that is not zero.
    *out = '-';
    out += parts.Negative && rounded != 0;
    constexpr std::uint64_t scale = PowersOfTen[Decimals];
    out = PutDigits(out, rounded / scale);
    if constexpr (Decimals > 0) {
        *out++ = '.';
        out = PutLastDigits(out, static_cast<std::uint32_t>(rounded % scale), Decimals);
    }
    return out;
}

} // namespace

bool QuickParseDecimal(std::string_view text, Extended& value)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (p != end && *p == '-') {
        negative = true;
        ++p;
    }
    // More than 19 digits wrap around, and are refused below.
    std::uint64_t significand = 0;
    const auto takeDigits = [&p, end, &significand] {
        const char* const start = p;
        for (unsigned digit; p != end && (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) < 10; ++p)
            significand = significand * 10 + digit;
        return p - start;
    };
    const std::ptrdiff_t whole = takeDigits();
    std::ptrdiff_t fraction = 0;
    if (p != end && *p == '.') {
        ++p;
        fraction = takeDigits();
    }
    if (p != end || whole + fraction == 0 || whole + fraction > 19)
        return false;
    // The sign goes in before the division, so that the rounding is the same in every mode.
    const Extended magnitude = static_cast<Extended>(significand);
    const Extended signedValue = negative ? -magnitude : magnitude;
    value = fraction == 0 ? signedValue : signedValue / ExtendedPowersOfTen[static_cast<std::size_t>(fraction)];
    return true;
}

char* QuickFixedText(char* out, Extended value, int decimals)
{
    switch (decimals) {
    case 6:
        return QuickFixed<6>(out, value);
    case 2:
        return QuickFixed<2>(out, value);
    default:
        return nullptr;
    }
}

bool QuickFifteenDigits(Extended value, std::uint64_t& digits, int& exponent)
{
    if constexpr (!NativeExtended)
        return false;
    const BinaryParts parts = ReadBinary(value);
    if (parts.Biased == 0 || parts.Biased == 0x7FFF || (parts.Mantissa & TopBit) == 0)
        return false;
    const int shift = 64 - parts.Exponent;
    if (shift <= 0 || shift >= 128)
        return false;
    // The scale with 10^14 <= |value| * 10^scale < 10^15. From 2^(Exponent-1) <= |value|
    // < 2^Exponent, the first digit stands at 10^E with E = floor((Exponent - 1) log10(2)) or
    // one more: try the one more first.
    const int lowest = ((parts.Exponent - 1) * 78913) >> 18;
    int scale = 13 - lowest;
    const auto scaleBy = [&parts, shift](int by, UInt128& scaled) {
        scaled = UInt128{parts.Mantissa} * PowersOfTen[static_cast<std::size_t>(by)];
        return static_cast<std::uint64_t>(scaled >> shift);
    };
    if (scale < 0 || scale > 18)
        return false;
    UInt128 scaled = 0;
    std::uint64_t whole = scaleBy(scale, scaled);
    if (whole < PowersOfTen[14])
        whole = scaleBy(++scale, scaled);
    // The estimate of E is exact for the exponents here; the check keeps any other out.
    if (whole < PowersOfTen[14] || whole >= PowersOfTen[15])
        return false;
    // The 18-digit rounding's step is a thousandth of the last of 15 digits.
    const int increment = RoundScaled(scaled & ((UInt128{1} << shift) - 1), shift, 3);
    if (increment == Undecided)
        return false;
    whole += static_cast<std::uint64_t>(increment);
    exponent = 14 - scale;
    if (whole == PowersOfTen[15]) {
        whole = PowersOfTen[14];
        ++exponent;
    }
    digits = whole;
    return true;
}

} // namespace uzuviv
