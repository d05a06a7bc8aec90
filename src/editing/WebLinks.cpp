#include "editing/WebLinks.h"

#include "model/CoordinateFormats.h"

namespace uzuviv {

namespace {

// https rather than http: a user's locations do not cross the network in clear text.
constexpr const char* MapServiceHost = "https://maps.google.com";
constexpr const char* MakerHost = "https://www.ovra.example";
constexpr const char* SupportAddress = "support@ovra.example";

const char* LanguageKey(int languageIndex)
{
    switch (languageIndex) {
    case 1: return "&hl=fr";
    case 3: return "&hl=es";
    case 4: return "&hl=de";
    case 5: return "&hl=it";
    default: return "";
    }
}

} // namespace

std::string GoogleMapsUrl(const TGPSRecord& record, int languageIndex)
{
    const std::string point = CoordinateText(record.Latitude) + "," + CoordinateText(record.Longitude);
    return std::string(MapServiceHost) + "/maps?ll=" + point + "&spn=0.005,0.005&q=" + point
           + LanguageKey(languageIndex);
}

std::string HomePageUrl()
{
    return std::string(MakerHost) + "/";
}

std::string SupportMailLink()
{
    return std::string("mailto:") + SupportAddress + "?subject=Subject : OVRA Support Request&body=";
}

} // namespace uzuviv
