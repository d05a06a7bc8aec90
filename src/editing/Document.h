#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editing/EditHistory.h"
#include "editing/RowSelection.h"
#include "model/ProjectClasses.h"

namespace uzuviv {

inline constexpr const char* TitlePrefix = "DAV Uzuviv V1.0 - ";

// The one document being edited. "Modified" is never a flag: it is the exact comparison of the
// current project with the copy taken at the last open or save.
class Document {
public:
    TProjectType* CurrentProject() { return current_.get(); }
    const TProjectType* CurrentProject() const { return current_.get(); }
    const TProjectType* SavedProject() const { return saved_.get(); }
    bool HasProject() const { return current_ != nullptr; }

    std::string CurrentFileName;
    EditHistory History;
    // The program's own point clipboard; survives changes of document.
    std::optional<TProjectType> PointClipboard;

    bool IsProjectModified() const;

    // Drops the project, its saved copy and the history.
    void CloseProject();
    // A new default project, its saved copy, no file name, a started history.
    void ResetProject();
    // The current project becomes the saved state and the history starts again from it.
    void MarkSaved();

    // The edits of the records go through these, so that the next undo snapshot knows what
    // changed without copying the project.
    void AppendRecords(std::vector<TGPSRecord> records);
    // Removes the rows of `rows` (indices into the current records).
    void RemoveRows(const RowSelection& rows);
    void ReplaceRecord(std::size_t row, TGPSRecord record);

    // The edits since the last snapshot become one undo step; every call records a step, even
    // when nothing changed.
    void RecordUndoSnapshot();
    bool Undo();
    bool Redo();

private:
    std::unique_ptr<TProjectType> current_;
    std::unique_ptr<TProjectType> saved_;
    std::vector<RecordsEdit> pending_;
};

} // namespace uzuviv
