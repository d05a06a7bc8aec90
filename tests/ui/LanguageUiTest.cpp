#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "text/text.h"
#include "ui/EditorPanel.h"
#include "ui/Gauge.h"
#include "ui/Main.h"
#include "ui/ModalHelper.h"
#include "ui/ProjetProperty.h"

namespace uzuviv {
namespace {

using testing::ButtonWithText;
using testing::TempFolder;
using testing::WhenModal;

class LanguageUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TForm1>(QString::fromStdString(folder.File("DAVUzuviv.cfg")));
        Action("English1")->trigger();
    }
    void TearDown() override { LanguageIndex = 2; }

    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    QString Menu(const char* name) { return window->findChild<QMenu*>(name)->title(); }
    QString Label(const char* name) { return window->Panel()->findChild<QLabel*>(name)->text(); }

    TempFolder folder;
    std::unique_ptr<TForm1> window;
};

TEST(SystemLanguageTest, OnlyFrenchIsTakenFromTheSystem)
{
    const struct { QLocale::Language language; int index; } cases[] = {
        {QLocale::French, 1}, {QLocale::English, 2}, {QLocale::German, 2},
        {QLocale::Spanish, 2}, {QLocale::Italian, 2}, {QLocale::Japanese, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(SystemLanguageIndex(QLocale(c.language)), c.index) << c.language;
}

TEST_F(LanguageUiTest, SwitchingRelabelsEveryKindOfText)
{
    window->CurrentDocument().ResetProject();
    auto& records = window->CurrentDocument().CurrentProject()->Records;
    records.resize(2);
    records[0].Mode = 2;
    records[1].Mode = 9;
    window->RebuildPointList();
    window->RefreshCommands();
    QAbstractItemModel* list = window->PointList()->model();
    EXPECT_EQ(list->index(1, 4).data().toString(), "Track");

    Action("French1")->trigger();
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_TRUE(Action("French1")->isChecked());
    EXPECT_FALSE(Action("English1")->isChecked());
    EXPECT_EQ(Menu("File1"), "&Fichier");
    EXPECT_EQ(Menu("Edit1"), "&Edition");
    EXPECT_EQ(Menu("Language1"), "&Langue");
    EXPECT_EQ(Action("New2")->text(), "&Nouveau Projet");
    EXPECT_EQ(Action("Undo1")->text(), QString::fromUtf8("&Défaire"));
    EXPECT_EQ(Action("ShowInGoogleMap1")->text(), "Voir dans Google Maps");
    EXPECT_EQ(Action("SendEmailToSupport1")->text(), "Envoyer un Email au support technique OVRA");
    EXPECT_EQ(window->findChild<QToolButton*>("SpeedButton2")->toolTip(),
              QString::fromUtf8("Supprimer le(s) point(s) GPS sélectionnés"));
    EXPECT_EQ(list->headerData(3, Qt::Horizontal).toString(), QString::fromUtf8("Tolérance"));
    EXPECT_EQ(list->index(0, 4).data().toString(), "Alarme");
    EXPECT_EQ(list->index(1, 4).data().toString(), "Circuit");
    EXPECT_EQ(Label("Label13"), "Commentaires :");
    EXPECT_EQ(window->Panel()->findChild<QRadioButton*>("mxFlatRadioButton2")->text(), "Parcours libre");
    EXPECT_EQ(window->Panel()->findChild<QAbstractButton*>("mxFlatSpeedButton1")->text(), "Affecter");
    EXPECT_EQ(Label("Label21"), "N/S");

    // Messages and the progress window look their text up when shown.
    window->CurrentDocument().CurrentProject()->Author = "x";
    QString question;
    WhenModal([&](QWidget* box) {
        question = qobject_cast<QMessageBox*>(box)->text();
        ButtonWithText(box, "&Oui")->click();
        WhenModal([](QWidget* dialog) { testing::AnswerFileDialog(dialog, QString()); });
    });
    window->Commands().AskSaveChanges();
    EXPECT_EQ(question, QString::fromUtf8(
                            "Le projet actuel a été modifié. Voulez-vous sauvegarder ces changements?"));
    window->ProgressWindow()->Show(LanguageText(TextTable::ProgressTexts, 1));
    EXPECT_EQ(window->ProgressWindow()->windowTitle(), "Sauvegarde du Projet...");
    window->ProgressWindow()->Close();

    Action("English1")->trigger();
    EXPECT_EQ(Menu("File1"), "&File");
    EXPECT_EQ(list->index(0, 4).data().toString(), "Alarm");
    EXPECT_EQ(Label("Label13"), "Comments");
}

TEST_F(LanguageUiTest, HiddenLanguagesStayReachableAndOnlyTwoItemsShow)
{
    EXPECT_TRUE(Action("English1")->isVisible());
    EXPECT_TRUE(Action("French1")->isVisible());
    for (const char* hidden : {"Espaol1", "Deutsch1", "Italian1"})
        EXPECT_FALSE(Action(hidden)->isVisible()) << hidden;

    Action("Italian1")->trigger();
    EXPECT_EQ(Menu("File1"), "File");
    EXPECT_EQ(Menu("Edit1"), "Modifica");
    EXPECT_EQ(Menu("Options1"), "Opzioni");
    EXPECT_EQ(Menu("Help1"), "Aiuto");
    EXPECT_EQ(Menu("Language1"), "&Lingua");
    EXPECT_FALSE(Action("English1")->isChecked());
    EXPECT_FALSE(Action("French1")->isChecked());
    EXPECT_EQ(Action("CreateGPSFile1")->text(), "Build GPS File");
    EXPECT_EQ(Action("Undo1")->text(), "Undo");

    Action("Deutsch1")->trigger();
    EXPECT_EQ(Menu("Options1"), QString::fromUtf8("Möglichkeiten"));
    QString caption, label;
    WhenModal([&](QWidget* modal) {
        caption = modal->windowTitle();
        label = modal->findChild<QLabel*>("Label7")->text();
        modal->findChild<QPushButton*>("Button2")->click();
    });
    Action("New2")->trigger();
    EXPECT_EQ(caption, "Projekteigenschaften");
    EXPECT_EQ(label, " Projektname : ");
}

} // namespace
} // namespace uzuviv
