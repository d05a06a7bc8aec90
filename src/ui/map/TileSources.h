#pragma once

#include <span>

#include <QString>

namespace uzuviv {

inline constexpr const char* OsmCopyrightUrl = "https://www.openstreetmap.org/copyright";
inline constexpr const char* OsmFixTheMapUrl = "https://www.openstreetmap.org/fixthemap";
inline constexpr const char* DefaultTileUrl = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";

// A map the settings offer: its name (MapTexts item), its tile address, what the map must say
// about whose it is beyond the OpenStreetMap credit that it always shows, and the page where
// users report a fault in it.
struct TileSource {
    int NameItem;
    const char* UrlTemplate;
    const char* Credit;      // empty: the OpenStreetMap credit alone
    const char* ReportUrl;   // empty: none
};

std::span<const TileSource> TileSources();
// The preset that uses `urlTemplate`, or nullptr for a custom template.
const TileSource* TileSourceFor(const QString& urlTemplate);
// The attribution line for a template: the OpenStreetMap credit linked to its copyright page,
// the preset's own credit, and "Report a map problem" where the provider has such a page.
QString AttributionHtml(const QString& urlTemplate);

} // namespace uzuviv
