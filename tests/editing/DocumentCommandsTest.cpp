#include "editing/DocumentCommands.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "TempFolder.h"
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

const std::string ModifiedQuestion =
    "The current project has been modified. Do you want to save these changes?";

ProjectProperties Named(const std::string& name)
{
    ProjectProperties values;
    values.ProjectName = name;
    values.ProjectComments = {"..."};
    return values;
}

class DocumentCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { LanguageIndex = 2; }

    // A project named `name` with one point, saved to `path`.
    void MakeSavedProject(const std::string& path, const std::string& name = "Saved")
    {
        view.PropertiesAnswers.push_back(Named(name));
        commands.New2Click();
        document.CurrentProject()->Records.push_back(TGPSRecord{});
        view.FileChoices.push_back(path);
        ASSERT_TRUE(commands.SaveAs1Click());
        ASSERT_FALSE(document.IsProjectModified());
    }

    TempFolder folder;
    Document document;
    FakeView view;
    DocumentCommands commands{document, view};
};

TEST_F(DocumentCommandsTest, NewProjectTakesTheDialogValuesAndCountsAsModified)
{
    ProjectProperties values = Named("Tour de Lyon");
    values.Author = "Anne";
    view.PropertiesAnswers.push_back(values);
    commands.New2Click();

    ASSERT_EQ(view.PropertiesShown.size(), 1u);
    EXPECT_EQ(view.PropertiesShown[0].ProjectName, "New Project");
    EXPECT_EQ(view.PropertiesShown[0].ProjectComments, std::vector<std::string>{"..."});
    ASSERT_TRUE(document.HasProject());
    EXPECT_EQ(document.CurrentProject()->ProjectName, "Tour de Lyon");
    EXPECT_EQ(document.CurrentProject()->Author, "Anne");
    EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - Tour de Lyon");
    EXPECT_TRUE(document.CurrentFileName.empty());
    EXPECT_TRUE(document.IsProjectModified());
    // The history starts from the project as the dialog filled it.
    EXPECT_EQ(document.History.Count(), 1u);
    EXPECT_FALSE(document.History.CanUndo());
    EXPECT_GT(view.Refreshes, 0);
}

TEST_F(DocumentCommandsTest, NewProjectCancelledKeepsThePreviousProject)
{
    MakeSavedProject(folder.File("a.gps"));
    view.PropertiesAnswers.push_back(std::nullopt);
    commands.New2Click();
    EXPECT_EQ(document.CurrentProject()->ProjectName, "Saved");
    EXPECT_EQ(document.CurrentProject()->Records.size(), 1u);
    EXPECT_EQ(document.CurrentFileName, folder.File("a.gps"));
}

TEST_F(DocumentCommandsTest, ModifiedIsAnExactComparisonNotAFlag)
{
    MakeSavedProject(folder.File("a.gps"));
    auto& record = document.CurrentProject()->Records[0];
    record.Tolerance = 20;
    EXPECT_TRUE(document.IsProjectModified());
    record.Tolerance = 0;
    EXPECT_FALSE(document.IsProjectModified());
    record.Latitude = 1e-4000L;  // a difference in the last bits still counts
    EXPECT_TRUE(document.IsProjectModified());
    record.Latitude = 0;
    document.CurrentProject()->Author = "a";
    EXPECT_TRUE(document.IsProjectModified());
    document.CurrentProject()->Author.clear();
    // Unchanged: leaving asks nothing.
    EXPECT_TRUE(commands.FormClose());
    EXPECT_TRUE(view.Messages.empty());
}

TEST_F(DocumentCommandsTest, SaveThenOpenGivesTheSameProjectUnmodified)
{
    const std::string path = folder.File("tour.gps");
    MakeSavedProject(path, "Tour");
    const TProjectType saved = *document.CurrentProject();
    EXPECT_TRUE(std::filesystem::exists(path));

    view.FileChoices.push_back(path);
    commands.Open1Click();
    ASSERT_TRUE(document.HasProject());
    EXPECT_FALSE(ProjectsDiffer(saved, *document.CurrentProject()));
    EXPECT_FALSE(document.IsProjectModified());
    EXPECT_EQ(document.CurrentFileName, path);
    EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - Tour");
    EXPECT_FALSE(document.History.CanUndo());
}

