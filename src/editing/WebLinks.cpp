#include "editing/WebLinks.h"

#include <cstddef>
#include <iterator>
#include <optional>
#include <vector>

#include "files/Cp1252.h"
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

bool IsWordCharacter(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    // Accented and other scripts' letters; not the signs, marks and punctuation among them.
    if (c < 0xC0 || c == 0xD7 || c == 0xF7)
        return false;
    return !(c >= 0x2000 && c <= 0x2BFF) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xFE30 && c <= 0xFE4F)
           && !(c >= 0xFF00 && c <= 0xFF20);
}

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == 0xA0; }

// What a number may be written with around its hemisphere letter: 45.5S, 45°30'S, 45.5 °S.
bool IsNumberCharacter(char32_t c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '+' || c == '-' || c == 0xB0
           || c == 0xBA || c == '\'' || c == '"' || c == 0x2032 || c == 0x2033;
}

bool IsHemisphereLetter(char32_t c)
{
    switch (c) {
    case 'N': case 'S': case 'E': case 'W': case 'n': case 's': case 'e': case 'w':
        return true;
    default:
        return false;
    }
}

} // namespace

std::string MapCoordinateText(std::string_view side)
{
    struct Character {
        char32_t Code;   // U+FFFD for an invalid byte
        std::size_t Start, Length;
    };
    std::vector<Character> characters;
    for (std::size_t pos = 0; pos < side.size();) {
        const std::size_t start = pos;
        const std::optional<char32_t> c = NextUtf8Character(side, pos);
        characters.push_back({c.value_or(0xFFFD), start, pos - start});
    }
    // The first character other than a blank from `i` on, stepping by `step`; 0 at the end.
    const auto nearest = [&characters](std::size_t i, int step) -> char32_t {
        for (auto k = static_cast<std::ptrdiff_t>(i); k >= 0 && k < std::ssize(characters); k += step)
            if (!IsBlank(characters[static_cast<std::size_t>(k)].Code))
                return characters[static_cast<std::size_t>(k)].Code;
        return 0;
    };
    std::string kept;
    kept.reserve(side.size());
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const Character& c = characters[i];
        if (IsHemisphereLetter(c.Code)) {
            const char32_t before = i > 0 ? characters[i - 1].Code : 0;
            const char32_t after = i + 1 < characters.size() ? characters[i + 1].Code : 0;
            const bool alone = !IsWordCharacter(before) && !IsWordCharacter(after);
            const bool byNumber = (i > 0 && IsNumberCharacter(nearest(i - 1, -1)))
                                  || IsNumberCharacter(nearest(i + 1, 1));
            if (!alone || !byNumber)
                continue;
        }
        kept.append(side.substr(c.Start, c.Length));
    }
    return FilterCoordinateText(kept, true, true, true, true, true);
}

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
