#pragma once

#include <string>
#include <string_view>

#include "model/ProjectClasses.h"

namespace uzuviv {

// The map service centred on a point with a marker on it, in the interface language.
std::string GoogleMapsUrl(const TGPSRecord& record, int languageIndex);

// One side of map text (latitude or longitude) reduced to a number text: the character filter
// with every class on, where N, S, E and W (either case) count as a hemisphere only standing
// alone next to the number, blanks and degree or minute marks between; one inside a word,
// such as the "s" of "Paris", goes with the word.
std::string MapCoordinateText(std::string_view side);

std::string HomePageUrl();
// The support mail: subject filled in, empty body, blanks and colon left as they are.
std::string SupportMailLink();

} // namespace uzuviv
