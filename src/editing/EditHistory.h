#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "model/ProjectClasses.h"

namespace uzuviv {

// One change of the records: the rows [At, At + Removed.size()) were replaced by Inserted.
struct RecordsEdit {
    std::size_t At = 0;
    std::vector<TGPSRecord> Removed;
    std::vector<TGPSRecord> Inserted;
};

// The project's descriptive part: its six texts and its comment lines.
struct ProjectHeader {
    std::string ProjectName, Subject, Author, Copyright, Customer, CreationDate;
    std::vector<std::string> ProjectComments;
    bool operator==(const ProjectHeader&) const = default;
};

// Undo and redo over whole-project states. Absent until started; position 0 is the base, the
// project as it stood when the history was started. Each later state is kept as what changed
// from the one before it (the edited records, and the header when it changed), so a one-point
// edit of a million-point project costs a few hundred bytes, and undo and redo bring back
// exactly the project of that state, properties included.
class EditHistory {
public:
    void Reset();
    // Does nothing when already started or when there is no project.
    void Start(const TProjectType* current);
    // Drops what could have been redone and appends the state `current` reached from the
    // current state through `edits` (in order; empty when no record changed).
    void Record(const TProjectType& current, std::vector<RecordsEdit> edits);
    // Turns `project`, which holds the current state, into the previous (next) one. False at the
    // end of the history, `project` untouched.
    bool Undo(TProjectType& project);
    bool Redo(TProjectType& project);

    bool Exists() const { return !steps_.empty(); }
    bool CanUndo() const { return Exists() && position_ > 0; }
    bool CanRedo() const { return Exists() && position_ + 1 < steps_.size(); }
    std::size_t Count() const { return steps_.size(); }
    std::size_t Position() const { return position_; }

private:
    struct Step {
        std::vector<RecordsEdit> Edits;   // from the state before to this one
        std::shared_ptr<const ProjectHeader> Header;
    };

    std::vector<Step> steps_;
    std::size_t position_ = 0;
};

ProjectHeader HeaderOf(const TProjectType& project);
void ApplyHeader(const ProjectHeader& header, TProjectType& project);

} // namespace uzuviv