TEST_F(DocumentCommandsTest, SavePromptPaths)
{
    struct Case {
        const char* name;
        bool hasFile;
        MessageAnswer answer;
        bool cancelSaveAs;
        bool operationGoesOn;
    };
    const Case cases[] = {
        {"No discards and goes on", false, MessageAnswer::No, false, true},
        {"Yes without a file asks for one, then goes on", false, MessageAnswer::Yes, false, true},
        {"Yes, then Save As cancelled: stops", false, MessageAnswer::Yes, true, false},
        {"Yes with a file saves in place and goes on", true, MessageAnswer::Yes, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder here;
        Document doc;
        FakeView fake;
        DocumentCommands cmd(doc, fake);
        fake.PropertiesAnswers.push_back(Named("First"));
        cmd.New2Click();
        if (c.hasFile) {
            fake.FileChoices.push_back(here.File("first.gps"));
            ASSERT_TRUE(cmd.SaveAs1Click());
        }
        doc.CurrentProject()->Records.push_back(TGPSRecord{});
        ASSERT_TRUE(doc.IsProjectModified());

        fake.Answers.push_back(c.answer);
        if (c.answer == MessageAnswer::Yes && !c.hasFile)
            fake.FileChoices.push_back(c.cancelSaveAs ? std::nullopt
                                                      : std::optional(here.File("saved.gps")));
        if (c.operationGoesOn)
            fake.PropertiesAnswers.push_back(Named("Second"));
        cmd.New2Click();

        ASSERT_EQ(fake.Messages.size(), 1u);
        EXPECT_EQ(fake.Messages[0].Kind, MessageKind::Confirmation);
        EXPECT_EQ(fake.Messages[0].Text, ModifiedQuestion);
        EXPECT_EQ(doc.CurrentProject()->ProjectName, c.operationGoesOn ? "Second" : "First");
        if (!c.operationGoesOn) {
            EXPECT_EQ(doc.CurrentProject()->Records.size(), 1u);
            EXPECT_TRUE(doc.IsProjectModified());
        }
        if (c.answer == MessageAnswer::Yes && !c.cancelSaveAs) {
            TProjectType reread;
            testing::RecordingProgress progress;
            LoadProjectFile(c.hasFile ? here.File("first.gps") : here.File("saved.gps"), reread,
                            progress);
            EXPECT_EQ(reread.Records.size(), 1u);
        }
    }
}

TEST_F(DocumentCommandsTest, FailedSaveInThePromptStopsTheOperationAndKeepsEverything)
{
    const std::string path = folder.File("kept.gps");
    MakeSavedProject(path, "Kept");
    const std::string before = ReadBytes(path);
    document.CurrentProject()->Records.push_back(TGPSRecord{});
    // Make the folder read-only so the write fails... unless running as root, where a read-only
    // target file is what refuses the write.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read
                                           | std::filesystem::perms::group_read);

    view.Answers.push_back(MessageAnswer::Yes);
    EXPECT_THROW(commands.FormClose(), InOutError);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_TRUE(document.HasProject());
    EXPECT_EQ(document.CurrentProject()->Records.size(), 2u);
    EXPECT_TRUE(document.IsProjectModified());
    EXPECT_EQ(document.CurrentFileName, path);

    view.Answers.push_back(MessageAnswer::Yes);
    EXPECT_THROW(commands.Open1Click(), InOutError);
    EXPECT_EQ(document.CurrentProject()->Records.size(), 2u);
    EXPECT_TRUE(view.FileChoices.empty());
}

