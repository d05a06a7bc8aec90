#include "model/RoundTripText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "model/DecimalDigits.h"
#include "model/NumberText.h"

namespace uzuviv {

namespace {

using digits::ExtendedPowersOfTen;

// Up to 19 digits: the decimal reader converts such a text with one exact division.
constexpr Extended MaxSignificand = 1e19L;

// The integer m with m / 10^decimals == magnitude, when one exists, `scaled` being the product
// magnitude * 10^decimals (rounded once). A text with that many decimals reads back as the
// correctly rounded m / 10^decimals, which is exactly this division of two exact numbers.
bool ScaledExactly(Extended magnitude, Extended scaled, int decimals, std::uint64_t& significand)
{
    const auto whole = static_cast<std::uint64_t>(scaled);
    const Extended fraction = scaled - static_cast<Extended>(whole);
    const std::uint64_t nearest = fraction >= 0.5L ? whole + 1 : whole;
    // Far from a whole number, no integer is near enough: the usual case, without a division.
    if (std::fabs(fraction - static_cast<Extended>(nearest - whole)) > scaled * 0x1p-60L)
        return false;
    const Extended power = ExtendedPowersOfTen[static_cast<std::size_t>(decimals)];
    for (const std::uint64_t candidate : {nearest, nearest - 1, nearest + 1}) {
        if (static_cast<Extended>(candidate) >= MaxSignificand)
            continue;
        if (static_cast<Extended>(candidate) / power == magnitude) {
            significand = candidate;
            return true;
        }
    }
    return false;
}

void AppendScaled(std::string& text, bool negative, std::uint64_t significand, int decimals)
{
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), significand).ptr;
    const auto count = static_cast<int>(end - digits.data());
    if (negative)
        text += '-';
    if (count <= decimals) {
        text += "0.";
        text.append(static_cast<std::size_t>(decimals - count), '0');
        text.append(digits.data(), end);
        return;
    }
    text.append(digits.data(), static_cast<std::size_t>(count - decimals));
    if (decimals > 0) {
        text += '.';
        text.append(end - decimals, end);
    }
}

} // namespace

void AppendRoundTripText(std::string& text, Extended value)
{
    if (!std::isfinite(value)) {
        text += NonFiniteText(value);
        return;
    }
    if (value == 0) {
        text += '0';
        return;
    }
    const bool negative = value < 0;
    const Extended magnitude = std::fabs(value);

    // Coordinates almost always have at most six decimals. Below 2^32 two texts of six decimals
    // are too far apart to read back as the same value, so when one exists, its trailing zeros
    // dropped give the fewest decimals, as the search below would find them, in one step.
    if (magnitude < 0x1p32L) {
        std::uint64_t significand = 0;
        if (ScaledExactly(magnitude, magnitude * ExtendedPowersOfTen[6], 6, significand)) {
            int decimals = 6;
            for (; decimals > 0 && significand % 10 == 0; --decimals)
                significand /= 10;
            AppendScaled(text, negative, significand, decimals);
            return;
        }
    }

    // Otherwise the first number of decimals whose (at most 19-digit) scaled integer is exact
    // is the fewest.
    for (int decimals = 0; decimals <= digits::MaxExactPower; ++decimals) {
        const Extended scaled = magnitude * ExtendedPowersOfTen[static_cast<std::size_t>(decimals)];
        if (scaled >= MaxSignificand)
            break;
        std::uint64_t significand = 0;
        if (ScaledExactly(magnitude, scaled, decimals, significand)) {
            AppendScaled(text, negative, significand, decimals);
            return;
        }
    }

    // Everything else (up to 21 significant digits, or tiny or huge magnitudes): the standard
    // library's shortest fixed notation, which its correctly rounded reader reads back.
    std::array<char, 5000> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    text.append(buffer.data(), result.ptr);
}

std::string RoundTripText(Extended value)
{
    std::string text;
    AppendRoundTripText(text, value);
    return text;
}

} // namespace uzuviv
