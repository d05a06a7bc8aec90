#include <QAction>
#include <QListWidget>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "editing/TourWithMistakes.h"
#include "text/text.h"
#include "ui/CheckWindow.h"
#include "ui/Main.h"

namespace uzuviv {
namespace {

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

TEST(CheckWindowTest, F7ListsTheFindingsFollowsEditsAndSelectsPoints)
{
    testing::TempFolder folder;
    TForm1 window(QString::fromStdString(folder.File("DAVUzuviv.cfg")));
    LanguageIndex = 2;
    window.ApplyLanguage();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* check = window.findChild<QAction*>("CheckProject1");
    EXPECT_FALSE(check->isEnabled());

    window.CurrentDocument().ResetProject();
    *window.CurrentDocument().CurrentProject() = testing::TourWithMistakes();
    window.CurrentDocument().MarkSaved();
    window.RebuildPointList();
    window.RefreshCommands();
    QTest::keyClick(&window, Qt::Key_F7);
    CheckWindow* dialog = window.CheckProjectWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Check Project");
    QListWidget* findings = dialog->FindingList();
    ASSERT_EQ(findings->count(), 4);
    EXPECT_EQ(findings->item(3)->text(),
              "Point 006 is far from all others: 3\u00A0000\u00A0000 m from the nearest.");

    // Double-clicking the shared file selects both points in the list.
    const QRect shared = findings->visualItemRect(findings->item(1));
    QTest::mouseClick(findings->viewport(), Qt::LeftButton, {}, shared.center());
    QTest::mouseDClick(findings->viewport(), Qt::LeftButton, {}, shared.center());
    RowSelection both;
    both.Add(0, 1);
    EXPECT_EQ(window.Selection(), both);
    EXPECT_EQ(findings->count(), 4);

    // Deleting the far point through the window's own command: the list follows at once.
    window.SetSelection(RowSelection::Single(5));
    window.PointList()->setFocus();
    window.findChild<QAction*>("Delete1")->trigger();
    QTest::qWait(0);
    EXPECT_EQ(findings->count(), 3);
    window.findChild<QAction*>("Undo1")->trigger();
    QTest::qWait(0);
    EXPECT_EQ(findings->count(), 4);

    // A language switch relabels the open window.
    window.findChild<QAction*>("French1")->trigger();
    EXPECT_EQ(dialog->windowTitle(), "Vérification du projet");
    EXPECT_EQ(Lines(findings).first(),
              "Points 001 et 002 : leurs zones se chevauchent (150 m d'écart).");
    window.findChild<QAction*>("English1")->trigger();

    // Closed, it no longer checks; opened again, it shows the project as it is now.
    dialog->close();
    window.CurrentDocument().CurrentProject()->Records.resize(2);
    window.CurrentDocument().CurrentProject()->Records[1].FileRef = 6;
    window.RebuildPointList();
    QTest::qWait(0);
    EXPECT_EQ(findings->count(), 4);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F7);
    EXPECT_EQ(Lines(findings), QStringList{"Points 001 and 002: their zones overlap (150 m apart)."});
}

} // namespace
} // namespace uzuviv
