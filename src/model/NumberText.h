#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/ProjectClasses.h"

namespace uzuviv {

// A text that is not a number. what() is the runtime's French message, without the full
// stop that the error box adds.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Blanks, an optional sign, digits with "." as the decimal separator, an optional exponent,
// blanks. "5.", ".5" and "." convert; "", "+", "1.2.3" throw ConversionError.
Extended ParseDecimal(std::string_view text);

// The same conversion by strtold for every number, without the quicker ways to the same
// result: what the quick ways are checked against.
Extended ParseDecimalExactly(std::string_view text);

// Leading blanks, an optional sign, decimal digits or "$"/"x"/"X"/"0x"/"0X" hexadecimal,
// nothing after; the value must fit 32 bits signed. Throws ConversionError.
std::int32_t ParseInteger(std::string_view text);

// The value with exactly `decimals` decimals, "." as separator: its 18-significant-digit
// decimal expansion rounded half away from zero. Never "-0...".
std::string FixedText(Extended value, int decimals);

// A whole number with at least `minDigits` digits, zero-padded ("%.3d": 7 -> "007").
std::string PaddedInteger(std::int64_t value, int minDigits);

// The same texts appended to `text`, for writers that build a line in one reused buffer.
void AppendFixedText(std::string& text, Extended value, int decimals);
void AppendPaddedInteger(std::string& text, std::int64_t value, int minDigits);

// FixedText from the value's decimal expansion for every value, without the quicker ways.
std::string FixedTextExactly(Extended value, int decimals);

// The same texts written at `out`, which must have the room given, for writers that fill an
// output buffer directly; each returns the end of what it wrote.
constexpr std::size_t FixedTextRoom(int decimals)
{
    // The sign, the 4933 whole digits of the largest value, the point and the decimals.
    return 4940 + static_cast<std::size_t>(decimals > 0 ? decimals : 0);
}
char* PutFixedText(char* out, Extended value, int decimals);
constexpr std::size_t PaddedIntegerRoom(int minDigits)
{
    return 1 + static_cast<std::size_t>(minDigits > 20 ? minDigits : 20);
}
char* PutPaddedInteger(char* out, std::int64_t value, int minDigits);

// A finite value's decimal expansion: the sign and the significant digits (no trailing zeros;
// none for zero), Digits[0] standing at 10^Exponent.
struct DecimalExpansion {
    std::array<char, 18> Digits{};
    int Count = 0;
    int Exponent = 0;
    bool Negative = false;
};

// The correctly rounded 18-significant-digit expansion of a finite value.
DecimalExpansion ExpandDecimal(Extended value);

// Rounds half away from zero so that no digit below 10^lowestPower remains.
void RoundExpansion(DecimalExpansion& expansion, int lowestPower);

// The text of a value that has no digits: "NAN", "INF" or "-INF".
std::string NonFiniteText(Extended value);

} // namespace uzuviv
