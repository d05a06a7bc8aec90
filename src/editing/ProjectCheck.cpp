#include "editing/ProjectCheck.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "geo/GeodesicIndex.h"

namespace uzuviv {

namespace {

// A point far from all others: at least this many points with usable coordinates, and its
// nearest neighbour both this many times the median nearest-neighbour distance and this far.
constexpr std::size_t FarMinimumPoints = 5;
constexpr double FarMedianFactor = 20;
constexpr double FarMinimumMeters = 10000;

bool LatitudeInRange(Extended latitude) { return latitude >= -90 && latitude <= 90; }
bool LongitudeInRange(Extended longitude) { return longitude >= -180 && longitude <= 180; }

// The points with usable coordinates, and where they are.
struct PlacedPoints {
    std::vector<std::size_t> Points;
    std::vector<LatLon> Positions;
};

PlacedPoints PlacePoints(const std::vector<TGPSRecord>& records,
                         bool (*include)(const TGPSRecord&))
{
    PlacedPoints placed;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TGPSRecord& record = records[i];
        if (LatitudeInRange(record.Latitude) && LongitudeInRange(record.Longitude) &&
            include(record)) {
            placed.Points.push_back(i);
            placed.Positions.push_back(
                {static_cast<double>(record.Latitude), static_cast<double>(record.Longitude)});
        }
    }
    return placed;
}

void AppendOverlappingZones(const std::vector<TGPSRecord>& records,
                            std::vector<ProjectFinding>& findings)
{
    const PlacedPoints zones =
        PlacePoints(records, [](const TGPSRecord& record) { return record.Tolerance > 0; });
    const GeodesicIndex index(zones.Positions);
    // Each pair is looked for once, from the point with the larger zone (the later point when
    // both are equal): the two are then less than twice its radius apart.
    const auto tolerance = [&](std::size_t k) { return records[zones.Points[k]].Tolerance; };
    for (std::size_t k = 0; k < zones.Points.size(); ++k) {
        const auto reach = [&](std::size_t other) {
            if (std::pair(tolerance(other), other) > std::pair(tolerance(k), k))
                return 0.0;
            return double(tolerance(k)) + double(tolerance(other));
        };
        for (const Neighbour& near : index.Within(k, 2.0 * tolerance(k), reach)) {
            const auto [first, second] = std::minmax(zones.Points[k], zones.Points[near.Index]);
            findings.push_back({FindingKind::OverlappingZones, {first, second}, near.Distance});
        }
    }
}

void AppendSharedFileReferences(const std::vector<TGPSRecord>& records,
                                std::vector<ProjectFinding>& findings)
{
    std::vector<std::pair<std::uint16_t, std::size_t>> uses;
    uses.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        uses.emplace_back(records[i].FileRef, i);
    std::sort(uses.begin(), uses.end());
    for (std::size_t begin = 0; begin < uses.size();) {
        std::size_t end = begin + 1;
        while (end < uses.size() && uses[end].first == uses[begin].first)
            ++end;
        if (end - begin >= 2) {
            ProjectFinding finding{FindingKind::SharedFileReference, {}, 0};
            for (std::size_t u = begin; u < end; ++u)
                finding.Points.push_back(uses[u].second);
            findings.push_back(std::move(finding));
        }
        begin = end;
    }
}

void AppendOutOfRange(const std::vector<TGPSRecord>& records, std::vector<ProjectFinding>& findings)
{
    for (std::size_t i = 0; i < records.size(); ++i)
        if (!OutOfRangeColumns(records[i]).empty())
            findings.push_back({FindingKind::OutOfRange, {i}, 0});
}

void AppendFarFromOthers(const std::vector<TGPSRecord>& records,
                         std::vector<ProjectFinding>& findings)
{
    const PlacedPoints placed = PlacePoints(records, [](const TGPSRecord&) { return true; });
    if (placed.Points.size() < FarMinimumPoints)
        return;
    const GeodesicIndex index(placed.Positions);
    std::vector<double> nearest(placed.Points.size());
    for (std::size_t k = 0; k < nearest.size(); ++k)
        nearest[k] = index.Nearest(k)->Distance;

    std::vector<double> sorted = nearest;
    const std::size_t middle = sorted.size() / 2;
    std::nth_element(sorted.begin(), sorted.begin() + middle, sorted.end());
    double median = sorted[middle];
    if (sorted.size() % 2 == 0)
        median = (*std::max_element(sorted.begin(), sorted.begin() + middle) + median) / 2;

    const double threshold = std::max(FarMedianFactor * median, FarMinimumMeters);
    for (std::size_t k = 0; k < nearest.size(); ++k)
        if (nearest[k] > threshold)
            findings.push_back({FindingKind::FarFromOthers, {placed.Points[k]}, nearest[k]});
}

} // namespace

std::vector<int> OutOfRangeColumns(const TGPSRecord& record)
{
    std::vector<int> columns;
    if (!LatitudeInRange(record.Latitude))
        columns.push_back(1);
    if (!LongitudeInRange(record.Longitude))
        columns.push_back(2);
    if (record.Tolerance > MaxTolerance)
        columns.push_back(3);
    if (record.Mode < MinMode || record.Mode > MaxMode)
        columns.push_back(4);
    if (record.FileRef < MinFileRef || record.FileRef > MaxFileRef)
        columns.push_back(5);
    return columns;
}

std::vector<ProjectFinding> CheckProject(const TProjectType& project)
{
    std::vector<ProjectFinding> findings;
    AppendOverlappingZones(project.Records, findings);
    AppendSharedFileReferences(project.Records, findings);
    AppendOutOfRange(project.Records, findings);
    AppendFarFromOthers(project.Records, findings);
    std::sort(findings.begin(), findings.end(), [](const ProjectFinding& a, const ProjectFinding& b) {
        return std::tie(a.Kind, a.Points) < std::tie(b.Kind, b.Points);
    });
    return findings;
}

} // namespace uzuviv
