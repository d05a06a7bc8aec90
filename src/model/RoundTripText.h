#pragma once

#include <string>

#include "model/ProjectClasses.h"

namespace uzuviv {

// A finite value in plain decimal notation (no exponent) with the fewest digits that
// ParseDecimal reads back to exactly the same value: "48.8566", "-0.00005", "180". Zero, of
// either sign, is "0". A value that is not finite gives NonFiniteText.
std::string RoundTripText(Extended value);
void AppendRoundTripText(std::string& text, Extended value);

} // namespace uzuviv
