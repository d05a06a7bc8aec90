#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

#include "TempFolder.h"
#include "text/text.h"
#include "ui/Main.h"
#include "ui/ModalHelper.h"

namespace uzuviv {
namespace {

using testing::TempFolder;
using testing::WhenModal;

// Qt's own texts follow every language switch; the menu shortcuts keep their fixed key names.
TEST(QtTranslationsTest, FileDialogAndEditMenuSpeakTheInterfaceLanguage)
{
    TempFolder folder;
    TForm1 window(QString::fromStdString(folder / "DAVUzuviv.cfg"));
    const auto action = [&window](const char* name) { return window.findChild<QAction*>(name); };
    const struct { const char* language; const char* cancel; const char* undo; } cases[] = {
        {"French1", "Annuler", "&Annuler\tCtrl+Z"},
        {"Deutsch1", "Abbrechen", "&Rückgängig\tCtrl+Z"},
        {"French1", "Annuler", "&Annuler\tCtrl+Z"},
        {"English1", "Cancel", "&Undo\tCtrl+Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        action(c.language)->trigger();

        QString cancel;
        WhenModal([&cancel](QWidget* modal) {
            if (auto* buttons = modal->findChild<QDialogButtonBox*>())
                cancel = buttons->button(QDialogButtonBox::Cancel)->text();
            testing::AnswerFileDialog(modal, QString());
        });
        action("Open1")->trigger();
        EXPECT_EQ(cancel.toStdString(), c.cancel);

        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        EXPECT_EQ(menu->actions().front()->text().toStdString(), c.undo);

        EXPECT_EQ(action("Delete1")->shortcut().toString(QKeySequence::NativeText), "Suppr");
        EXPECT_EQ(action("Redo1")->shortcut().toString(QKeySequence::NativeText), "Ctrl+Alt+Z");
    }
    LanguageIndex = 2;
}

} // namespace
} // namespace uzuviv
