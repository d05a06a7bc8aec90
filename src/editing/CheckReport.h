#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "editing/PointListView.h"
#include "editing/ProjectCheck.h"

namespace uzuviv {

// The items of TextTable::CheckTexts.
enum CheckTextItem { CheckCaption = 1, CheckNoProblem, CheckOverlap, CheckSharedFile,
                     CheckOutOfRange, CheckFarPoint, CheckHint, CheckClose };

// What the Check Project window shows: the findings of the last check, one line each in the
// current language, and the points each line is about.
class CheckReport {
public:
    // Checks the project again; no project has nothing to find.
    void Update(const TProjectType* project);

    // One line per finding, naming the points by their numbers in the list and the distance
    // in whole metres (grouped by three digits from 10,000 on); the single line "No problem found." when there is none. Looked up in
    // the current language at each call.
    std::vector<std::string> Lines() const;

    // Selects the points of line `line` in the list and scrolls to the first of them; the
    // no-problem line selects nothing.
    void SelectPoints(std::size_t line, PointListView& list) const;

    const std::vector<ProjectFinding>& Findings() const { return findings_; }

private:
    std::vector<ProjectFinding> findings_;
    // What a line says besides the points, taken from the project when it was checked: the
    // shared file number, or the list columns of the values out of range.
    std::vector<std::uint16_t> fileRefs_;
    std::vector<std::vector<int>> columns_;
    std::size_t recordCount_ = 0;
};

} // namespace uzuviv
