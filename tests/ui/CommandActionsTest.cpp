#include "ui/CommandActions.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <stdexcept>

#include "TempFolder.h"
#include "text/text.h"
#include "ui/Main.h"

namespace uzuviv {
namespace {

// Object names top to bottom, "|" for a separator, the shortcut after "=".
QString Layout(const QList<QAction*>& items, const QWidget* toolBar = nullptr)
{
    QStringList names;
    for (const QAction* item : items) {
        if (item->isSeparator()) {
            names << QStringLiteral("|");
            continue;
        }
        const QWidget* button = toolBar ? static_cast<const QToolBar*>(toolBar)->widgetForAction(
                                              const_cast<QAction*>(item))
                                        : nullptr;
        QString name = button ? button->objectName() : item->objectName();
        if (!item->shortcut().isEmpty())
            name += QLatin1Char('=') + item->shortcut().toString(QKeySequence::PortableText);
        names << name;
    }
    return names.join(QLatin1Char(' '));
}

TEST(CommandActionsTest, MenusToolbarAndPopupHoldEveryCommandInItsPlace)
{
    testing::TempFolder folder;
    TForm1 window(QString::fromStdString(folder.File("DAVUzuviv.cfg")));
    EXPECT_EQ(Layout(window.menuBar()->actions()), "File1Item Edit1Item Options1Item Help1Item");
    const struct { const char* menu; const char* layout; } menus[] = {
        {"File1", "New2=Ctrl+N Property1=Ctrl+P | Open1=Ctrl+O Save1=Ctrl+S SaveAs1 | "
                  "CreateGPSFile1=F9 ImportGPSFile1=F12 ImportGpxFile1 ExportGpxFile1 ExportKmlFile1 | "
                  "Imprimer1 | Exit1 | RecentFile1 RecentFile2 RecentFile3 RecentFile4 RecentFile5"},
        {"Edit1", "Undo1=Ctrl+Z Redo1=Ctrl+Alt+Z | New1=Ctrl+Alt+N "
                  "NewGPSFromGoogleMapsClipboard1=Ctrl+Alt+G Delete1=Del | Cut1=Ctrl+X "
                  "Copy1=Ctrl+C Paste1=Ctrl+V SelectAll1=Ctrl+A | CheckProject1=F7"},
        {"Options1", "Language1Item | ShowMap1=F8 MapSettings1"},
        {"Language1", "English1 French1 Espaol1 Deutsch1 Italian1"},
        {"Help1", "About1=F1 | Web1Item"},
        {"Web1", "HomePage1 SendEmailToSupport1"},
        {"PopupMenu1", "Delete2 | Cut2 Copy2 Paste2 | ShowInGoogleMap1"},
    };
    for (const auto& menu : menus)
        EXPECT_EQ(Layout(window.findChild<QMenu*>(menu.menu)->actions()), menu.layout) << menu.menu;
    auto* toolBar = window.findChild<QToolBar*>("ToolBar1");
    EXPECT_EQ(Layout(toolBar->actions(), toolBar),
              "SpeedButton8 SpeedButton4 SpeedButton3 | SpeedButton5 | SpeedButton1 SpeedButton2 "
              "SpeedButton6 SpeedButton7 | Panel5");

    // Each toolbar button shows its hint and the picture of the menu item it raises; each
    // pop-up item the picture of its menu twin.
    const auto picture = [](const QIcon& icon) { return icon.pixmap(24, 24).toImage(); };
    const struct { const char* twin; const char* item; int hint; } twins[] = {
        {"SpeedButton8", "New2", 6}, {"SpeedButton4", "Open1", 7}, {"SpeedButton3", "Save1", 8},
        {"SpeedButton5", "CreateGPSFile1", 9}, {"SpeedButton1", "New1", 1},
        {"SpeedButton2", "Delete1", 2}, {"SpeedButton6", "Undo1", 10}, {"SpeedButton7", "Redo1", 11},
        {"Delete2", "Delete1", 0}, {"Cut2", "Cut1", 0}, {"Copy2", "Copy1", 0}, {"Paste2", "Paste1", 0}};
    for (const auto& t : twins) {
        SCOPED_TRACE(t.twin);
        const QIcon item = window.findChild<QAction*>(t.item)->icon();
        ASSERT_FALSE(item.isNull());
        if (auto* button = window.findChild<QToolButton*>(t.twin)) {
            EXPECT_EQ(picture(button->icon()), picture(item));
            EXPECT_EQ(button->toolTip().toStdString(), LanguageText(TextTable::ToolbarHintTexts, t.hint));
        } else {
            EXPECT_EQ(picture(window.findChild<QAction*>(t.twin)->icon()), picture(item));
        }
    }
}

TEST(CommandActionsTest, ACommandWithoutHandlerStopsTheStart)
{
    QMainWindow window;
    try {
        CommandActions actions(&window, [](CommandId id) -> CommandActions::Handler {
            if (id == CommandId::Print)
                return {};
            return []() {};
        });
        ADD_FAILURE() << "built without a handler for Imprimer1";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "command table: Imprimer1 has no handler");
    }
}

} // namespace
} // namespace uzuviv
