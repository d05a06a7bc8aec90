#include "editing/PointCommands.h"

#include <gtest/gtest.h>

#include "editing/FakeView.h"
#include "text/text.h"

namespace uzuviv {
namespace {

using testing::FakeView;

class PointCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LanguageIndex = 2;
        view.SelectionChanged = [this]() { points.ListView1SelectItem(); };
        document.ResetProject();
    }

    std::vector<TGPSRecord>& Records() { return document.CurrentProject()->Records; }

    // Adds `count` points through the panel-less command, each with its number as tolerance.
    void AddPoints(int count)
    {
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(points.AddNewPoint());
            TGPSRecord numbered = Records().back();
            numbered.Tolerance = static_cast<std::uint16_t>(Records().size());
            document.ReplaceRecord(Records().size() - 1, numbered);
            points.RecordUndoSnapshot();
        }
    }

    std::vector<int> Tolerances()
    {
        std::vector<int> values;
        for (const TGPSRecord& r : Records())
            values.push_back(r.Tolerance);
        return values;
    }

    Document document;
    FakeView view;
    PointCommands points{document, view, view};
};

TEST_F(PointCommandsTest, AddAppendsSelectsAloneAndStopsAt150)
{
    AddPoints(3);
    view.Selected = RowSelection::Single(1);
    ASSERT_TRUE(points.AddNewPoint());
    EXPECT_EQ(Records().size(), 4u);
    EXPECT_EQ(view.Selected, RowSelection::Single(3));
    EXPECT_EQ(view.Panel[PanelBox::Comments], "...");  // the new point was loaded

    Records().resize(149);
    EXPECT_TRUE(points.AddNewPoint());
    EXPECT_EQ(Records().size(), 150u);
    const std::size_t snapshots = document.History.Count();
    EXPECT_FALSE(points.AddNewPoint());
    EXPECT_EQ(Records().size(), 150u);
    EXPECT_EQ(document.History.Count(), snapshots);
    ASSERT_FALSE(view.Messages.empty());
    EXPECT_EQ(view.Messages.back().Kind, MessageKind::Warning);
    EXPECT_EQ(view.Messages.back().Text, "Project full, you cannot add more new GPS record!");
}

TEST_F(PointCommandsTest, DeleteNeedsTheListFocusAndOneUndoBringsAllBack)
{
    AddPoints(5);
    view.Selected = RowSelection::Single(1);
    view.Selected.Add(3);
    view.ListFocused = false;
    const std::size_t snapshots = document.History.Count();
    points.DeleteSelectedPoints();
    EXPECT_EQ(Records().size(), 5u);
    EXPECT_EQ(document.History.Count(), snapshots);

    view.ListFocused = true;
    points.DeleteSelectedPoints();
    EXPECT_EQ(Tolerances(), (std::vector<int>{1, 3, 5}));
    EXPECT_TRUE(view.Selected.Empty());
    points.Undo1Click();
    EXPECT_EQ(Tolerances(), (std::vector<int>{1, 2, 3, 4, 5}));
    points.Redo1Click();
    EXPECT_EQ(Tolerances(), (std::vector<int>{1, 3, 5}));
}

TEST_F(PointCommandsTest, CutCopyPasteAcrossProjects)
{
    AddPoints(4);
    view.Selected = RowSelection::Single(0);
    view.Selected.Add(2, 3);
    view.ListFocused = false;   // an edit box has the focus: Cut only fills the store
    points.Cut1Click();
    EXPECT_EQ(Records().size(), 4u);
    ASSERT_TRUE(document.PointClipboard);
    EXPECT_EQ(document.PointClipboard->Records.size(), 3u);

    view.ListFocused = true;
    view.Selected = RowSelection::Single(1);
    points.Cut1Click();
    EXPECT_EQ(Tolerances(), (std::vector<int>{1, 3, 4}));
    ASSERT_EQ(document.PointClipboard->Records.size(), 1u);
    EXPECT_EQ(document.PointClipboard->Records[0].Tolerance, 2);

    view.Selected = RowSelection::All(3);
    points.Copy1Click();
    view.Selected = {};
    points.Copy1Click();   // nothing selected: the store keeps its points
    EXPECT_EQ(document.PointClipboard->Records.size(), 3u);

    // Another project: the store survives and pastes at the end, again and again.
    document.ResetProject();
    AddPoints(1);
    points.Paste1Click();
    points.Paste1Click();
    EXPECT_EQ(Tolerances(), (std::vector<int>{1, 1, 3, 4, 1, 3, 4}));
    EXPECT_TRUE(view.Selected.Empty());
    points.Undo1Click();
    EXPECT_EQ(Tolerances(), (std::vector<int>{1, 1, 3, 4}));
}

TEST_F(PointCommandsTest, PasteMayCrossTheLimit)
{
    Records().resize(148);
    document.PointClipboard.emplace();
    document.PointClipboard->Records.resize(5);
    points.Paste1Click();
    EXPECT_EQ(Records().size(), 153u);
}

