#include <gtest/gtest.h>

#include "TempFolder.h"
#include "editing/DocumentCommands.h"
#include "editing/FakeView.h"
#include "editing/PointCommands.h"
#include "files/UnitOfCodes.h"
#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {
namespace {

using testing::FakeView;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class GPSFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LanguageIndex = 2;
        view.SelectionChanged = [this]() { points.ListView1SelectItem(); };
    }

    void OpenProjectWithPoints(int count)
    {
        document.ResetProject();
        document.CurrentProject()->ProjectName = "Mine";
        for (int i = 0; i < count; ++i) {
            TGPSRecord record;
            record.Latitude = 45.5L + i;
            record.Longitude = -1.25L;
            record.Tolerance = 20;
            record.FileRef = 7;
            document.CurrentProject()->Records.push_back(record);
        }
        document.CurrentFileName = folder.File("mine.gps");
        document.MarkSaved();
    }

    TempFolder folder;
    Document document;
    FakeView view;
    DocumentCommands commands{document, view};
    PointCommands points{document, view, view};
};

TEST_F(GPSFileCommandsTest, BuildWritesThePointsAndChangesNothingElse)
{
    OpenProjectWithPoints(2);
    document.AppendRecords({TGPSRecord{}});
    document.RecordUndoSnapshot();
    const std::string csv = folder.File("out.csv");
    view.FileChoices = {csv, std::nullopt};
    commands.CreateGPSFile1Click();
    commands.CreateGPSFile1Click();
    EXPECT_EQ(view.PresetNames, (std::vector<std::string>{"gps.csv", "gps.csv"}));
    EXPECT_EQ(view.DialogsShown[0], FileDialog::SaveGPSFile);
    EXPECT_EQ(ReadBytes(csv), "Num;Latitude(D.d);Longitude(D.d);Tolerance;Mode;File;Comments...\r\n"
                              "1;45.500000;-1.250000;20;1;007;...\r\n"
                              "2;46.500000;-1.250000;20;1;007;...\r\n"
                              "3;0.000000;0.000000;0;1;001;...\r\n");
    EXPECT_EQ(document.CurrentFileName, folder.File("mine.gps"));
    EXPECT_TRUE(document.IsProjectModified());
    EXPECT_TRUE(document.History.CanUndo());
    EXPECT_EQ(view.ProgressEvents.Events.front(), "show Creating GPS file...");
}

TEST_F(GPSFileCommandsTest, ImportMakesANewUnsavedProjectFromThePoints)
{
    OpenProjectWithPoints(0);
    const std::string csv = folder.File("in.csv");
    WriteBytes(csv, "Num;Latitude(D.d);Longitude(D.d);Tolerance;Mode;File;Comments...\r\n"
                    "1;45.500000;-1.250000;20;1;007;Gate;left\r\n"
                    "2;10;20;0;3;005;\r\n"
                    "3;1;2;3;2;1;x\r\n"
                    "\r\n"
                    "4;9;9;9;9;9;after the empty line\r\n");
    LanguageIndex = 1;
    view.FileChoices = {csv};
    commands.ImportGPSFile1Click();
    const TProjectType& project = *document.CurrentProject();
    EXPECT_EQ(project.ProjectName, "Projet Importé");
    EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - Projet Importé");
    ASSERT_EQ(project.Records.size(), 3u);
    EXPECT_EQ(project.Records[0].Comments, "Gate");
    EXPECT_EQ(project.Records[1].Mode, 3);
    EXPECT_EQ(project.Records[1].Comments, "");
    EXPECT_EQ(project.ProjectComments, std::vector<std::string>{"..."});
    EXPECT_TRUE(project.Author.empty());
    EXPECT_TRUE(document.CurrentFileName.empty());
    EXPECT_TRUE(document.IsProjectModified());
    EXPECT_FALSE(document.History.CanUndo());
    // Adding then undoing leaves every imported point in place.
    points.AddNewPoint();
    points.Undo1Click();
    EXPECT_EQ(document.CurrentProject()->Records.size(), 3u);
    LanguageIndex = 2;
}

TEST_F(GPSFileCommandsTest, AFailedImportKeepsThePreviousProjectAndShowsTheFieldsText)
{
    OpenProjectWithPoints(2);
    document.CurrentProject()->Records[0].Comments = "unsaved edit";
    const std::string csv = folder.File("short.csv");
    const std::string bytes = "header\r\n7;10.5;20.25\r\n";
    WriteBytes(csv, bytes);
    view.Answers = {MessageAnswer::No};
    view.FileChoices = {csv};
    try {
        commands.ImportGPSFile1Click();
        FAIL() << "no failure";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'' n'est pas une valeur entière correcte");
    }
    EXPECT_EQ(document.CurrentProject()->ProjectName, "Mine");
    EXPECT_EQ(document.CurrentProject()->Records[0].Comments, "unsaved edit");
    EXPECT_EQ(document.CurrentFileName, folder.File("mine.gps"));
    EXPECT_EQ(ReadBytes(csv), bytes);
}

TEST_F(GPSFileCommandsTest, ImportAsksToSaveFirstAndCancelChangesNothing)
{
    OpenProjectWithPoints(1);
    document.CurrentProject()->Records[0].Tolerance = 999;
    view.Answers = {MessageAnswer::Yes};
    view.FileChoices = {std::nullopt};   // Save As... no: the project has a file, so it saves in place
    WriteBytes(folder.File("mine.gps"), "old");
    commands.ImportGPSFile1Click();
    EXPECT_EQ(view.Messages.size(), 1u);
    EXPECT_FALSE(document.IsProjectModified());   // saved by the prompt
    EXPECT_EQ(document.CurrentProject()->Records[0].Tolerance, 999);  // the import was cancelled
}

} // namespace
} // namespace uzuviv
