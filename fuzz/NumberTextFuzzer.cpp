// The two text-to-number conversions behind the coordinate filter, and the texts of the
// values they accept. The first byte chooses the filter's classes (bit 5: no filter at all),
// the rest is the text as typed or pasted.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "model/CoordinateFormats.h"
#include "model/NumberText.h"

using namespace uzuviv;

namespace {

struct FilterClasses {
    bool Digits, Signs, DecimalMarks, NorthSouth, EastWest;
};

// Only digits, minus and plus signs and decimal points can come out, each only from a class
// that lets it through; nothing is ever added.
void CheckFiltered(std::string_view text, std::string_view filtered, const FilterClasses& classes)
{
    FUZZ_CHECK(filtered.size() <= text.size());
    for (const char c : filtered) {
        if (c >= '0' && c <= '9')
            FUZZ_CHECK(classes.Digits);
        else if (c == '+')
            FUZZ_CHECK(classes.Signs);
        else if (c == '-')
            FUZZ_CHECK(classes.Signs || classes.NorthSouth || classes.EastWest);
        else if (c == '.')
            FUZZ_CHECK(classes.DecimalMarks);
        else
            FUZZ_CHECK(false && "a character no class lets through");
    }
}

void CheckMessage(const ConversionError& error, std::string_view text, std::string_view tail)
{
    std::string expected = "'" + std::string(text) + "'" + std::string(tail);
    // what() is a C string: it ends at the text's first NUL.
    expected.resize(std::min(expected.size(), expected.find('\0')));
    FUZZ_CHECK(error.what() == expected);
}

// Every text the program writes for a number must read back as that number's digits.
void CheckTexts(Extended value)
{
    const std::string general = CoordinateText(value);
    const Extended reread = ParseDecimal(general);
    FUZZ_CHECK(CoordinateText(reread) == general);
    FUZZ_CHECK(std::fabs(reread - value) <= std::fabs(value) * 1e-14L);

    // The panel's boxes go through the filter before they are read.
    const std::string plain = PlainCoordinateText(value);
    FUZZ_CHECK(FilterCoordinateText(plain, true, true, true, true, true) == plain);
    FUZZ_CHECK(ParseDecimal(plain) == reread);

    const std::string fixed = FixedText(value, 6);
    FUZZ_CHECK(fixed != "-0.000000");
    FUZZ_CHECK(std::fabs(ParseDecimal(fixed) - value) <= 0.5e-6L + std::fabs(value) * 1e-17L);
    FUZZ_CHECK(FormatLatitude(value, 1) == fixed);

    for (int mode = 0; mode <= 5; ++mode) {
        const std::string latitude = FormatLatitude(value, mode);
        const std::string longitude = FormatLongitude(value, mode);
        if (mode >= 2 && mode <= 4) {
            FUZZ_CHECK(latitude.back() == (value < 0 ? 'S' : 'N'));
            FUZZ_CHECK(longitude.back() == (value < 0 ? 'W' : 'E'));
        } else {
            FUZZ_CHECK(latitude == fixed && longitude == fixed);
        }
    }

    // Within the degrees a 64-bit whole number holds, the splits give minutes and seconds
    // below 60 and join back to the value.
    if (std::fabs(value) < 1e18L) {
        const DMSdValue dms = DegreesToDMSd(value);
        FUZZ_CHECK(dms.Degrees >= 0 && dms.Minutes >= 0 && dms.Minutes < 60);
        FUZZ_CHECK(dms.Seconds >= 0 && dms.Seconds < 60);
        const Extended joined = DMSdToDegrees(value < 0, dms.Degrees, dms.Minutes, dms.Seconds);
        FUZZ_CHECK(std::fabs(joined - value) <= 1e-15L * (1 + std::fabs(value)));
        const DMValue dm = DegreesToDM(value);
        FUZZ_CHECK(dm.Degrees == dms.Degrees && dm.Minutes >= 0 && dm.Minutes < 60);
        const DMSValue whole = DegreesToDMS(value);
        FUZZ_CHECK(whole.Degrees == dms.Degrees && whole.Minutes == dms.Minutes);
        FUZZ_CHECK(whole.Seconds >= 0 && whole.Seconds < 60);
    }
}

void CheckDecimal(std::string_view text)
{
    Extended value;
    try {
        value = ParseDecimal(text);
    } catch (const ConversionError& error) {
        CheckMessage(error, text, " n'est pas une valeur en virgule flottante correcte");
        return;
    }
    FUZZ_CHECK(std::isfinite(value));
    CheckTexts(value);
}

void CheckInteger(std::string_view text)
{
    std::int32_t value;
    try {
        value = ParseInteger(text);
    } catch (const ConversionError& error) {
        CheckMessage(error, text, " n'est pas une valeur enti\xC3\xA8re correcte");
        return;
    }
    // Its decimal text, and its "$" hexadecimal text, read back as the same number.
    FUZZ_CHECK(ParseInteger(std::to_string(value)) == value);
    const std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
    char hex[24];
    std::snprintf(hex, sizeof hex, "%s$%llX", value < 0 ? "-" : "",
                  static_cast<unsigned long long>(magnitude));
    FUZZ_CHECK(ParseInteger(hex) == value);
    // A decimal text is also a decimal number.
    if (text.find_first_of("$xX") == std::string_view::npos)
        FUZZ_CHECK(ParseDecimal(text) == static_cast<Extended>(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::string converted(text);
    if ((choice & 0x20) == 0) {
        const FilterClasses classes{(choice & 1) != 0, (choice & 2) != 0, (choice & 4) != 0,
                                    (choice & 8) != 0, (choice & 16) != 0};
        converted = FilterCoordinateText(text, classes.Digits, classes.Signs, classes.DecimalMarks,
                                         classes.NorthSouth, classes.EastWest);
        CheckFiltered(text, converted, classes);
    }
    CheckDecimal(converted);
    CheckInteger(converted);
    return 0;
}
