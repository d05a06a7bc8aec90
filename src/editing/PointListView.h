#pragma once

#include <cstddef>

#include "editing/PanelFields.h"
#include "editing/RowSelection.h"

namespace uzuviv {

// What the point commands need from the point list and the editor panel.
class PointListView {
public:
    virtual ~PointListView() = default;

    virtual RowSelection Selection() const = 0;
    // Replaces the selection; the window then reports the change (ListView1SelectItem).
    virtual void SetSelection(const RowSelection& selection) = 0;
    virtual bool ListHasFocus() const = 0;
    virtual void ScrollToRow(std::size_t row) = 0;

    // A change of the rows is announced before the records change and reported after, so that
    // the list never shows, or reports a selection in, a half-changed project.
    // Rows `first`.. are about to be appended at the end; the records are not there yet.
    virtual void RowsAboutToBeAppended(std::size_t first, std::size_t count) = 0;
    // ... and now they are.
    virtual void RowsAppended(std::size_t first, std::size_t count) = 0;
    // The rows of `rows` are about to be removed; the records are still there. Their selection
    // goes, and no row stays selected.
    virtual void RowsAboutToBeRemoved(const RowSelection& rows) = 0;
    // ... and now the records are gone (`removed` holds the indices before removal).
    virtual void RowsRemoved(const RowSelection& removed) = 0;
    virtual void RefreshListRow(std::size_t row) = 0;
    virtual void RefreshAllListRows() = 0;

    virtual PanelTexts ReadPanel() const = 0;
    virtual void WritePanel(const PanelTexts& texts) = 0;
    virtual void ShowHighlight(const FieldHighlight& highlight) = 0;
    virtual void ClearFieldHighlight() = 0;
    // Starts the five-second highlight timer; a running timer is not restarted.
    virtual void StartHighlightTimer() = 0;
};

} // namespace uzuviv
