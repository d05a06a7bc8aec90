#pragma once

#include <numbers>

#include "geo/Geodesy.h"
#include "model/ProjectClasses.h"

namespace uzuviv::testing {

// Kilometres east of (0, 0) along the equator, as a longitude.
inline long double EquatorKm(double kilometres)
{
    return kilometres * 1000 / Wgs84EquatorialRadius * 180 / std::numbers::pi;
}

// Two overlapping zones that play one file, a point with a mode and a file the device cannot
// use, and a point typed 3000 km away from a tour of one kilometre.
inline TProjectType TourWithMistakes()
{
    TProjectType project;
    const struct { long double Longitude; int Tolerance, Mode, FileRef; } points[] = {
        {0, 100, 1, 5}, {EquatorKm(0.15), 100, 2, 5}, {EquatorKm(0.4), 0, 0, 1000},
        {EquatorKm(0.7), 0, 3, 7}, {EquatorKm(1.0), 0, 1, 8}, {EquatorKm(3001), 0, 1, 9}};
    for (const auto& p : points) {
        TGPSRecord record;
        record.Longitude = p.Longitude;
        record.Tolerance = static_cast<std::uint16_t>(p.Tolerance);
        record.Mode = static_cast<std::uint8_t>(p.Mode);
        record.FileRef = static_cast<std::uint16_t>(p.FileRef);
        project.Records.push_back(record);
    }
    return project;
}

} // namespace uzuviv::testing
