#include "editing/RowSelection.h"

#include <algorithm>

namespace uzuviv {

RowSelection RowSelection::Single(std::size_t row)
{
    RowSelection selection;
    selection.Add(row);
    return selection;
}

RowSelection RowSelection::All(std::size_t count)
{
    RowSelection selection;
    if (count > 0)
        selection.Add(0, count - 1);
    return selection;
}

void RowSelection::Add(std::size_t first, std::size_t last)
{
    if (last < first)
        return;
    // Ranges that overlap or touch [first, last] merge into it.
    auto begin = std::lower_bound(ranges_.begin(), ranges_.end(), first,
                                  [](const Range& r, std::size_t row) { return r.Last + 1 < row; });
    auto end = begin;
    while (end != ranges_.end() && end->First <= last + 1) {
        first = std::min(first, end->First);
        last = std::max(last, end->Last);
        ++end;
    }
    begin = ranges_.erase(begin, end);
    ranges_.insert(begin, Range{first, last});
}

std::size_t RowSelection::Count() const
{
    std::size_t count = 0;
    for (const Range& r : ranges_)
        count += r.Last - r.First + 1;
    return count;
}

std::optional<std::size_t> RowSelection::FirstRow() const
{
    if (ranges_.empty())
        return std::nullopt;
    return ranges_.front().First;
}

bool RowSelection::Contains(std::size_t row) const
{
    auto it = std::lower_bound(ranges_.begin(), ranges_.end(), row,
                               [](const Range& r, std::size_t value) { return r.Last < value; });
    return it != ranges_.end() && it->First <= row;
}

} // namespace uzuviv
