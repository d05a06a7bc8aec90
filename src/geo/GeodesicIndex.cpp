#include "geo/GeodesicIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "geo/Geodesy.h"

namespace uzuviv {

namespace {

constexpr std::uint32_t LeafSize = 8;
constexpr double Infinity = std::numeric_limits<double>::infinity();
// Absorbs the rounding of the unit vectors (about 1e-16); 1e-12 of the radius is 6 micrometres.
constexpr double ChordMargin = 1e-12;

double Radians(double degrees) { return degrees * (std::numbers::pi / 180); }

// The squared straight-line distance between two unit directions below which two positions can
// be less than `distance` metres apart along the ellipsoid.
double SquaredChordLimit(double distance)
{
    const double angle = distance / Wgs84PolarRadius;
    if (!(angle < std::numbers::pi))
        return Infinity;
    const double chord = 2 * std::sin(angle / 2) + ChordMargin;
    return chord * chord;
}

} // namespace

GeodesicIndex::GeodesicIndex(const std::vector<LatLon>& positions) : positions_(positions)
{
    constexpr double squaredAxisRatio = (1 - Wgs84Flattening) * (1 - Wgs84Flattening);
    directions_.reserve(positions_.size());
    for (std::size_t i = 0; i < positions_.size(); ++i) {
        const double latitude = Radians(positions_[i].Latitude);
        const double longitude = Radians(positions_[i].Longitude);
        // The geocentric latitude: the direction of the surface point from the centre.
        const double geocentric =
            std::atan2(squaredAxisRatio * std::sin(latitude), std::cos(latitude));
        directions_.push_back({std::cos(geocentric) * std::cos(longitude),
                               std::cos(geocentric) * std::sin(longitude), std::sin(geocentric),
                               static_cast<std::uint32_t>(i)});
    }
    if (!directions_.empty()) {
        nodes_.reserve(2 * directions_.size() / LeafSize + 2);
        Build(0, static_cast<std::uint32_t>(directions_.size()));
    }
    slot_.resize(directions_.size());
    for (std::size_t place = 0; place < directions_.size(); ++place)
        slot_[directions_[place].Index] = static_cast<std::uint32_t>(place);
}

std::uint32_t GeodesicIndex::Build(std::uint32_t begin, std::uint32_t end)
{
    const auto self = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back({{Infinity, Infinity, Infinity}, {-Infinity, -Infinity, -Infinity}, begin, end});
    Node box = nodes_.back();
    for (std::uint32_t i = begin; i < end; ++i) {
        const double at[3] = {directions_[i].X, directions_[i].Y, directions_[i].Z};
        for (int axis = 0; axis < 3; ++axis) {
            box.Low[axis] = std::min(box.Low[axis], at[axis]);
            box.High[axis] = std::max(box.High[axis], at[axis]);
        }
    }
    if (end - begin > LeafSize) {
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if (box.High[a] - box.Low[a] > box.High[axis] - box.Low[axis])
                axis = a;
        const auto coordinate = [axis](const Direction& d) {
            return axis == 0 ? d.X : axis == 1 ? d.Y : d.Z;
        };
        const std::uint32_t middle = begin + (end - begin) / 2;
        std::nth_element(directions_.begin() + begin, directions_.begin() + middle,
                         directions_.begin() + end,
                         [&](const Direction& a, const Direction& b) {
                             return coordinate(a) < coordinate(b);
                         });
        box.Left = Build(begin, middle);
        box.Right = Build(middle, end);
    }
    nodes_[self] = box;
    return self;
}

double GeodesicIndex::SquaredChordToBox(const Node& node, const Direction& at)
{
    const double point[3] = {at.X, at.Y, at.Z};
    double sum = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const double outside =
            std::max({node.Low[axis] - point[axis], 0.0, point[axis] - node.High[axis]});
        sum += outside * outside;
    }
    return sum;
}

// Visits the leaves nearer than `squaredLimit` (in straight-line distance between directions),
// the nearer half of every branch first; `visit(direction, squaredChord)` sees every direction
// of those leaves and may lower the limit.
template <class Visit>
void GeodesicIndex::Walk(std::uint32_t node, const Direction& at, const double& squaredLimit,
                         Visit& visit) const
{
    const Node& n = nodes_[node];
    if (n.Left == 0) {
        for (std::uint32_t i = n.Begin; i < n.End; ++i) {
            const Direction& other = directions_[i];
            const double dx = other.X - at.X, dy = other.Y - at.Y, dz = other.Z - at.Z;
            if (other.Index != at.Index)
                visit(other.Index, dx * dx + dy * dy + dz * dz);
        }
        return;
    }
    const double toLeft = SquaredChordToBox(nodes_[n.Left], at);
    const double toRight = SquaredChordToBox(nodes_[n.Right], at);
    const bool leftFirst = toLeft <= toRight;
    if ((leftFirst ? toLeft : toRight) < squaredLimit)
        Walk(leftFirst ? n.Left : n.Right, at, squaredLimit, visit);
    if ((leftFirst ? toRight : toLeft) < squaredLimit)
        Walk(leftFirst ? n.Right : n.Left, at, squaredLimit, visit);
}

std::vector<Neighbour> GeodesicIndex::Within(std::size_t from, double limit,
                                             const std::function<double(std::size_t)>& limitOf) const
{
    std::vector<Neighbour> found;
    if (nodes_.empty() || !(limit > 0))
        return found;
    const double squaredChordLimit = SquaredChordLimit(limit);
    auto measure = [&](std::uint32_t other, double squaredChord) {
        if (squaredChord >= squaredChordLimit)
            return;
        const double own = std::min(limitOf(other), limit);
        if (!(own > 0) || squaredChord >= SquaredChordLimit(own))
            return;
        const double distance = GeodesicDistance(positions_[from], positions_[other]);
        if (distance < own)
            found.push_back({other, distance});
    };
    Walk(0, directions_[slot_[from]], squaredChordLimit, measure);
    return found;
}

std::optional<Neighbour> GeodesicIndex::Nearest(std::size_t from) const
{
    if (directions_.size() < 2)
        return std::nullopt;
    const Direction& at = directions_[slot_[from]];

    // The nearest direction is nearly always the nearest position: measured first, it leaves
    // the exact search below little else to measure.
    std::uint32_t closest = at.Index;
    double closestSquaredChord = Infinity;
    auto closer = [&](std::uint32_t other, double squaredChord) {
        if (squaredChord < closestSquaredChord) {
            closest = other;
            closestSquaredChord = squaredChord;
        }
    };
    Walk(0, at, closestSquaredChord, closer);

    Neighbour best{closest, GeodesicDistance(positions_[from], positions_[closest])};
    double squaredChordLimit = SquaredChordLimit(best.Distance);
    auto nearer = [&](std::uint32_t other, double squaredChord) {
        if (squaredChord >= squaredChordLimit || other == closest || best.Distance == 0)
            return;
        const double distance = GeodesicDistance(positions_[from], positions_[other]);
        if (distance < best.Distance) {
            best = {other, distance};
            squaredChordLimit = SquaredChordLimit(distance);
        }
    };
    Walk(0, at, squaredChordLimit, nearer);
    return best;
}

} // namespace uzuviv
