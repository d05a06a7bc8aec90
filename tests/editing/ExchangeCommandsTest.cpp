#include <gtest/gtest.h>

#include "TempFolder.h"
#include "editing/DocumentCommands.h"
#include "editing/FakeView.h"
#include "files/GpxFile.h"
#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {
namespace {

using testing::FakeView;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class ExchangeCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { LanguageIndex = 2; }
    void TearDown() override { LanguageIndex = 2; }

    void OpenProject(const std::string& fileName)
    {
        document.ResetProject();
        document.CurrentProject()->ProjectName = "Mine";
        document.CurrentProject()->Records.push_back({45.5L, -1.25L, 20, 2, 7, "Gate"});
        document.CurrentFileName = fileName;
        document.MarkSaved();
    }

    TempFolder folder;
    Document document;
    FakeView view;
    DocumentCommands commands{document, view};
};

TEST_F(ExchangeCommandsTest, ImportMakesANewUnsavedProjectNamedByTheFile)
{
    const struct {
        std::string metadata;
        std::string name;
    } cases[] = {{"<metadata><name>Tour</name><desc>Sub</desc></metadata>", "Tour"}, {"", "Projet Import\xC3\xA9"}};
    for (const auto& c : cases) {
        OpenProject(folder / "mine.gps");
        WriteBytes(folder / "in.gpx", "<gpx>" + c.metadata + "<wpt lat=\"1\" lon=\"2\"><name>A</name></wpt><wpt lat=\"3\" lon=\"4\"/></gpx>");
        view.FileChoices = {folder / "in.gpx"};
        LanguageIndex = 1;
        commands.ImportGpxFile1Click();
        LanguageIndex = 2;
        EXPECT_EQ(view.DialogsShown.back(), FileDialog::OpenGpxFile);
        const TProjectType& project = *document.CurrentProject();
        EXPECT_EQ(project.ProjectName, c.name);
        EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - " + c.name);
        ASSERT_EQ(project.Records.size(), 2u);
        EXPECT_EQ(project.Records[1].Comments, "...");
        EXPECT_TRUE(document.CurrentFileName.empty());
        EXPECT_TRUE(document.IsProjectModified());
        EXPECT_FALSE(document.History.CanUndo());
    }
    EXPECT_EQ(view.ProgressEvents.Events.front(), "show Importation du fichier GPX...");
}

TEST_F(ExchangeCommandsTest, AFailedImportKeepsThePreviousProjectAndShowsWhere)
{
    OpenProject(folder / "mine.gps");
    WriteBytes(folder / "bad.gpx", "<gpx>\n<wpt lat=\"north\" lon=\"2\"/></gpx>");
    view.FileChoices = {folder / "bad.gpx"};
    try {
        commands.ImportGpxFile1Click();
        FAIL() << "imported";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "GPX file, line 2, column 1: lat \"north\" is not a number");
    }
    EXPECT_EQ(document.CurrentProject()->ProjectName, "Mine");
    EXPECT_EQ(document.CurrentFileName, folder / "mine.gps");
    EXPECT_FALSE(document.IsProjectModified());
}

TEST_F(ExchangeCommandsTest, ExportProposesTheProjectFileNameAndChangesNothing)
{
    EXPECT_EQ(ExportName("/a/b.d/tour.gps", "Mine", ".gpx"), "/a/b.d/tour.gpx");
    EXPECT_EQ(ExportName("/a/b.d/tour", "Mine", ".kml"), "/a/b.d/tour.kml");
    EXPECT_EQ(ExportName("", "Paris/Nord", ".gpx"), "Paris_Nord.gpx");
    EXPECT_EQ(ExportName("", "", ".gpx"), "");

    OpenProject(folder / "mine.gps");
    document.CurrentProject()->Records[0].Comments = "edited";
    document.RecordUndoSnapshot();
    view.FileChoices = {folder / "out.gpx", folder / "out.kml", std::nullopt};
    commands.ExportGpxFile1Click();
    commands.ExportKmlFile1Click();
    commands.ExportGpxFile1Click();
    EXPECT_EQ(view.DialogsShown, (std::vector<FileDialog>{FileDialog::SaveGpxFile, FileDialog::SaveKmlFile, FileDialog::SaveGpxFile}));
    EXPECT_EQ(view.PresetNames, (std::vector<std::string>{folder / "mine.gpx", folder / "mine.kml", folder / "mine.gpx"}));
    TProjectType read;
    ReadGpxFile(folder / "out.gpx", read, view.ProgressEvents);
    EXPECT_FALSE(ProjectsDiffer(read, *document.CurrentProject()));
    EXPECT_NE(ReadBytes(folder / "out.kml").find("<name>edited</name>"), std::string::npos);
    EXPECT_EQ(document.CurrentFileName, folder / "mine.gps");
    EXPECT_TRUE(document.IsProjectModified());
    EXPECT_TRUE(document.History.CanUndo());
}

TEST_F(ExchangeCommandsTest, WhatTheFormatCannotHoldIsAWarningBeforeTheDialog)
{
    OpenProject("");
    document.CurrentProject()->Subject = "bell\x07";
    view.FileChoices = {folder / "out.kml"};
    commands.ExportGpxFile1Click();
    commands.ExportKmlFile1Click();   // KML holds no subject
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Kind, MessageKind::Warning);
    EXPECT_EQ(view.Messages[0].Text, "Project, subject: the text holds the control character U+0007. GPX and KML cannot hold this, so nothing was written.");
    EXPECT_EQ(view.DialogsShown, std::vector<FileDialog>{FileDialog::SaveKmlFile});
    EXPECT_EQ(view.PresetNames, std::vector<std::string>{"Mine.kml"});
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.kml"});

    document.CloseProject();
    commands.ExportGpxFile1Click();   // no project: nothing at all
    EXPECT_EQ(view.DialogsShown.size(), 1u);
}

} // namespace
} // namespace uzuviv
