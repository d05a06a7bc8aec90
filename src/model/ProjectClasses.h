#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace uzuviv {

// Coordinates need the 64-bit mantissa of the x87 extended type: the splits into
// degrees, minutes and seconds and the joins back rely on it.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits >= 64, "Extended needs a 64-bit mantissa");

// The editing limit: adding refuses to go beyond it; paste, open and import do not test it.
constexpr int MaxRecords = 150;

// The values the editor accepts and the device can use; imported files may bring others.
constexpr int MaxTolerance = 1000;
constexpr int MinFileRef = 1, MaxFileRef = 999;
constexpr int MinMode = 1, MaxMode = 3;

struct TGPSRecord {
    Extended Latitude = 0, Longitude = 0;
    std::uint16_t Tolerance = 0;
    std::uint8_t Mode = 1;
    std::uint16_t FileRef = 1;
    std::string Comments = "...";
};

class TProjectType {
public:
    std::string ProjectName, Subject, Author, Copyright, Customer, CreationDate;
    std::vector<std::string> ProjectComments{"..."};
    std::vector<TGPSRecord> Records;
};

// Deep copy; does nothing when either side is null.
void CopyProject(const TProjectType* source, TProjectType* destination);

// Exact comparison: strings byte for byte, coordinates by equality of the stored values.
bool ProjectsDiffer(const TProjectType& a, const TProjectType& b);

bool RecordsDiffer(const TGPSRecord& a, const TGPSRecord& b);

} // namespace uzuviv
