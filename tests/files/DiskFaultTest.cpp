// Saving a project, building a GPS file and writing the settings file while the disk fails
// under them: the file that was there stays byte for byte, the failure reaches the user with
// its French text, a failed project save keeps the project modified, and the next write to a
// sound place works.

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "editing/DocumentCommands.h"
#include "files/DiskFaultSupport.h"
#include "editing/FakeView.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"
#include "files/UnitOfCodes.h"
#include "text/text.h"

namespace uzuviv {
namespace {

namespace fs = std::filesystem;
using testing::FakeView;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using namespace disktest;

const std::string DiskFull = "Disque plein";
const std::string AccessDenied = "Acc\xC3\xA8s au fichier refus\xC3\xA9";
const std::string BadFileName = "Nom de fichier incorrect";

constexpr int OldPoints = 5;
constexpr int AddedPoints = 2000;   // the new project file outgrows the writer's 64 KiB buffer

struct QuietProgress : ProgressSink {
    void Show(const std::string&) override {}
    void SetProgress(int) override {}
    void Close() override {}
};

// The scripted window; `AfterChoice` runs between the file dialog and the write, as another
// program could.
class DiskView : public FakeView {
public:
    std::function<void(const std::string&)> AfterChoice;

    std::optional<std::string> ChooseFile(FileDialog dialog, const std::string& presetName) override
    {
        auto choice = FakeView::ChooseFile(dialog, presetName);
        if (choice && AfterChoice)
            AfterChoice(*choice);
        return choice;
    }
};

struct Session {
    TempFolder home;   // where the document lives when the target is somewhere else
    Document document;
    DiskView view;
    DocumentCommands commands{document, view};
};

TGPSRecord PointNumber(int i)
{
    TGPSRecord record;
    record.Latitude = -45 + i * 0.001L;
    record.Longitude = 120 - i * 0.0007L;
    record.Tolerance = static_cast<std::uint16_t>(i % 1001);
    record.Mode = static_cast<std::uint8_t>(1 + i % 3);
    record.FileRef = static_cast<std::uint16_t>(1 + i % 999);
    record.Comments = "Point " + std::to_string(i);
    return record;
}

void AddPoints(Session& session, int count)
{
    auto& records = session.document.CurrentProject()->Records;
    const int first = static_cast<int>(records.size());
    for (int i = first; i < first + count; ++i)
        records.push_back(PointNumber(i));
}

void StartProject(Session& session, const std::string& name, int points)
{
    ProjectProperties values;
    values.ProjectName = name;
    values.Author = "Anne";
    values.ProjectComments = {"..."};
    session.view.PropertiesAnswers.push_back(values);
    session.commands.New2Click();
    AddPoints(session, points);
}

void SaveProjectAs(Session& session, const std::string& path)
{
    session.view.FileChoices.push_back(path);
    ASSERT_TRUE(session.commands.SaveAs1Click());
    ASSERT_FALSE(session.document.IsProjectModified());
}

TProjectType SomeoneElsesProject()
{
    TProjectType other;
    other.ProjectName = "Someone else's";
    other.Records = {PointNumber(7), PointNumber(8)};
    return other;
}

Settings StartUpState()
{
    Settings state;
    state.LanguageIndex = 1;
    return state;
}

// One user command that writes a file, with what it needs around it.
struct Operation {
    const char* Name;
    const char* FileName;
    bool SavesProject;
    // Puts the file that was there before at `target` and readies the session to write there.
    std::function<void(Session&, const std::string& target)> Arrange;
    // The command, writing to `target`.
    std::function<void(Session&, const std::string& target)> Run;
    // What a successful run writes, by the plain writer.
    std::function<void(Session&, const std::string& path)> Reference;
};

const Operation Save{
    "Save", "project.gps", true,
    [](Session& s, const std::string& target) {
        StartProject(s, "Before", OldPoints);
        SaveProjectAs(s, target);
        AddPoints(s, AddedPoints);
        s.document.CurrentProject()->ProjectName = "After";
    },
    [](Session& s, const std::string& target) {
        EXPECT_EQ(s.document.CurrentFileName, target);
        s.commands.Save1Click();
    },
    [](Session& s, const std::string& path) {
        QuietProgress progress;
        SaveProjectFile(path, *s.document.CurrentProject(), progress);
    }};

const Operation SaveAs{
    "Save As", "project.gps", true,
    [](Session& s, const std::string& target) {
        QuietProgress progress;
        SaveProjectFile(target, SomeoneElsesProject(), progress);
        StartProject(s, "Mine", OldPoints);
        SaveProjectAs(s, s.home.File("mine.gps"));
        AddPoints(s, AddedPoints);
    },
    [](Session& s, const std::string& target) {
        s.view.FileChoices.push_back(target);
        s.commands.SaveAs1Click();
    },
    Save.Reference};

const Operation BuildGPSFile{
    "Build GPS File", "gps.csv", false,
    [](Session& s, const std::string& target) {
        QuietProgress progress;
        WriteGPSFile(target, SomeoneElsesProject(), progress);
        StartProject(s, "Mine", OldPoints + AddedPoints);
        SaveProjectAs(s, s.home.File("mine.gps"));
    },
    [](Session& s, const std::string& target) {
        s.view.FileChoices.push_back(target);
        s.commands.CreateGPSFile1Click();
    },
    [](Session& s, const std::string& path) {
        QuietProgress progress;
        WriteGPSFile(path, *s.document.CurrentProject(), progress);
    }};

const Operation SettingsAtExit{
    "settings at exit", "DAVUzuviv.cfg", false,
    [](Session& s, const std::string& target) {
        WriteSettingsFile(target, Settings{1, "/old/last.gps", 2, {"/old/a.gps", "/old/b.gps"}});
        StartProject(s, "Mine", OldPoints);
        SaveProjectAs(s, s.home.File("mine.gps"));
        s.commands.Recent.Add(s.home.File("mine.gps"));
    },
    [](Session& s, const std::string& target) {
        s.commands.FormClose([&]() { WriteSettingsFile(target, s.commands.CurrentSettings(2, 3)); });
    },
    [](Session& s, const std::string& path) { WriteSettingsFile(path, s.commands.CurrentSettings(2, 3)); }};

// A settings file of another version is replaced at start-up.
const Operation SettingsAtStartUp{
    "settings at start-up", "DAVUzuviv.cfg", false,
    [](Session&, const std::string& target) {
        WriteBytes(target, "Settings File of OVRA DAV Uzuviv Tool\r\nFile version : \r\n1.0.1\r\n"
                           "Language :\r\nGerman\r\nLast project used\r\n/old/last.gps\r\n");
    },
    [](Session& s, const std::string& target) {
        Settings state = StartUpState();
        s.commands.LoadSettings(target, state);
    },
    [](Session&, const std::string& path) { WriteSettingsFile(path, StartUpState()); }};

const std::vector<const Operation*> EveryOperation = {&Save, &SaveAs, &BuildGPSFile, &SettingsAtExit,
                                                      &SettingsAtStartUp};

template <typename Action>
void ExpectInOutError(Action action, int code, const std::string& text)
{
    try {
        action();
        ADD_FAILURE() << "the command reported success";
    } catch (const InOutError& error) {
        EXPECT_EQ(error.Code(), code);
        EXPECT_EQ(std::string(error.what()), text);
    } catch (const std::exception& error) {
        ADD_FAILURE() << "unexpected failure: " << error.what();
    }
}

template <typename Action>
void ExpectSuccess(Action action)
{
    try {
        action();
    } catch (const std::exception& error) {
        ADD_FAILURE() << "the write failed: " << error.what();
    }
}

struct Fault {
    std::string Name;
    int Code;
    std::string Text;
    // Called after the old file is in place; `newSize` is the size of what the command writes.
    std::function<void(Place&, const std::string& target, std::size_t newSize)> Apply;
    std::function<void(Place&, const std::string& target)> Heal;
};

// The command fails with the fault's code and text and leaves everything as it was; once the
// fault is gone the same command writes the complete new file.
void ExpectFailureThenRecovery(const Operation& operation, Place& place, const Fault& fault)
{
    SCOPED_TRACE(std::string(operation.Name) + ", " + fault.Name);
    Session s;
    const std::string target = place.File(operation.FileName);
    operation.Arrange(s, target);
    if (::testing::Test::HasFatalFailure())
        return;
    const std::string reference = s.home.File("reference");
    operation.Reference(s, reference);
    const std::string newBytes = ReadBytes(reference);
    const std::string oldBytes = ReadBytes(target);
    ASSERT_NE(newBytes, oldBytes);

    fault.Apply(place, target, newBytes.size());
    if (::testing::Test::HasFatalFailure())
        return;
    const std::vector<std::string> names = NamesIn(place.Path());
    const bool modified = s.document.IsProjectModified();
    const std::string fileName = s.document.CurrentFileName;

    ExpectInOutError([&]() { operation.Run(s, target); }, fault.Code, fault.Text);
    EXPECT_TRUE(Holds(target, oldBytes)) << "the file that was there before changed";
    EXPECT_EQ(NamesIn(place.Path()), names) << "something was left in the folder";
    EXPECT_EQ(s.document.CurrentFileName, fileName);
    EXPECT_EQ(s.document.IsProjectModified(), modified);
    if (operation.SavesProject) {
        EXPECT_TRUE(s.document.IsProjectModified());
    }

    fault.Heal(place, target);
    ExpectSuccess([&]() { operation.Run(s, target); });
    EXPECT_TRUE(Holds(target, newBytes));
    if (operation.SavesProject) {
        EXPECT_FALSE(s.document.IsProjectModified());
        EXPECT_EQ(s.document.CurrentFileName, target);
    }
}

class DiskFaultTest : public ::testing::Test {
protected:
    void SetUp() override { LanguageIndex = 2; }
    void TearDown() override { SetWriteFaultForTesting(std::nullopt); }
};

TEST_F(DiskFaultTest, InjectedDiskFullAtEveryStageOfTheWrite)
{
    const auto injectAt = [](std::size_t (*where)(std::size_t)) {
        return [where](Place&, const std::string&, std::size_t newSize) {
            SetWriteFaultForTesting(std::make_pair(where(newSize), ENOSPC));
        };
    };
    const auto heal = [](Place&, const std::string&) { SetWriteFaultForTesting(std::nullopt); };
    const std::vector<Fault> faults = {
        {"full before the first byte", 101, DiskFull, injectAt([](std::size_t) { return std::size_t{0}; }), heal},
        {"full half-way", 101, DiskFull, injectAt([](std::size_t size) { return size / 2; }), heal},
        // The last byte goes out with the final flush, just before the rename.
        {"full at the last byte", 101, DiskFull, injectAt([](std::size_t size) { return size - 1; }), heal},
    };
    for (const Operation* operation : EveryOperation) {
        for (const Fault& fault : faults) {
            Place place;
            ExpectFailureThenRecovery(*operation, place, fault);
        }
    }
}

TEST_F(DiskFaultTest, RealDiskFullOnASmallTmpfs)
{
    if (const std::string reason = TmpfsUnavailable(); !reason.empty())
        GTEST_SKIP() << "cannot set up a full disk: " << reason;
    const auto heal = [](Place& place, const std::string&) { RemoveFillers(place); };
    const struct {
        const char* options;
        Fault fault;
    } cases[] = {
        {"size=256k", {"no block left", 101, DiskFull, [](Place& place, const std::string&, std::size_t) { FillBlocks(place); }, heal}},
        // The temporary file itself cannot be created.
        {"size=256k,nr_inodes=16", {"no inode left", 101, DiskFull, [](Place& place, const std::string&, std::size_t) { FillInodes(place); }, heal}},
    };
    for (const Operation* operation : EveryOperation) {
        for (const auto& c : cases) {
            Place place;
            ASSERT_EQ(place.Mount(c.options), "");
            ExpectFailureThenRecovery(*operation, place, c.fault);
        }
    }
}

TEST_F(DiskFaultTest, ReadOnlyFolder)
{
    // Root writes into folders whatever their permission bits say; a read-only mount stops it.
    const bool bitsWork = PermissionBitsStopWrites();
    const std::string tmpfsReason = bitsWork ? std::string() : TmpfsUnavailable();
    if (!bitsWork && !tmpfsReason.empty())
        GTEST_SKIP() << "cannot make a folder read-only: permission bits do not stop this user and "
                     << tmpfsReason;
    const Fault fault =
        bitsWork ? Fault{"folder mode 0555", 5, AccessDenied,
                         [](Place& place, const std::string&, std::size_t) { ::chmod(place.Path().c_str(), 0555); },
                         [](Place& place, const std::string&) { ::chmod(place.Path().c_str(), 0755); }}
                 : Fault{"read-only mount", 5, AccessDenied,
                         [](Place& place, const std::string&, std::size_t) { place.Remount(true); },
                         [](Place& place, const std::string&) { place.Remount(false); }};
    for (const Operation* operation : EveryOperation) {
        Place place;
        if (!bitsWork) {
            ASSERT_EQ(place.Mount("size=1m"), "");
        }
        ExpectFailureThenRecovery(*operation, place, fault);
    }
}

TEST_F(DiskFaultTest, ReadOnlyTargetFileIsRefusedEvenForRoot)
{
    const Fault fault{"target mode 0444", 5, AccessDenied,
                      [](Place&, const std::string& target, std::size_t) { ::chmod(target.c_str(), 0444); },
                      [](Place&, const std::string& target) { ::chmod(target.c_str(), 0644); }};
    for (const Operation* operation : EveryOperation) {
        Place place;
        ExpectFailureThenRecovery(*operation, place, fault);
    }
}

// A user who may write in the folder but not to the file must not replace it: renaming a new
// file over it would otherwise succeed.
TEST_F(DiskFaultTest, FileThisUserMayNotWriteIsNotReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the target file to another user than the one saving";
    for (const Operation* operation : EveryOperation) {
        SCOPED_TRACE(operation->Name);
        Place place;
        place.OpenToEveryone();
        Session s;
        const std::string target = place.File(operation->FileName);
        operation->Arrange(s, target);
        ::chmod(target.c_str(), 0644);
        const std::string oldBytes = ReadBytes(target);
        const std::vector<std::string> names = NamesIn(place.Path());

        EXPECT_EQ(CodeAsAnotherUser([&]() { operation->Run(s, target); }), 5);
        EXPECT_TRUE(Holds(target, oldBytes));
        EXPECT_EQ(NamesIn(place.Path()), names) << "something was left in the folder";
    }
}

TEST_F(DiskFaultTest, FolderThatDoesNotExist)
{
    for (const Operation* operation : {&SaveAs, &BuildGPSFile, &SettingsAtExit, &SettingsAtStartUp}) {
        SCOPED_TRACE(operation->Name);
        Place place;
        Session s;
        const std::string good = place.File(operation->FileName);
        operation->Arrange(s, good);
        const std::string reference = s.home.File("reference");
        operation->Reference(s, reference);
        const std::string oldBytes = ReadBytes(good);
        const std::vector<std::string> names = NamesIn(place.Path());
        const bool modified = s.document.IsProjectModified();
        const std::string fileName = s.document.CurrentFileName;

        ExpectInOutError([&]() { operation->Run(s, place.File("missing/" + std::string(operation->FileName))); },
                         3, BadFileName);
        EXPECT_EQ(NamesIn(place.Path()), names) << "the missing folder or a file was created";
        EXPECT_TRUE(Holds(good, oldBytes));
        EXPECT_EQ(s.document.IsProjectModified(), modified);
        EXPECT_EQ(s.document.CurrentFileName, fileName);

        ExpectSuccess([&]() { operation->Run(s, good); });
        EXPECT_TRUE(Holds(good, ReadBytes(reference)));
    }
}

TEST_F(DiskFaultTest, TargetChangedBetweenTheDialogAndTheWrite)
{
    const struct {
        const char* name;
        std::function<void(const std::string& target)> change;
        std::optional<int> code;   // nothing: the write goes through
        std::string text;
    } cases[] = {
        {"deleted", [](const std::string& target) { fs::remove(target); }, std::nullopt, ""},
        {"replaced by another file",
         [](const std::string& target) { WriteBytes(target, "another program wrote this\r\n"); }, std::nullopt, ""},
        {"replaced by a folder",
         [](const std::string& target) {
             fs::remove(target);
             fs::create_directory(target);
             WriteBytes(target + "/inside.txt", "keep me");
         },
         5, AccessDenied},
        {"replaced by a read-only file",
         [](const std::string& target) {
             fs::remove(target);
             WriteBytes(target, "read-only now");
             ::chmod(target.c_str(), 0444);
         },
         5, AccessDenied},
        {"its folder removed", [](const std::string& target) { fs::remove_all(fs::path(target).parent_path()); },
         3, BadFileName},
    };
    for (const Operation* operation : {&SaveAs, &BuildGPSFile}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(operation->Name) + ", target " + c.name);
            Place place;
            Session s;
            const std::string target = place.File(operation->FileName);
            operation->Arrange(s, target);
            const std::string reference = s.home.File("reference");
            operation->Reference(s, reference);
            const std::string newBytes = ReadBytes(reference);
            const bool modified = s.document.IsProjectModified();
            const std::string fileName = s.document.CurrentFileName;

            std::string atTarget;
            std::vector<std::string> names;
            s.view.AfterChoice = [&](const std::string& chosen) {
                c.change(chosen);
                atTarget = Describe(chosen);
                names = NamesIn(place.Path());
            };
            if (!c.code) {
                ExpectSuccess([&]() { operation->Run(s, target); });
                EXPECT_TRUE(Holds(target, newBytes));
                EXPECT_EQ(NamesIn(place.Path()), std::vector<std::string>{operation->FileName});
                if (operation->SavesProject) {
                    EXPECT_FALSE(s.document.IsProjectModified());
                    EXPECT_EQ(s.document.CurrentFileName, target);
                }
                continue;
            }
            ExpectInOutError([&]() { operation->Run(s, target); }, *c.code, c.text);
            EXPECT_EQ(Describe(target), atTarget);
            EXPECT_EQ(NamesIn(place.Path()), names) << "something was left in the folder";
            EXPECT_EQ(s.document.IsProjectModified(), modified);
            EXPECT_EQ(s.document.CurrentFileName, fileName);

            s.view.AfterChoice = nullptr;
            const std::string good = s.home.File(operation->FileName);
            ExpectSuccess([&]() { operation->Run(s, good); });
            EXPECT_TRUE(Holds(good, newBytes));
        }
    }
}

} // namespace
} // namespace uzuviv
