#include "editing/EditHistory.h"

#include <algorithm>
#include <iterator>

namespace uzuviv {

namespace {

// Replaces `count` rows at `at` by `rows`.
void Splice(std::vector<TGPSRecord>& records, std::size_t at, std::size_t count,
            const std::vector<TGPSRecord>& rows)
{
    at = std::min(at, records.size());
    count = std::min(count, records.size() - at);
    const std::size_t common = std::min(count, rows.size());
    std::copy_n(rows.begin(), common, records.begin() + static_cast<std::ptrdiff_t>(at));
    const auto tail = records.begin() + static_cast<std::ptrdiff_t>(at + common);
    if (count > common)
        records.erase(tail, tail + static_cast<std::ptrdiff_t>(count - common));
    else if (rows.size() > common)
        records.insert(tail, rows.begin() + static_cast<std::ptrdiff_t>(common), rows.end());
}

// A deletion of many blocks is stored as removals from the last block to the first; replaying
// it one splice at a time would cost a pass over the records per block.
bool IsBlockDeletion(const std::vector<RecordsEdit>& edits)
{
    if (edits.size() < 2)
        return false;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (!edits[i].Inserted.empty() || edits[i].Removed.empty())
            return false;
        if (i > 0 && edits[i - 1].At <= edits[i].At + edits[i].Removed.size() - 1)
            return false;
    }
    return true;
}

void RemoveBlocks(std::vector<TGPSRecord>& records, const std::vector<RecordsEdit>& edits)
{
    std::size_t write = 0, read = 0;
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        const std::size_t first = std::min(edit->At, records.size());
        for (; read < first; ++read, ++write)
            if (write != read)
                records[write] = std::move(records[read]);
        read = std::min(first + edit->Removed.size(), records.size());
    }
    for (; read < records.size(); ++read, ++write)
        if (write != read)
            records[write] = std::move(records[read]);
    records.resize(write);
}

void RestoreBlocks(std::vector<TGPSRecord>& records, const std::vector<RecordsEdit>& edits)
{
    std::size_t total = records.size();
    for (const RecordsEdit& edit : edits)
        total += edit.Removed.size();
    std::vector<TGPSRecord> restored;
    restored.reserve(total);
    std::size_t read = 0;
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        while (restored.size() < edit->At && read < records.size())
            restored.push_back(std::move(records[read++]));
        restored.insert(restored.end(), edit->Removed.begin(), edit->Removed.end());
    }
    while (read < records.size())
        restored.push_back(std::move(records[read++]));
    records.swap(restored);
}

} // namespace

ProjectHeader HeaderOf(const TProjectType& project)
{
    return {project.ProjectName, project.Subject,      project.Author,         project.Copyright,
            project.Customer,    project.CreationDate, project.ProjectComments};
}

void ApplyHeader(const ProjectHeader& header, TProjectType& project)
{
    project.ProjectName = header.ProjectName;
    project.Subject = header.Subject;
    project.Author = header.Author;
    project.Copyright = header.Copyright;
    project.Customer = header.Customer;
    project.CreationDate = header.CreationDate;
    project.ProjectComments = header.ProjectComments;
}

void EditHistory::Reset()
{
    steps_.clear();
    position_ = 0;
}

void EditHistory::Start(const TProjectType* current)
{
    if (current == nullptr || Exists())
        return;
    steps_.push_back({{}, std::make_shared<const ProjectHeader>(HeaderOf(*current))});
    position_ = 0;
}

void EditHistory::Record(const TProjectType& current, std::vector<RecordsEdit> edits)
{
    if (!Exists())
        return;
    steps_.resize(position_ + 1);
    // An unchanged header is shared with the state before, not copied.
    std::shared_ptr<const ProjectHeader> header = steps_.back().Header;
    ProjectHeader now = HeaderOf(current);
    if (!(now == *header))
        header = std::make_shared<const ProjectHeader>(std::move(now));
    steps_.push_back({std::move(edits), std::move(header)});
    position_ = steps_.size() - 1;
}

bool EditHistory::Undo(TProjectType& project)
{
    if (!CanUndo())
        return false;
    const Step& step = steps_[position_];
    if (IsBlockDeletion(step.Edits))
        RestoreBlocks(project.Records, step.Edits);
    else
        for (auto edit = step.Edits.rbegin(); edit != step.Edits.rend(); ++edit)
            Splice(project.Records, edit->At, edit->Inserted.size(), edit->Removed);
    --position_;
    ApplyHeader(*steps_[position_].Header, project);
    return true;
}

bool EditHistory::Redo(TProjectType& project)
{
    if (!CanRedo())
        return false;
    ++position_;
    const Step& step = steps_[position_];
    if (IsBlockDeletion(step.Edits))
        RemoveBlocks(project.Records, step.Edits);
    else
        for (const RecordsEdit& edit : step.Edits)
            Splice(project.Records, edit.At, edit.Removed.size(), edit.Inserted);
    ApplyHeader(*step.Header, project);
    return true;
}

} // namespace uzuviv
