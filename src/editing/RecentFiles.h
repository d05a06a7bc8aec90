#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace uzuviv {

// The recently opened project files, oldest first, without two paths that differ only in
// letter case.
class RecentFiles {
public:
    static constexpr std::size_t MaxRecentFiles = 5;

    // Moves/puts `path` at the most-recent end: an entry equal to it without regard to letter
    // case is removed first (the new spelling wins); otherwise, when full, the oldest goes.
    void Add(const std::string& path);
    const std::vector<std::string>& Entries() const { return entries_; }   // oldest first

    struct Slot {
        std::string Caption;
        std::size_t Position;   // 1-based in Entries
    };
    // The menu slots, top to bottom: slot k shows the k-th most recent file, caption
    // "k path" (k decimal, one blank, the full path), Position R - k + 1.
    std::vector<Slot> Slots() const;

private:
    std::vector<std::string> entries_;
};

// Letter case folded for comparing paths: ASCII, Latin-1, Latin Extended-A (which hold every
// letter of Windows-1252), basic Greek and Cyrillic. UTF-8 in, no locale dependence; bytes
// that are not valid UTF-8 compare exactly.
bool SamePathIgnoringCase(std::string_view a, std::string_view b);

} // namespace uzuviv
