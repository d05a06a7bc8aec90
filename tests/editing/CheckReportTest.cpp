#include "editing/CheckReport.h"

#include <gtest/gtest.h>

#include "editing/FakeView.h"
#include "editing/TourWithMistakes.h"
#include "text/text.h"

namespace uzuviv {
namespace {

class CheckReportTest : public ::testing::Test {
protected:
    void SetUp() override { LanguageIndex = 2; }
    void TearDown() override { LanguageIndex = 2; }
};

TEST_F(CheckReportTest, NamesPointsAsTheListDoesInTheCurrentLanguage)
{
    CheckReport report;
    report.Update(nullptr);
    EXPECT_EQ(report.Lines(), std::vector<std::string>{"No problem found."});

    const TProjectType project = testing::TourWithMistakes();
    report.Update(&project);
    EXPECT_EQ(report.Lines(), (std::vector<std::string>{
        "Points 001 and 002: their zones overlap (150 m apart).",
        "Points 001, 002 play the same file 005.",
        "Point 003: a value the device cannot use (Mode, File).",
        "Point 006 is far from all others: 3\u00A0000\u00A0000 m from the nearest."}));

    // The language of the moment, without checking again.
    LanguageIndex = 1;
    EXPECT_EQ(report.Lines()[2], "Point 003 : valeur inutilisable par l'appareil (Mode, Fichier).");
    LanguageIndex = 4;
    EXPECT_EQ(report.Lines()[0],
              "Punkte 001 und 002: ihre Zonen überschneiden sich (150 m Abstand).");

    TProjectType mended = project;
    mended.Records.resize(2);
    mended.Records[1].FileRef = 6;
    mended.Records[1].Longitude = testing::EquatorKm(0.2);
    report.Update(&mended);
    EXPECT_EQ(report.Lines(), std::vector<std::string>{"Kein Problem gefunden."});
}

TEST_F(CheckReportTest, DoubleClickSelectsTheLinesPoints)
{
    const TProjectType project = testing::TourWithMistakes();
    CheckReport report;
    report.Update(&project);
    testing::FakeView view;
    int selectionChanges = 0;
    view.SelectionChanged = [&] { ++selectionChanges; };
    view.Selected = RowSelection::Single(4);

    report.SelectPoints(1, view);
    RowSelection expected;
    expected.Add(0, 1);
    EXPECT_EQ(view.Selected, expected);
    EXPECT_EQ(view.ScrolledTo, 0u);
    report.SelectPoints(3, view);
    EXPECT_EQ(view.Selected, RowSelection::Single(5));
    EXPECT_EQ(view.ScrolledTo, 5u);
    EXPECT_EQ(selectionChanges, 2);

    // The no-problem line, or a line beyond the list, selects nothing.
    report.Update(nullptr);
    report.SelectPoints(0, view);
    report.SelectPoints(7, view);
    EXPECT_EQ(view.Selected, RowSelection::Single(5));
    EXPECT_EQ(selectionChanges, 2);
}

} // namespace
} // namespace uzuviv
