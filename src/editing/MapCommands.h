#pragma once

#include <cstddef>
#include <cstdint>

#include "editing/Document.h"
#include "editing/DocumentView.h"
#include "editing/MapLayer.h"
#include "editing/PointCommands.h"
#include "editing/PointListView.h"

namespace uzuviv {

// What a click, a drag or the pop-up menu on the map does to the project. Each edit is one undo
// step through the same history as the list and the editor panel, and the list, the panel and
// the commands follow it at once.
class MapCommands {
public:
    MapCommands(Document& document, DocumentView& view, PointListView& list, PointCommands& points)
        : document_(document), view_(view), list_(list), points_(points) {}

    // A click on the marker of `row`: it alone is selected, or with Ctrl its selection is
    // toggled while the others stay, as in the list.
    void ClickMarker(std::size_t row, bool control);
    // A press on a marker that is not selected selects it (alone, unless Ctrl is held), so the
    // drag that may follow moves a selected point. True when it changed the selection: the
    // click that ends the press then changes nothing more.
    bool PressMarker(std::size_t row, bool control);

    // The end of a drag that started on `hit`, with the cursor now over `at`: a marker moves
    // its point there (to the nearest 1e-7 degree, about a centimetre, far below a pixel); a rim
    // sets the tolerance to the distance from the point to `at`.
    void DragEnd(const MapHit& hit, LatLon at);
    // The tolerance a rim dragged to `at` gives to a point at `centre`: whole metres, 0..1000.
    static std::uint16_t RimTolerance(LatLon centre, LatLon at);

    // "New point here": a point at `at` with the other values at their defaults, selected
    // alone; refused with the project-full message from 150 points on. One undo step.
    bool NewPointHere(LatLon at);

private:
    TProjectType* Project() { return document_.CurrentProject(); }
    // Stores `record` as point `row` and lets the list, the panel and the history follow.
    void StorePoint(std::size_t row, const TGPSRecord& record);

    Document& document_;
    DocumentView& view_;
    PointListView& list_;
    PointCommands& points_;
};

} // namespace uzuviv
