#include "editing/CheckReport.h"

#include <cmath>
#include <initializer_list>

#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {

namespace {

// The table text with %1, %2, ... replaced by the values in order.
std::string FillIn(const std::string& pattern, std::initializer_list<std::string> values)
{
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto slot = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && slot < values.size()) {
            text += values.begin()[slot];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

// A point's number as the list shows it.
std::string PointNumber(std::size_t point)
{
    return PaddedInteger(static_cast<std::int64_t>(point) + 1, 3);
}

std::string PointNumbers(const std::vector<std::size_t>& points)
{
    std::string text;
    for (std::size_t point : points)
        text += (text.empty() ? "" : ", ") + PointNumber(point);
    return text;
}

// Whole metres, in groups of three digits from 10,000 on (a no-break space between groups, the
// same in every language): thousands of kilometres stay readable.
std::string WholeMetres(double meters)
{
    const std::string digits = std::to_string(std::llround(meters));
    if (digits.size() <= 4)
        return digits;
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += "\u00A0";
        text += digits[i];
    }
    return text;
}

} // namespace

void CheckReport::Update(const TProjectType* project)
{
    findings_.clear();
    fileRefs_.clear();
    columns_.clear();
    recordCount_ = project ? project->Records.size() : 0;
    if (!project)
        return;
    findings_ = CheckProject(*project);
    for (const ProjectFinding& finding : findings_) {
        const TGPSRecord& first = project->Records[finding.Points.front()];
        fileRefs_.push_back(first.FileRef);
        columns_.push_back(finding.Kind == FindingKind::OutOfRange ? OutOfRangeColumns(first)
                                                                   : std::vector<int>{});
    }
}

std::vector<std::string> CheckReport::Lines() const
{
    std::vector<std::string> lines;
    if (findings_.empty())
        lines.push_back(LanguageText(TextTable::CheckTexts, CheckNoProblem));
    for (std::size_t i = 0; i < findings_.size(); ++i) {
        const ProjectFinding& finding = findings_[i];
        const std::string first = PointNumber(finding.Points.front());
        switch (finding.Kind) {
        case FindingKind::OverlappingZones:
            lines.push_back(FillIn(LanguageText(TextTable::CheckTexts, CheckOverlap),
                                   {first, PointNumber(finding.Points.back()),
                                    WholeMetres(finding.Meters)}));
            break;
        case FindingKind::SharedFileReference:
            lines.push_back(FillIn(LanguageText(TextTable::CheckTexts, CheckSharedFile),
                                   {PointNumbers(finding.Points), PaddedInteger(fileRefs_[i], 3)}));
            break;
        case FindingKind::OutOfRange: {
            std::string names;
            for (int column : columns_[i])
                names += (names.empty() ? "" : ", ") + LanguageText(TextTable::ListTexts, column + 1);
            lines.push_back(FillIn(LanguageText(TextTable::CheckTexts, CheckOutOfRange), {first, names}));
            break;
        }
        case FindingKind::FarFromOthers:
            lines.push_back(FillIn(LanguageText(TextTable::CheckTexts, CheckFarPoint),
                                   {first, WholeMetres(finding.Meters)}));
            break;
        }
    }
    return lines;
}

void CheckReport::SelectPoints(std::size_t line, PointListView& list) const
{
    if (line >= findings_.size())
        return;
    RowSelection rows;
    for (std::size_t point : findings_[line].Points)
        if (point < recordCount_)
            rows.Add(point);
    if (rows.Empty())
        return;
    list.SetSelection(rows);
    list.ScrollToRow(*rows.FirstRow());
}

} // namespace uzuviv