TEST_F(PointCommandsTest, HistoryDropsRedoOnANewEditAndRestoresProperties)
{
    document.CurrentProject()->ProjectName = "Before";
    points.AddNewPoint();  // a snapshot with the name
    document.CurrentProject()->ProjectName = "After";
    points.AddNewPoint();
    points.AddNewPoint();
    points.Undo1Click();
    points.Undo1Click();
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_EQ(document.CurrentProject()->ProjectName, "Before");
    EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - Before");
    EXPECT_TRUE(document.History.CanRedo());
    points.AddNewPoint();
    EXPECT_FALSE(document.History.CanRedo());
    points.Undo1Click();
    points.Undo1Click();
    EXPECT_TRUE(Records().empty());
    EXPECT_FALSE(document.History.CanUndo());
    points.Undo1Click();  // at the start: nothing happens
    EXPECT_TRUE(Records().empty());
}

TEST_F(PointCommandsTest, SetDataStoresIntoTheFirstSelectedAndWarnsOnce)
{
    AddPoints(3);
    view.Selected = RowSelection::Single(2);
    view.Selected.Add(1);
    points.ListView1SelectItem();
    EXPECT_EQ(view.Panel[PanelBox::Tolerance], "2");
    view.Panel[PanelBox::LatitudeDecimal] = "91";
    view.Panel[PanelBox::Tolerance] = "abc";
    view.Panel[PanelBox::Comments] = "Col";
    const std::size_t snapshots = document.History.Count();
    points.SetPointData();
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Wrong Tolerance value!");
    EXPECT_EQ(Records()[1].Comments, "Col");
    EXPECT_EQ(Records()[1].Latitude, 0);
    EXPECT_EQ(Records()[1].Tolerance, 2);
    EXPECT_EQ(Records()[2].Comments, "...");
    EXPECT_EQ(view.Panel[PanelBox::Tolerance], "2");  // reloaded: the refused box shows the stored value
    EXPECT_EQ(document.History.Count(), snapshots + 1);
    // Every run records a snapshot, even when nothing changed.
    points.SetPointData();
    EXPECT_EQ(document.History.Count(), snapshots + 2);
}

TEST_F(PointCommandsTest, PanelNewAddsFromTheTypedBoxesInTwoUndoSteps)
{
    AddPoints(1);
    view.Panel = {};
    view.Panel[PanelBox::LatitudeDecimal] = "45.5";
    view.Panel[PanelBox::Comments] = "";
    view.Panel.CheckedMode = 2;
    points.PanelNewClick();
    ASSERT_EQ(Records().size(), 2u);
    EXPECT_EQ(Records()[1].Latitude, 45.5L);
    EXPECT_EQ(Records()[1].Comments, "...");
    EXPECT_EQ(Records()[1].Mode, 2);
    EXPECT_EQ(Records()[1].FileRef, 1);
    points.Undo1Click();
    ASSERT_EQ(Records().size(), 2u);
    EXPECT_EQ(Records()[1].Latitude, 0);
    points.Undo1Click();
    EXPECT_EQ(Records().size(), 1u);
}

TEST_F(PointCommandsTest, DisplayModeSwitchReloadsWithoutChangingOrRecording)
{
    AddPoints(1);
    Records()[0].Latitude = 45.764043L;
    view.Selected = RowSelection::Single(0);
    const std::size_t snapshots = document.History.Count();
    points.SwitchDisplayMode(4);
    EXPECT_EQ(view.Panel[PanelBox::LatitudeSeconds], "50");
    // Set data without touching a box keeps the point where it was.
    points.SetPointData();
    EXPECT_EQ(Records()[0].Latitude, 45.764043L);
    EXPECT_TRUE(view.Messages.empty());
    EXPECT_EQ(document.History.Count(), snapshots + 1);
}

TEST_F(PointCommandsTest, DoubleClickHighlightsOnlyOnARow)
{
    AddPoints(2);
    points.ListView1DblClick(std::nullopt, 3);
    EXPECT_TRUE(view.Highlights.empty());
    EXPECT_EQ(view.HighlightClears, 1);
    points.ListView1DblClick(1, 0);
    ASSERT_EQ(view.Highlights.size(), 1u);
    EXPECT_TRUE(view.Highlights[0].SetDataRed);
    EXPECT_FALSE(view.Highlights[0].Focus);
    EXPECT_EQ(view.TimerStarts, 1);

    // The mode column points at the radio button of the row's own mode, whatever the panel has
    // checked (changed and not stored, or another row loaded).
    const std::pair<int, int> modes[] = {{1, 1}, {2, 2}, {3, 3}, {0, 1}, {9, 1}};
    for (const auto& [stored, focused] : modes) {
        Records()[1].Mode = static_cast<std::uint8_t>(stored);
        view.Panel.CheckedMode = 3 - stored % 3;
        points.ListView1DblClick(1, 4);
        EXPECT_EQ(view.Highlights.back().FocusMode, focused) << "mode " << stored;
    }
}

} // namespace
} // namespace uzuviv
