#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace uzuviv {

// The selected rows of the point list, as sorted, disjoint, non-adjacent ranges: selecting all of
// a million rows is one range.
class RowSelection {
public:
    struct Range {
        std::size_t First, Last;   // inclusive
        bool operator==(const Range&) const = default;
    };

    static RowSelection Single(std::size_t row);
    static RowSelection All(std::size_t count);

    // Adds rows first..last, merging with what is there.
    void Add(std::size_t first, std::size_t last);
    void Add(std::size_t row) { Add(row, row); }

    bool Empty() const { return ranges_.empty(); }
    std::size_t Count() const;
    std::optional<std::size_t> FirstRow() const;
    bool Contains(std::size_t row) const;
    const std::vector<Range>& Ranges() const { return ranges_; }
    bool operator==(const RowSelection&) const = default;

private:
    std::vector<Range> ranges_;
};

} // namespace uzuviv
