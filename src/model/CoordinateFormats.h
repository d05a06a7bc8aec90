#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ProjectClasses.h"

namespace uzuviv {

// Display modes: 1 D.d, 2 DM.d, 3 DMS.d, 4 DMS; any other value behaves as 1.
struct DMValue   { std::int64_t Degrees; Extended Minutes; };
struct DMSdValue { std::int64_t Degrees; std::int64_t Minutes; Extended Seconds; };
struct DMSValue  { std::int64_t Degrees; std::int64_t Minutes; std::int64_t Seconds; };

// Up to 15 significant digits, no trailing zeros; exponent form ("5E-5") below 0.0001.
std::string CoordinateText(Extended value);
// The same digits always in plain decimal notation ("0.00005"), for text that the character
// filter reads back: it would turn "5E-5" into "5-5".
std::string PlainCoordinateText(Extended value);
// CoordinateText from the value's decimal expansion, without the quicker way to the same text.
std::string CoordinateTextExactly(Extended value);
// CoordinateText written at `out`, which has CoordinateTextRoom bytes; returns the end.
inline constexpr std::size_t CoordinateTextRoom = 40;
char* PutCoordinateText(char* out, Extended value);

std::string FormatLatitude(Extended value, int displayMode);
std::string FormatLongitude(Extended value, int displayMode);

// The splits give magnitudes; the sign travels separately.
DMValue   DegreesToDM(Extended value);
DMSdValue DegreesToDMSd(Extended value);
DMSValue  DegreesToDMS(Extended value);

Extended DMToDegrees(bool negative, std::int64_t degrees, Extended minutes);
Extended DMSdToDegrees(bool negative, std::int64_t degrees, std::int64_t minutes, Extended seconds);
Extended DMSToDegrees(bool negative, std::int64_t degrees, std::int64_t minutes, std::int64_t seconds);

std::string FilterCoordinateText(std::string_view text, bool digits, bool signs,
                                 bool decimalMarks, bool northSouth, bool eastWest);

// The name of a point mode in the current language; any value outside 1..3 is Track.
const std::string& ModeName(int mode);

// The seven texts of a point-list row (and of a printed line's columns):
// number, latitude, longitude, tolerance, mode, file, comments.
using ListRowTexts = std::array<std::string, 7>;
ListRowTexts ListRow(const TGPSRecord& record, std::size_t index, int displayMode);
std::string ListCell(const TGPSRecord& record, std::size_t index, int displayMode, int column);

} // namespace uzuviv
