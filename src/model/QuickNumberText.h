#pragma once

// Quick conversions for the numbers the files are full of. Each one either gives exactly what
// the general conversion gives (ParseDecimalExactly, FixedTextExactly, the expansion behind
// CoordinateText) or declines and leaves the value to it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/NumberText.h"

namespace uzuviv {

// An optional "-", then at most 19 digits with at most one "." among them, and nothing else:
// the significand and the power of ten are exact, so one division rounds correctly.
bool QuickParseDecimal(std::string_view text, Extended& value);

// Room that QuickFixedText may use.
inline constexpr std::size_t QuickFixedTextRoom = 40;

// The six-decimal (or two-decimal) text of a value whose 18-digit expansion ends below the
// last decimal but one (below 2^33, resp. 2^46), or nullptr. Computed from the exact binary
// value in 128-bit integers; declines when the value lies so close to halfway between two
// last decimals that the 18-digit rounding could decide the side.
char* QuickFixedText(char* out, Extended value, int decimals);

// The 15-significant-digit rounding of the value's 18-digit expansion, for magnitudes from
// 10^-5 to below 10^15, or false: |value| ~ digits * 10^(exponent - 14), with
// 10^14 <= digits < 10^15. Same method and the same refusal near halves as above.
bool QuickFifteenDigits(Extended value, std::uint64_t& digits, int& exponent);

} // namespace uzuviv
