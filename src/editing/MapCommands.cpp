#include "editing/MapCommands.h"

#include <algorithm>
#include <cmath>

#include "geo/Geodesy.h"

namespace uzuviv {

namespace {

// Seven decimals: a centimetre, far finer than a pixel at any zoom, and no fifteen-digit
// noise in the list and the panel.
Extended Rounded(double degrees)
{
    return std::round(static_cast<Extended>(degrees) * 1e7L) / 1e7L;
}

// The map's places fit the editor's ranges: latitudes are bounded by the projection, longitudes
// wrap.
void StorePosition(TGPSRecord& record, LatLon at)
{
    double longitude = at.Longitude;
    if (longitude < -180 || longitude > 180)
        longitude = std::remainder(longitude, 360.0);
    record.Latitude = Rounded(std::clamp(at.Latitude, -90.0, 90.0));
    record.Longitude = Rounded(longitude);
}

} // namespace

void MapCommands::ClickMarker(std::size_t row, bool control)
{
    if (Project() == nullptr || row >= Project()->Records.size())
        return;
    RowSelection selection;
    if (control) {
        const RowSelection current = list_.Selection();
        for (const RowSelection::Range& range : current.Ranges()) {
            if (row < range.First || row > range.Last) {
                selection.Add(range.First, range.Last);
                continue;
            }
            if (row > range.First)
                selection.Add(range.First, row - 1);
            if (row < range.Last)
                selection.Add(row + 1, range.Last);
        }
        if (!current.Contains(row))
            selection.Add(row);
    } else {
        selection = RowSelection::Single(row);
    }
    list_.SetSelection(selection);
    if (selection.Contains(row))
        list_.ScrollToRow(row);
}

bool MapCommands::PressMarker(std::size_t row, bool control)
{
    if (Project() == nullptr || row >= Project()->Records.size() || list_.Selection().Contains(row))
        return false;
    RowSelection selection = control ? list_.Selection() : RowSelection{};
    selection.Add(row);
    list_.SetSelection(selection);
    list_.ScrollToRow(row);
    return true;
}

std::uint16_t MapCommands::RimTolerance(LatLon centre, LatLon at)
{
    const double distance = GeodesicDistance(centre, at);
    if (!std::isfinite(distance))
        return 0;
    return static_cast<std::uint16_t>(std::lround(std::clamp(distance, 0.0, double{MaxTolerance})));
}

void MapCommands::DragEnd(const MapHit& hit, LatLon at)
{
    TProjectType* project = Project();
    if (project == nullptr || hit.Target == MapTarget::None || hit.Row >= project->Records.size())
        return;
    TGPSRecord record = project->Records[hit.Row];
    if (hit.Target == MapTarget::Marker) {
        StorePosition(record, at);
    } else {
        const LatLon centre{static_cast<double>(record.Latitude), static_cast<double>(record.Longitude)};
        record.Tolerance = RimTolerance(centre, at);
    }
    StorePoint(hit.Row, record);
}

void MapCommands::StorePoint(std::size_t row, const TGPSRecord& record)
{
    document_.ReplaceRecord(row, record);
    list_.RefreshListRow(row);
    // The panel shows the first selected point: it is loaded again when that is this one.
    if (list_.Selection().FirstRow() == row)
        points_.ListView1SelectItem();
    points_.RecordUndoSnapshot();
}

bool MapCommands::NewPointHere(LatLon at)
{
    if (Project() == nullptr)
        return false;
    TGPSRecord record;
    StorePosition(record, at);
    return points_.AddNewPoint(record);
}

} // namespace uzuviv