TEST_F(DocumentCommandsTest, SaveOfADeletedFileAsksForANewName)
{
    const std::string path = folder.File("gone.gps");
    MakeSavedProject(path);
    std::filesystem::remove(path);
    view.FileChoices.push_back(folder.File("again.gps"));
    EXPECT_TRUE(commands.Save1Click());
    EXPECT_EQ(view.DialogsShown.back(), FileDialog::SaveProject);
    EXPECT_EQ(document.CurrentFileName, folder.File("again.gps"));
    EXPECT_TRUE(std::filesystem::exists(folder.File("again.gps")));
}

TEST_F(DocumentCommandsTest, SaveRestartsTheHistoryAndRefreshesTheCommands)
{
    MakeSavedProject(folder.File("h.gps"));
    document.AppendRecords({TGPSRecord{}});
    document.RecordUndoSnapshot();
    document.AppendRecords({TGPSRecord{}});
    document.RecordUndoSnapshot();
    ASSERT_TRUE(document.History.CanUndo());
    const int refreshes = view.Refreshes;
    EXPECT_TRUE(commands.Save1Click());
    EXPECT_FALSE(document.History.CanUndo());
    EXPECT_FALSE(document.History.CanRedo());
    EXPECT_GT(view.Refreshes, refreshes);
}

TEST_F(DocumentCommandsTest, RefusedVersionsWarnAndLeaveAnEmptyProjectWithoutFile)
{
    struct Case {
        const char* version;
        std::uint8_t language;
        const char* message;
    };
    const Case cases[] = {
        {"2.0.0", 2, "This project file version 2.0.0 is not compatible with your current version of program!"},
        {"1.0.1", 1, "Cette version de fichier projet 1.0.1 n'est pas compatible avec la version actuelle du programme!"},
        {"0.9.0", 2, "Unkown project file version!"},
        {"0.0.9", 4, "Version des Dateiprojekts unbekannt!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        LanguageIndex = c.language;
        const std::string path = folder.File(std::string("v") + c.version + ".gps");
        WriteBytes(path, std::string("DAV Uzuviv Project File of OVRA\r\nFile version : \r\n") + c.version
                             + "\r\n*****\r\nName\r\n\r\n\r\n\r\n\r\n\r\n0\r\n*****\r\n0\r\n*****\r\n");
        view.Messages.clear();
        view.FileChoices.push_back(path);
        commands.Open1Click();
        ASSERT_EQ(view.Messages.size(), 1u);
        EXPECT_EQ(view.Messages[0].Kind, MessageKind::Warning);
        EXPECT_EQ(view.Messages[0].Text, c.message);
        ASSERT_TRUE(document.HasProject());
        EXPECT_FALSE(ProjectsDiffer(*document.CurrentProject(), TProjectType{}));
        EXPECT_TRUE(document.CurrentFileName.empty());
        EXPECT_FALSE(document.IsProjectModified());
    }
}

TEST_F(DocumentCommandsTest, FailedOpenLeavesTheEmptyDefaultProjectWithoutFileName)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char* failure;
    };
    const std::string head = "DAV Uzuviv Project File of OVRA\r\nFile version : \r\n1.0.0\r\n*****\r\n"
                             "P\r\nS\r\nA\r\nC\r\nCu\r\nD\r\n";
    const Case cases[] = {
        {"bad point count", head + "0\r\n*****\r\nabc\r\n*****\r\n",
         "'abc' n'est pas une valeur entière correcte"},
        {"bad latitude", head + "0\r\n*****\r\n1\r\n*****\r\n4a5\r\n",
         "'4a5' n'est pas une valeur en virgule flottante correcte"},
        {"truncated", head + "0\r\n*****\r\n2\r\n*****\r\n1\r\n2\r\n3\r\n",
         "Lecture au-delà de la fin de fichier"},
        {"huge count", head + "2000000000\r\n", "Lecture au-delà de la fin de fichier"},
        {"binary", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10), nullptr},
        {"version not a number", "DAV\r\nFile version : \r\nx.0.0\r\n",
         "'x' n'est pas une valeur entière correcte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeSavedProject(folder.File("previous.gps"));
        const std::string path = folder.File("broken.gps");
        WriteBytes(path, c.bytes);
        view.FileChoices.push_back(path);
        try {
            commands.Open1Click();
            ADD_FAILURE() << "the open did not fail";
        } catch (const std::exception& e) {
            if (c.failure) {
                EXPECT_STREQ(e.what(), c.failure);
            }
        }
        ASSERT_TRUE(document.HasProject());
        EXPECT_FALSE(ProjectsDiffer(*document.CurrentProject(), TProjectType{}));
        EXPECT_TRUE(document.CurrentFileName.empty());
        EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - ");
    }
}

