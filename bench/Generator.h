#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/ProjectClasses.h"

namespace uzuviv::bench {

inline constexpr std::uint64_t DefaultSeed = 0x5eed'0f'0e'7a5ULL;

// A project of `count` points that looks like a real guided tour: walks of a few hundred metres
// between points around European towns, coordinates with six decimals, tolerances, modes and
// file references of varied kinds, comments of 0 to 60 characters with accented words (never
// ";", which the GPS file would cut). The same count and seed always give the same project,
// on any machine.
TProjectType GenerateProject(std::size_t count, std::uint64_t seed = DefaultSeed);

// The GPS file of a project whose coordinates have at most six decimals (as generated above):
// header and one line per point, Windows-1252, CR LF. The integer micro-degrees are printed
// directly, so no rounding rule is involved.
std::string GPSFileText(const TProjectType& project);

inline std::string GenerateGPSFileText(std::size_t count, std::uint64_t seed = DefaultSeed)
{
    return GPSFileText(GenerateProject(count, seed));
}

} // namespace uzuviv::bench
