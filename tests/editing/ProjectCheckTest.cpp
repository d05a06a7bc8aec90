#include "editing/ProjectCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "editing/TourWithMistakes.h"
#include "geo/Geodesy.h"

namespace uzuviv {
namespace {

using Kind = FindingKind;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// Along the equator the geodesic is the equator itself.
long double Km(double kilometres) { return testing::EquatorKm(kilometres); }
double EquatorLongitude(double meters) { return static_cast<double>(Km(meters / 1000)); }

// The longitude on the equator exactly `meters` east of (0, 0), as the geodesic measures it both
// ways, if a nearby one is.
double EquatorLongitudeExactly(double meters)
{
    const double guess = EquatorLongitude(meters);
    for (double longitude = std::nextafter(guess, 0.0); longitude < guess + 1e-15;
         longitude = std::nextafter(longitude, 180.0))
        if (GeodesicDistance({0, 0}, {0, longitude}) == meters &&
            GeodesicDistance({0, longitude}, {0, 0}) == meters)
            return longitude;
    return guess;
}

struct Point {
    long double Latitude, Longitude;
    int Tolerance = 0;
    int FileRef = 0;   // 0: a file of its own
    int Mode = 1;
};

TProjectType Project(const std::vector<Point>& points)
{
    TProjectType project;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point& p = points[i];
        TGPSRecord record;
        record.Latitude = p.Latitude;
        record.Longitude = p.Longitude;
        record.Tolerance = static_cast<std::uint16_t>(p.Tolerance);
        record.Mode = static_cast<std::uint8_t>(p.Mode);
        record.FileRef = static_cast<std::uint16_t>(p.FileRef != 0 ? p.FileRef : 100 + i);
        project.Records.push_back(record);
    }
    return project;
}

void ExpectFindings(const std::vector<ProjectFinding>& found, const std::vector<ProjectFinding>& expected,
                    const std::string& name)
{
    ASSERT_EQ(found.size(), expected.size()) << name;
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].Kind, expected[i].Kind) << name << " #" << i;
        EXPECT_EQ(found[i].Points, expected[i].Points) << name << " #" << i;
        EXPECT_NEAR(found[i].Meters, expected[i].Meters, 0.01) << name << " #" << i;
    }
}