TEST_F(DocumentCommandsTest, MissingFileIsReportedAndNothingIsKept)
{
    view.FileChoices.push_back(folder.File("nowhere.gps"));
    try {
        commands.Open1Click();
        FAIL() << "no failure";
    } catch (const InOutError& e) {
        EXPECT_EQ(e.Code(), 2);
        EXPECT_STREQ(e.what(), "Fichier introuvable");
    }
    EXPECT_TRUE(document.CurrentFileName.empty());
}

TEST_F(DocumentCommandsTest, FirstActivationReopensTheLastProjectOnce)
{
    const std::string path = folder.File("last.gps");
    MakeSavedProject(path, "Last");
    document.CloseProject();

    Document fresh;
    FakeView freshView;
    DocumentCommands start(fresh, freshView);
    fresh.CurrentFileName = path;
    start.FormActivate();
    ASSERT_TRUE(fresh.HasProject());
    EXPECT_EQ(fresh.CurrentProject()->ProjectName, "Last");
    EXPECT_EQ(fresh.CurrentFileName, path);
    EXPECT_FALSE(fresh.IsProjectModified());

    fresh.CurrentProject()->Records.clear();
    start.FormActivate();  // a later activation does not reopen
    EXPECT_TRUE(fresh.CurrentProject()->Records.empty());

    Document missing;
    DocumentCommands startMissing(missing, freshView);
    missing.CurrentFileName = folder.File("deleted.gps");
    startMissing.FormActivate();
    EXPECT_FALSE(missing.HasProject());
    EXPECT_EQ(missing.CurrentFileName, folder.File("deleted.gps"));
}

TEST_F(DocumentCommandsTest, PropertiesEditIsOneUndoStepAndAnUnchangedOkNone)
{
    MakeSavedProject(folder.File("p.gps"), "Before");
    PointCommands points{document, view, view};
    ProjectProperties values = Named("After");
    values.ProjectComments = {};
    view.PropertiesAnswers.push_back(values);
    commands.Property1Click();
    EXPECT_EQ(document.CurrentProject()->ProjectName, "After");
    EXPECT_TRUE(document.CurrentProject()->ProjectComments.empty());
    EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - After");
    EXPECT_TRUE(document.IsProjectModified());
    EXPECT_EQ(document.History.Count(), 2u);

    // Undo brings the old properties back, Redo the new ones, with the title.
    points.Undo1Click();
    EXPECT_EQ(document.CurrentProject()->ProjectName, "Before");
    EXPECT_EQ(document.CurrentProject()->ProjectComments, std::vector<std::string>{"..."});
    EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - Before");
    EXPECT_FALSE(document.IsProjectModified());
    points.Redo1Click();
    EXPECT_EQ(document.CurrentProject()->ProjectName, "After");
    EXPECT_EQ(view.Title, "DAV Uzuviv V1.0 - After");
    EXPECT_EQ(document.CurrentProject()->Records.size(), 1u);

    // An unchanged OK and a Cancel record nothing.
    view.PropertiesAnswers.push_back(values);
    commands.Property1Click();
    view.PropertiesAnswers.push_back(std::nullopt);
    commands.Property1Click();
    EXPECT_EQ(document.CurrentProject()->ProjectName, "After");
    EXPECT_EQ(document.History.Count(), 2u);
    EXPECT_EQ(document.History.Position(), 1u);
}

} // namespace
} // namespace uzuviv
