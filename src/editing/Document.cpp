#include "editing/Document.h"

#include <algorithm>
#include <iterator>

namespace uzuviv {

bool Document::IsProjectModified() const
{
    return current_ && saved_ && ProjectsDiffer(*current_, *saved_);
}

void Document::CloseProject()
{
    current_.reset();
    saved_.reset();
    History.Reset();
    pending_.clear();
}

void Document::ResetProject()
{
    CloseProject();
    current_ = std::make_unique<TProjectType>();
    CurrentFileName.clear();
    saved_ = std::make_unique<TProjectType>(*current_);
    History.Start(current_.get());
}

void Document::MarkSaved()
{
    if (!current_)
        return;
    saved_ = std::make_unique<TProjectType>(*current_);
    History.Reset();
    pending_.clear();
    History.Start(current_.get());
}

void Document::AppendRecords(std::vector<TGPSRecord> records)
{
    if (!current_ || records.empty())
        return;
    auto& target = current_->Records;
    RecordsEdit edit;
    edit.At = target.size();
    target.insert(target.end(), records.begin(), records.end());
    edit.Inserted = std::move(records);
    pending_.push_back(std::move(edit));
}

void Document::RemoveRows(const RowSelection& rows)
{
    if (!current_)
        return;
    auto& records = current_->Records;
    // One pass whatever the number of blocks: the kept records move down, the removed ones move
    // into the undo step.
    std::vector<RecordsEdit> removed;
    std::size_t write = 0, read = 0;
    for (const RowSelection::Range& range : rows.Ranges()) {
        const std::size_t first = std::min(range.First, records.size());
        const std::size_t last = std::min(range.Last + 1, records.size());
        if (first >= last)
            continue;
        for (; read < first; ++read, ++write)
            if (write != read)
                records[write] = std::move(records[read]);
        RecordsEdit edit;
        edit.At = first;
        edit.Removed.assign(std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(first)),
                            std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(last)));
        removed.push_back(std::move(edit));
        read = last;
    }
    for (; read < records.size(); ++read, ++write)
        if (write != read)
            records[write] = std::move(records[read]);
    records.resize(write);
    // Last block first: each position then holds when the edits are replayed in order.
    pending_.insert(pending_.end(), std::make_move_iterator(removed.rbegin()),
                    std::make_move_iterator(removed.rend()));
}

void Document::ReplaceRecord(std::size_t row, TGPSRecord record)
{
    if (!current_ || row >= current_->Records.size())
        return;
    TGPSRecord& target = current_->Records[row];
    if (!RecordsDiffer(target, record))
        return;
    RecordsEdit edit;
    edit.At = row;
    edit.Removed.push_back(std::move(target));
    target = record;
    edit.Inserted.push_back(std::move(record));
    pending_.push_back(std::move(edit));
}

void Document::RecordUndoSnapshot()
{
    if (current_)
        History.Record(*current_, std::move(pending_));
    pending_.clear();
}

bool Document::Undo()
{
    return current_ && History.Undo(*current_);
}

bool Document::Redo()
{
    return current_ && History.Redo(*current_);
}

} // namespace uzuviv