TEST(ProjectCheckTest, RulesAtTheirEdges)
{
    const double touching = EquatorLongitudeExactly(20);
    ASSERT_EQ(GeodesicDistance({0, touching}, {0, 0}), 20.0);
    const double km = 1000;
    struct Case {
        const char* name;
        std::vector<Point> points;
        std::vector<ProjectFinding> expected;
    };
    const Case cases[] = {
        {"zones exactly touching do not overlap", {{0, 0, 10}, {0, touching, 10}}, {}},
        {"nor do unequal ones", {{0, 0, 5}, {0, touching, 15}}, {}},
        {"a centimetre closer they do",
         {{0, 0, 5}, {0, EquatorLongitude(19.99), 15}},
         {{Kind::OverlappingZones, {0, 1}, 19.99}}},
        {"a zone of radius 0 overlaps nothing", {{0, 0, 0}, {0, 0, 1000}, {0, 0, 0}}, {}},
        {"one pair each, by first then second point",
         {{0, Km(0.2), 150}, {0, 0, 100}, {0, Km(0.4), 100}, {0, Km(0.1), 10}},
         {{Kind::OverlappingZones, {0, 1}, 200},
          {Kind::OverlappingZones, {0, 2}, 200},
          {Kind::OverlappingZones, {0, 3}, 100},
          {Kind::OverlappingZones, {1, 3}, 100}}},
        {"every longitude is the same place at a pole",
         {{90, 0, 1}, {90, 135, 1}, {-90, -180, 1}, {-90, 60, 1}},
         {{Kind::OverlappingZones, {0, 1}, 0}, {Kind::OverlappingZones, {2, 3}, 0}}},
        {"zones reach across the pole",
         {{89.999L, 0, 112}, {89.999L, 180, 112}},
         {{Kind::OverlappingZones, {0, 1}, 223.39}}},
        {"zones reach across the antimeridian",
         {{0, 179.9995L, 56}, {0, -179.9995L, 56}, {0, -180, 1}, {0, 180, 1}},
         {{Kind::OverlappingZones, {0, 1}, 111.32},
          {Kind::OverlappingZones, {0, 2}, 55.66},
          {Kind::OverlappingZones, {0, 3}, 55.66},
          {Kind::OverlappingZones, {1, 2}, 55.66},
          {Kind::OverlappingZones, {1, 3}, 55.66},
          {Kind::OverlappingZones, {2, 3}, 0}}},
        {"a zone too large for the device still overlaps",
         {{0, 0, 5000}, {0, Km(4.9), 10}},
         {{Kind::OverlappingZones, {0, 1}, 4900}, {Kind::OutOfRange, {0}, 0}}},
        {"shared files, in range or not",
         {{0, 0, 0, 5}, {0, Km(1), 0, 7}, {0, Km(2), 0, 5}, {0, Km(3), 0, 1000},
          {0, Km(4), 0, 1000}, {0, Km(5), 0, 5}},
         {{Kind::SharedFileReference, {0, 2, 5}, 0},
          {Kind::SharedFileReference, {3, 4}, 0},
          {Kind::OutOfRange, {3}, 0},
          {Kind::OutOfRange, {4}, 0}}},
        {"every value the device cannot use",
         {{90, 180, 1000, 999, 3}, {-90, -180, 0, 1, 1}, {90.000001L, 0}, {-91, 0}, {0, 180.5L},
          {0, -181}, {NaN, 0}, {0, Inf}, {-90, 0, 1001}, {90, 0, 0, 0, 0}, {90, 0, 0, 0, 4},
          {90, 0, 0, 1000}},
         {{Kind::OutOfRange, {2}, 0}, {Kind::OutOfRange, {3}, 0}, {Kind::OutOfRange, {4}, 0},
          {Kind::OutOfRange, {5}, 0}, {Kind::OutOfRange, {6}, 0}, {Kind::OutOfRange, {7}, 0},
          {Kind::OutOfRange, {8}, 0}, {Kind::OutOfRange, {9}, 0}, {Kind::OutOfRange, {10}, 0},
          {Kind::OutOfRange, {11}, 0}}},
        {"out-of-range coordinates take part in no distance rule",
         {{90.5L, 0, 1000}, {90, 0, 1000}, {-90, 0}, {-90.1L, 0}, {NaN, 0, 500}, {0, 0, 500},
          {0, 1e6L, 1}, {0, Km(0.001), 1}},
         {{Kind::OverlappingZones, {5, 7}, 1},
          {Kind::OutOfRange, {0}, 0}, {Kind::OutOfRange, {3}, 0}, {Kind::OutOfRange, {4}, 0},
          {Kind::OutOfRange, {6}, 0}}},
        {"four points are too few to tell which is far",
         {{0, 0}, {0, Km(1)}, {0, Km(3)}, {-45, -120}}, {}},
        {"the fifth point: beyond 20 times the median",
         {{0, 0}, {0, Km(1)}, {0, Km(3)}, {0, Km(6)}, {0, Km(6 + 40.01)}},
         {{Kind::FarFromOthers, {4}, 40.01 * km}}},
        {"the fifth point: not beyond 20 times the median",
         {{0, 0}, {0, Km(1)}, {0, Km(3)}, {0, Km(6)}, {0, Km(6 + 39.99)}}, {}},
        {"an even count takes the mean of the middle two: beyond it",
         {{0, 0}, {0, Km(1)}, {0, Km(3)}, {0, Km(1000)}, {0, Km(1004)}, {0, Km(1004 + 60.01)}},
         {{Kind::FarFromOthers, {5}, 60.01 * km}}},
        {"an even count takes the mean of the middle two: not beyond it",
         {{0, 0}, {0, Km(1)}, {0, Km(3)}, {0, Km(1000)}, {0, Km(1004)}, {0, Km(1004 + 59.99)}},
         {}},
        {"never within 10 km, whatever the median",
         {{0, 0}, {0, Km(0.1)}, {0, Km(0.3)}, {0, Km(0.6)}, {0, Km(0.6 + 9.99)}}, {}},
        {"a median of 0 leaves only the 10 km floor",
         {{0, 0}, {0, 0}, {0, 0}, {0, Km(10.01)}, {0, Km(20.03)}},
         {{Kind::FarFromOthers, {3}, 10.01 * km}, {Kind::FarFromOthers, {4}, 10.02 * km}}},
        {"a sign mistake in a city tour, across the antimeridian",
         {{-41.2865L, 174.7762L}, {-41.2871L, 174.7780L}, {-41.2890L, 174.7750L},
          {-41.2850L, 174.7700L}, {-41.2901L, 174.7801L}, {-41.2877L, -174.7762L}},
         {{Kind::FarFromOthers, {5}, 874306.56}}},
        {"a point in the wrong hemisphere, near the pole",
         {{89.99L, 10}, {89.99L, 100}, {89.99L, -170}, {89.99L, -80}, {89.995L, 0},
          {-89.99L, 10}},
         {{Kind::FarFromOthers, {5}, 20001697.58}}},
    };
    for (const Case& c : cases)
        ExpectFindings(CheckProject(Project(c.points)), c.expected, c.name);
}

