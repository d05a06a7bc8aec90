#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "geo/WebMercator.h"

namespace uzuviv {

struct Neighbour {
    std::size_t Index = 0;
    double Distance = 0;   // geodesic, metres
};

// Positions on the WGS84 ellipsoid, searched by geodesic distance without comparing every pair.
//
// The tree is built over the directions of the positions from the earth's centre, where the
// poles and the antimeridian are ordinary places. The distance between two such directions
// bounds the geodesic from below (the sphere of the minor semi-axis lies inside the ellipsoid,
// and projecting onto it shortens every path), so a branch is skipped only when none of its
// positions can be near enough; every candidate left is measured exactly (GeodesicDistance).
//
// Every position must have a finite latitude in -90..90 and a finite longitude.
class GeodesicIndex {
public:
    explicit GeodesicIndex(const std::vector<LatLon>& positions);

    std::size_t Size() const { return positions_.size(); }

    // Every other position nearer to position `from` than its own limit, `limitOf(index)`
    // metres (asked before measuring; 0 leaves it out), and than `limit`; in no particular order.
    std::vector<Neighbour> Within(std::size_t from, double limit,
                                  const std::function<double(std::size_t)>& limitOf) const;

    // The nearest other position (a position at the same place is at distance 0); none when
    // the index holds fewer than two.
    std::optional<Neighbour> Nearest(std::size_t from) const;

private:
    struct Direction {
        double X, Y, Z;
        std::uint32_t Index;
    };
    struct Node {
        double Low[3], High[3];
        std::uint32_t Begin, End;          // directions_[Begin, End)
        std::uint32_t Left = 0, Right = 0; // both 0 for a leaf
    };

    std::uint32_t Build(std::uint32_t begin, std::uint32_t end);
    static double SquaredChordToBox(const Node& node, const Direction& at);
    template <class Visit>
    void Walk(std::uint32_t node, const Direction& at, const double& squaredLimit,
              Visit& visit) const;

    std::vector<LatLon> positions_;
    std::vector<Direction> directions_;   // in tree order
    std::vector<std::uint32_t> slot_;     // index -> place in directions_
    std::vector<Node> nodes_;             // nodes_[0] is the root
};

} // namespace uzuviv
