#pragma once

#include <cstddef>
#include <optional>

#include "editing/Document.h"
#include "editing/DocumentCommands.h"
#include "editing/DocumentView.h"
#include "editing/PanelFields.h"
#include "editing/PointListView.h"

namespace uzuviv {

// The editing commands on the points: the list operations with the program's own clipboard,
// undo and redo, the editor panel's load and store, the display mode and the double-click
// pointer.
class PointCommands {
public:
    PointCommands(Document& document, DocumentView& view, PointListView& list)
        : document_(document), view_(view), list_(list) {}

    int DisplayMode() const { return displayMode_; }
    // For views that format on demand in the current mode.
    const int& DisplayModeRef() const { return displayMode_; }
    // Any stored value is kept (it is written back to the settings); values other than 2, 3, 4
    // behave as 1.
    void SetDisplayMode(int mode) { displayMode_ = mode; }

    // The selection changed: the first selected point is loaded into the panel.
    void ListView1SelectItem();
    void RecordUndoSnapshot();

    // False when refused because the project is full. The map adds its points with their place
    // already set, so that adding is one undo step there too.
    bool AddNewPoint(const TGPSRecord& record = TGPSRecord{});
    void DeleteSelectedPoints();
    void SelectAll1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Undo1Click();
    void Redo1Click();

    void SetPointData();            // Set data
    void PanelNewClick();           // the panel's New
    void SwitchDisplayMode(int mode);
    // New from Google Maps: a point from "label@latitude,longitude" on the system clipboard.
    void NewGPSFromGoogleMapsClipboard1Click();
    // Show in Google Maps for the row under the last press in the list, if any.
    void ShowInGoogleMap1Click(std::optional<std::size_t> row);
    // A double-click; `row` is the row under the last press, `column` its column or -1.
    void ListView1DblClick(std::optional<std::size_t> row, int column);

private:
    TProjectType* Project() { return document_.CurrentProject(); }
    void CopySelectionToClipboard(const RowSelection& selection);
    void Restore(bool (Document::*step)(), bool possible);

    Document& document_;
    DocumentView& view_;
    PointListView& list_;
    int displayMode_ = 1;
    // What the last load wrote into the panel, and for which row in which mode.
    std::optional<PanelTexts> loaded_;
    std::size_t loadedRow_ = 0;
    int loadedMode_ = 0;
};

} // namespace uzuviv