// The rules by their definitions, every pair measured.
std::vector<ProjectFinding> CheckEveryPair(const TProjectType& project)
{
    const auto& records = project.Records;
    const auto placed = [&](std::size_t i) {
        const std::vector<int> columns = OutOfRangeColumns(records[i]);
        return columns.empty() || columns.front() > 2;
    };
    const auto at = [&](std::size_t i) {
        return LatLon{double(records[i].Latitude), double(records[i].Longitude)};
    };
    std::vector<ProjectFinding> findings;
    std::vector<double> nearest(records.size(), Inf);
    std::size_t placedCount = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!placed(i))
            continue;
        ++placedCount;
        for (std::size_t j = i + 1; j < records.size(); ++j) {
            if (!placed(j))
                continue;
            const double distance = GeodesicDistance(at(i), at(j));
            nearest[i] = std::min(nearest[i], distance);
            nearest[j] = std::min(nearest[j], distance);
            if (records[i].Tolerance > 0 && records[j].Tolerance > 0 &&
                distance < records[i].Tolerance + records[j].Tolerance)
                findings.push_back({Kind::OverlappingZones, {i, j}, distance});
        }
    }
    for (const ProjectFinding& finding : CheckProject(project))
        if (finding.Kind == Kind::SharedFileReference || finding.Kind == Kind::OutOfRange)
            findings.push_back(finding);
    std::vector<double> sorted;
    for (double distance : nearest)
        if (distance != Inf)
            sorted.push_back(distance);
    std::sort(sorted.begin(), sorted.end());
    if (placedCount >= 5) {
        const std::size_t n = sorted.size();
        const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        for (std::size_t i = 0; i < records.size(); ++i)
            if (nearest[i] != Inf && nearest[i] > 20 * median && nearest[i] > 10000)
                findings.push_back({Kind::FarFromOthers, {i}, nearest[i]});
    }
    std::sort(findings.begin(), findings.end(), [](const ProjectFinding& a, const ProjectFinding& b) {
        return std::tie(a.Kind, a.Points) < std::tie(b.Kind, b.Points);
    });
    return findings;
}

TEST(ProjectCheckTest, FindsWhatMeasuringEveryPairFinds)
{
    // Towns, the poles and the antimeridian, with spreads from a street to a region.
    const LatLon centres[] = {{48.8566, 2.3522}, {89.9995, 0}, {-89.99, 120}, {0.001, 179.999},
                              {-16.5, -179.99}, {65, -180}, {-33.86, 151.21}};
    const double spreads[] = {300, 3000, 30000};
    std::mt19937_64 random(15);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    for (int round = 0; round < 3; ++round) {
        std::vector<Point> points;
        for (int i = 0; i < 700; ++i) {
            const LatLon centre = centres[random() % std::size(centres)];
            const double spread = spreads[random() % std::size(spreads)];
            const LatLon p = random() % 50 == 0
                                 ? LatLon{uniform(-90, 90), uniform(-180, 180)}
                                 : GeodesicDestination(centre, uniform(0, 360), uniform(0, spread));
            const int tolerance = random() % 4 == 0 ? 0 : int(random() % 1001);
            points.push_back({p.Latitude, p.Longitude, tolerance, int(1 + random() % 999)});
        }
        points[3].Latitude = 90.25L;
        points[4].Longitude = NaN;
        const TProjectType project = Project(points);
        ExpectFindings(CheckProject(project), CheckEveryPair(project),
                       "round " + std::to_string(round));
    }
}

} // namespace
} // namespace uzuviv
