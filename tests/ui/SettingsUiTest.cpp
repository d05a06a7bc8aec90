#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "files/SettingsFile.h"
#include "files/UnitOfCodes.h"
#include "text/text.h"
#include "ui/Main.h"
#include "ui/ModalHelper.h"

namespace uzuviv {
namespace {

using testing::AnswerFileDialog;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WhenModal;
using testing::WriteBytes;

struct NoProgress : ProgressSink {
    void Show(const std::string&) override {}
    void SetProgress(int) override {}
    void Close() override {}
};

class SettingsUiTest : public ::testing::Test {
protected:
    void TearDown() override { LanguageIndex = 2; }

    std::unique_ptr<TForm1> Start()
    {
        auto window = std::make_unique<TForm1>(QString::fromStdString(Settings()));
        window->FormActivate();
        return window;
    }

    std::string Settings() const { return folder.File("DAVUzuviv.cfg"); }

    std::string MakeProject(const std::string& name, int points)
    {
        TProjectType project;
        project.ProjectName = name;
        project.Records.resize(static_cast<std::size_t>(points));
        NoProgress progress;
        const std::string path = folder.File(name + ".gps");
        SaveProjectFile(path, project, progress);
        return path;
    }

    void Open(TForm1& window, const std::string& path)
    {
        WhenModal([path](QWidget* modal) { AnswerFileDialog(modal, QString::fromStdString(path)); });
        window.findChild<QAction*>("Open1")->trigger();
    }

    QStringList RecentCaptions(TForm1& window)
    {
        QStringList captions;
        for (int k = 1; k <= 5; ++k) {
            QAction* slot = window.findChild<QAction*>(QStringLiteral("RecentFile%1").arg(k));
            if (slot->isVisible())
                captions << slot->text();
        }
        return captions;
    }

    TempFolder folder;
};

TEST_F(SettingsUiTest, FirstStartWritesTheTenLineFile)
{
    auto window = Start();
    EXPECT_EQ(ReadBytes(Settings()),
              "Settings File of OVRA DAV Uzuviv Tool\r\nFile version : \r\n1.0.0\r\nLanguage :\r\n"
              "English\r\nLast project used\r\n\r\nGPS Display Mode\r\n1\r\nRecent Open Files List\r\n");
    EXPECT_FALSE(window->CurrentDocument().HasProject());
    EXPECT_EQ(window->windowTitle(), "DAV Uzuviv V1.0 - ");
}

TEST_F(SettingsUiTest, StartExitStartKeepsLanguageModeLastProjectAndRecentFiles)
{
    const std::string a = MakeProject("alpha", 2), b = MakeProject("beta", 3);
    {
        auto window = Start();
        Open(*window, a);
        Open(*window, b);
        window->findChild<QAction*>("French1")->trigger();
        window->findChild<QRadioButton*>("mxFlatRadioButton6")->click();
        EXPECT_TRUE(window->close());
    }
    auto window = Start();
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_TRUE(window->findChild<QAction*>("French1")->isChecked());
    EXPECT_EQ(window->findChild<QMenu*>("File1")->title(), "&Fichier");
    EXPECT_EQ(window->DisplayMode(), 4);
    EXPECT_TRUE(window->findChild<QRadioButton*>("mxFlatRadioButton6")->isChecked());
    ASSERT_TRUE(window->CurrentDocument().HasProject());
    EXPECT_EQ(window->CurrentDocument().CurrentFileName, b);
    EXPECT_FALSE(window->CurrentDocument().IsProjectModified());
    EXPECT_EQ(window->PointList()->model()->rowCount(), 3);
    EXPECT_EQ(window->PointList()->model()->index(0, 1).data().toString(),
              QString::fromUtf8("0° 0' 0\" N"));
    EXPECT_EQ(RecentCaptions(*window),
              QStringList({QString::fromStdString("1 " + b), QString::fromStdString("2 " + a)}));

    // The second slot reopens alpha and moves it to the top.
    window->findChild<QAction*>("RecentFile2")->trigger();
    EXPECT_EQ(window->CurrentDocument().CurrentFileName, a);
    EXPECT_EQ(RecentCaptions(*window).front(), QString::fromStdString("1 " + a));
}

TEST_F(SettingsUiTest, StoredSettingsTakeEffectAtStart)
{
    WriteBytes(Settings(), "Settings File of OVRA DAV Uzuviv Tool\r\nFile version : \r\n1.0.0\r\n"
                           "Language :\r\nItalian\r\nLast project used\r\n" + folder.File("gone.gps")
                               + "\r\nGPS Display Mode\r\n3\r\nRecent Open Files List\r\n"
                                 "/a&b.gps\r\n/two.gps\r\n");
    auto window = Start();
    EXPECT_EQ(LanguageIndex, 5);
    EXPECT_FALSE(window->findChild<QAction*>("English1")->isChecked());
    EXPECT_FALSE(window->findChild<QAction*>("French1")->isChecked());
    EXPECT_TRUE(window->findChild<QRadioButton*>("mxFlatRadioButton5")->isChecked());
    EXPECT_EQ(window->DisplayMode(), 3);
    // The last project no longer exists: no project, and the stale path is kept.
    EXPECT_FALSE(window->CurrentDocument().HasProject());
    EXPECT_EQ(window->CurrentDocument().CurrentFileName, folder.File("gone.gps"));
    EXPECT_EQ(RecentCaptions(*window), QStringList({"1 /two.gps", "2 /a&&b.gps"}));
    EXPECT_TRUE(window->close());
    const std::string written = ReadBytes(Settings());
    EXPECT_NE(written.find("Italian\r\nLast project used\r\n" + folder.File("gone.gps") + "\r\n"),
              std::string::npos);
    EXPECT_NE(written.find("GPS Display Mode\r\n3\r\n"), std::string::npos);
}

TEST_F(SettingsUiTest, OtherVersionIsReplacedAtStart)
{
    WriteBytes(Settings(), "Settings File of OVRA DAV Uzuviv Tool\r\nFile version : \r\n1.0.1\r\n"
                           "Language :\r\nFrench\r\n");
    auto window = Start();
    EXPECT_EQ(LanguageIndex, 2);
    const std::string written = ReadBytes(Settings());
    EXPECT_NE(written.find("1.0.0\r\nLanguage :\r\nEnglish\r\n"), std::string::npos);
}

TEST_F(SettingsUiTest, EveryFailedSettingsWriteIsReportedWhenItHappens)
{
    // The folder does not exist: the start-up write and the write at exit both fail.
    const QString path = QString::fromStdString(folder.File("missing/DAVUzuviv.cfg"));
    QStringList reported;
    const auto answer = [&reported](QWidget* box) {
        reported << box->windowTitle() + ": " + box->findChild<QLabel*>("qt_msgbox_label")->text();
        testing::ButtonWithText(box, "OK")->click();
    };
    auto window = std::make_unique<TForm1>(path);
    WhenModal(answer);
    window->FormActivate();
    EXPECT_EQ(reported.join('|').toStdString(), "Erreur: Nom de fichier incorrect.");
    WhenModal(answer);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(reported.join('|').toStdString(),
              "Erreur: Nom de fichier incorrect.|Erreur: Nom de fichier incorrect.");
}

} // namespace
} // namespace uzuviv
