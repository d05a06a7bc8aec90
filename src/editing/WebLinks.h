#pragma once

#include <string>

#include "model/ProjectClasses.h"

namespace uzuviv {

// The map service centred on a point with a marker on it, in the interface language.
std::string GoogleMapsUrl(const TGPSRecord& record, int languageIndex);

std::string HomePageUrl();
// The support mail: subject filled in, empty body, blanks and colon left as they are.
std::string SupportMailLink();

} // namespace uzuviv
