#include "editing/Document.h"

#include <random>

#include <gtest/gtest.h>

namespace uzuviv {
namespace {

TGPSRecord Numbered(std::uint32_t n)
{
    TGPSRecord record;
    record.Latitude = n / 7.0L;
    record.Tolerance = static_cast<std::uint16_t>(n);
    record.Comments = "p" + std::to_string(n);
    return record;
}

// Random edits through the document, each recorded; the whole project is kept beside every
// step. Undo and redo must bring back exactly those projects, however the steps are walked.
TEST(EditHistoryTest, UndoAndRedoBringBackExactlyEachRecordedState)
{
    const unsigned seed = 20261207;
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    const auto below = [&random](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };

    Document document;
    document.ResetProject();
    std::vector<TProjectType> states{*document.CurrentProject()};
    std::size_t position = 0;
    std::uint32_t next = 1;
    for (int action = 0; action < 3000; ++action) {
        TProjectType& project = *document.CurrentProject();
        const std::size_t size = project.Records.size();
        switch (below(8)) {
        case 0:
        case 1: {
            std::vector<TGPSRecord> added(1 + below(4));
            for (TGPSRecord& r : added)
                r = Numbered(next++);
            document.AppendRecords(added);
            break;
        }
        case 2: {
            RowSelection rows;
            for (std::size_t k = below(4); k > 0 && size > 0; --k) {
                const std::size_t first = below(size);
                rows.Add(first, std::min(size - 1, first + below(3)));
            }
            document.RemoveRows(rows);
            break;
        }
        case 3:
            if (size > 0)
                document.ReplaceRecord(below(size), Numbered(next++));
            break;
        case 4:
            project.ProjectName = "name " + std::to_string(below(3));   // the properties dialog
            break;
        case 5:
            if (document.Undo())
                --position;
            ASSERT_FALSE(ProjectsDiffer(*document.CurrentProject(), states[position])) << action;
            continue;
        case 6:
            if (document.Redo())
                ++position;
            ASSERT_FALSE(ProjectsDiffer(*document.CurrentProject(), states[position])) << action;
            continue;
        default:
            break;
        }
        document.RecordUndoSnapshot();
        states.resize(position + 1);
        states.push_back(*document.CurrentProject());
        ++position;
        ASSERT_EQ(document.History.Position(), position);
        ASSERT_EQ(document.History.Count(), states.size());
    }
    while (document.Undo()) {
        --position;
        ASSERT_FALSE(ProjectsDiffer(*document.CurrentProject(), states[position]));
    }
    EXPECT_EQ(position, 0u);
    while (document.Redo()) {
        ++position;
        ASSERT_FALSE(ProjectsDiffer(*document.CurrentProject(), states[position]));
    }
    EXPECT_EQ(position, states.size() - 1);
}

TEST(EditHistoryTest, DeletingManyBlocksUndoesAndRedoesInOnePiece)
{
    Document document;
    document.ResetProject();
    std::vector<TGPSRecord> records;
    for (std::uint32_t n = 0; n < 1000; ++n)
        records.push_back(Numbered(n));
    document.AppendRecords(records);
    document.RecordUndoSnapshot();
    const TProjectType full = *document.CurrentProject();
    RowSelection everyOther;
    for (std::size_t row = 0; row < 1000; row += 2)
        everyOther.Add(row);
    document.RemoveRows(everyOther);
    document.RecordUndoSnapshot();
    const TProjectType half = *document.CurrentProject();
    ASSERT_EQ(half.Records.size(), 500u);
    EXPECT_EQ(half.Records[0].Tolerance, 1);
    EXPECT_EQ(half.Records[499].Tolerance, 999);
    ASSERT_TRUE(document.Undo());
    EXPECT_FALSE(ProjectsDiffer(*document.CurrentProject(), full));
    ASSERT_TRUE(document.Redo());
    EXPECT_FALSE(ProjectsDiffer(*document.CurrentProject(), half));
}

} // namespace
} // namespace uzuviv
