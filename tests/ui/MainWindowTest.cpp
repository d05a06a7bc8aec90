#include "ui/Main.h"

#include <sys/stat.h>

#include <QAbstractItemView>
#include <QAction>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "editing/FakeView.h"
#include "files/Cp1252.h"
#include "files/UnitOfCodes.h"
#include "text/text.h"
#include "ui/EditorPanel.h"
#include "ui/FieldEdit.h"
#include "ui/Gauge.h"
#include "ui/Help.h"
#include "ui/ModalHelper.h"
#include "ui/ProjetProperty.h"

namespace uzuviv {
namespace {

using testing::AnswerFileDialog;
using testing::ButtonWithText;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WhenModal;
using testing::WriteBytes;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TForm1>(QString::fromStdString(folder.File("DAVUzuviv.cfg")));
        LanguageIndex = 2;
        window->ApplyLanguage();
    }

    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }

    // New Project, answering the dialog with `name`.
    void NewProject(const QString& name)
    {
        WhenModal([name](QWidget* modal) {
            auto* dialog = qobject_cast<TForm3*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>("Edit1")->setText(name);
            dialog->findChild<QPushButton*>("Button1")->click();
        });
        Action("New2")->trigger();
    }

    TempFolder folder;
    std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowTest, StartsWithoutProjectAndTheFileCommandsOfThatState)
{
    EXPECT_EQ(window->windowTitle(), "DAV Uzuviv V1.0 - ");
    // The three other windows exist, created after the main window, in this order.
    const auto children = window->children();
    const auto position = [&](const char* name) {
        return children.indexOf(window->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly));
    };
    ASSERT_GE(position("TForm2"), 0);
    EXPECT_LT(position("TForm2"), position("TForm3"));
    EXPECT_LT(position("TForm3"), position("TForm4"));
    EXPECT_FALSE(window->findChild<QWidget*>("TForm3")->isVisible());

    const struct { const char* name; bool enabled; const char* text; const char* keys; } items[] = {
        {"New2", true, "&New Project", "Ctrl+N"},  {"Property1", false, "&Project Properties...", "Ctrl+P"},
        {"Open1", true, "&Open", "Ctrl+O"},        {"Save1", false, "&Save", "Ctrl+S"},
        {"SaveAs1", false, "Save &as...", ""},     {"Exit1", true, "E&xit", ""},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.name);
        QAction* action = Action(item.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->isEnabled(), item.enabled);
        EXPECT_EQ(action->text(), QString::fromUtf8(item.text));
        EXPECT_EQ(action->shortcut().toString(), item.keys);
    }
    EXPECT_FALSE(window->findChild<QTableView*>("ListView1")->isVisibleTo(window.get()));
}

TEST_F(MainWindowTest, NewProjectThroughTheDialogShowsTheListAndTitle)
{
    NewProject("Tour");
    EXPECT_EQ(window->windowTitle(), "DAV Uzuviv V1.0 - Tour");
    EXPECT_TRUE(Action("Save1")->isEnabled());
    EXPECT_TRUE(Action("Property1")->isEnabled());
    EXPECT_TRUE(window->findChild<QTableView*>("ListView1")->isVisibleTo(window.get()));
}

TEST_F(MainWindowTest, PropertiesDialogTextsLimitsAndKeys)
{
    LanguageIndex = 1;
    TForm3* dialog = window->PropertiesDialog();
    WhenModal([](QWidget* modal) {
        auto* form = qobject_cast<TForm3*>(modal);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Propriétés du Projet"));
        EXPECT_EQ(form->findChild<QLabel*>("Label7")->text(), " Nom du Projet :");
        EXPECT_EQ(form->findChild<QPushButton*>("Button2")->text(), "Annuler");
        auto* name = form->findChild<QLineEdit*>("Edit1");
        EXPECT_EQ(name->text(), QString::fromUtf8("Nouveau Projet"));
        EXPECT_EQ(form->focusWidget(), name);
        // Enter and Escape do not close the dialog.
        QTest::keyClick(name, Qt::Key_Return);
        QTest::keyClick(name, Qt::Key_Escape);
        EXPECT_TRUE(form->isVisible());
        // Typing stops at 64 characters; a line break and a character outside Windows-1252 never
        // get in.
        name->clear();
        QTest::keyClicks(name, QString(70, QLatin1Char('a')));
        EXPECT_EQ(name->text().size(), 64);
        auto* subject = form->findChild<QLineEdit*>("Edit2");
        subject->setFocus();
        for (const QString typed : {"a", "€", "b", "✓", "c"}) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
            QApplication::sendEvent(subject, &press);
        }
        EXPECT_EQ(subject->text(), QString::fromUtf8("a€bc"));
        form->findChild<QPlainTextEdit*>("Memo1")->setPlainText("one\ntwo\n");
        form->findChild<QPushButton*>("Button1")->click();
    });
    window->findChild<QAction*>("New2")->trigger();
    EXPECT_FALSE(dialog->isVisible());
    const TProjectType* project = window->CurrentDocument().CurrentProject();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->ProjectName, std::string(64, 'a'));
    EXPECT_EQ(project->Subject, "a€bc");
    EXPECT_EQ(project->ProjectComments, (std::vector<std::string>{"one", "two"}));
    LanguageIndex = 2;
}

TEST_F(MainWindowTest, ALongerStoredNameIsShownWholeAndKeptOnOk)
{
    NewProject("x");
    const std::string longName(80, 'n');
    window->CurrentDocument().CurrentProject()->ProjectName = longName;
    window->CurrentDocument().CurrentProject()->ProjectComments = {"a", ""};
    WhenModal([&](QWidget* modal) {
        EXPECT_EQ(modal->findChild<QLineEdit*>("Edit1")->text().size(), 80);
        modal->findChild<QPushButton*>("Button1")->click();
    });
    Action("Property1")->trigger();
    EXPECT_EQ(window->CurrentDocument().CurrentProject()->ProjectName, longName);
    // OK with nothing touched changes nothing, not even a trailing empty comment line.
    EXPECT_EQ(window->CurrentDocument().CurrentProject()->ProjectComments,
              (std::vector<std::string>{"a", ""}));
}

// Every character a Windows-1252 file can hold (every byte but CR and LF) goes through every box
// of Project Properties and of the editor panel unchanged: an untouched OK and Set data change no
// byte of the file, and what is pasted into the comments comes back as pasted.
TEST_F(MainWindowTest, EveryCharacterGoesThroughEveryBoxUnchanged)
{
    std::vector<std::string> characters;
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') {
            characters.push_back(Cp1252ToUtf8(std::string(1, static_cast<char>(byte))));
            all += characters.back();
        }
    }
    TProjectType stored;
    stored.ProjectName = stored.CreationDate = all;
    stored.Subject = " " + all;
    stored.Author = all + " ";
    stored.Copyright = "\xC2\xA0";
    stored.Customer = "\t";
    stored.ProjectComments = characters;
    stored.ProjectComments.insert(stored.ProjectComments.end(), {all, "Prix\xC2\xA0: 10 \xE2\x82\xAC", ""});
    stored.Records.resize(2);
    stored.Records[0].Comments = all;
    stored.Records[1].Comments = "\xC2\xA0";
    const std::string path = folder.File("all.gps");
    testing::RecordingProgress progress;
    SaveProjectFile(path, stored, progress);
    const std::string bytes = ReadBytes(path);

    WhenModal([&](QWidget* modal) { AnswerFileDialog(modal, QString::fromStdString(path)); });
    Action("Open1")->trigger();
    WhenModal([](QWidget* modal) { modal->findChild<QPushButton*>("Button1")->click(); });
    Action("Property1")->trigger();
    for (const std::size_t row : {0, 1}) {
        window->SetSelection(RowSelection::Single(row));
        window->Panel()->findChild<QPushButton*>("mxFlatSpeedButton1")->click();
    }
    const TProjectType& project = *window->CurrentDocument().CurrentProject();
    EXPECT_FALSE(ProjectsDiffer(project, stored)) << "a box changed a character";
    EXPECT_FALSE(window->CurrentDocument().IsProjectModified());
    Action("Save1")->trigger();
    EXPECT_TRUE(ReadBytes(path) == bytes) << "the file changed";

    PanelTexts texts;
    for (int box = 0; box < PanelBoxCount; ++box)
        texts.Boxes[box] = characters[static_cast<std::size_t>(box)] + all;
    window->WritePanel(texts);
    EXPECT_TRUE(window->ReadPanel() == texts) << "a panel box changed a character";
    characters.push_back(all);
    std::string pasted;
    for (std::size_t line = 0; line < characters.size(); ++line)
        pasted += (line > 0 ? "\n" : "") + characters[line];
    WhenModal([&](QWidget* modal) {
        auto* memo = modal->findChild<QPlainTextEdit*>("Memo1");
        memo->clear();
        memo->insertPlainText(QString::fromStdString(pasted));
        modal->findChild<QPushButton*>("Button1")->click();
    });
    Action("Property1")->trigger();
    EXPECT_TRUE(project.ProjectComments == characters) << "a pasted character changed";
}

TEST_F(MainWindowTest, AFailedOpenShowsTheFrenchErrorBoxAndTheProgramGoesOn)
{
    const std::string path = folder.File("bad.gps");
    WriteBytes(path, "DAV Uzuviv Project File of OVRA\r\nFile version : \r\n1.0.0\r\n*****\r\n"
                     "P\r\n\r\n\r\n\r\n\r\n\r\nabc\r\n");
    QString caption, text;
    WhenModal([&](QWidget* modal) {
        AnswerFileDialog(modal, QString::fromStdString(path));
        WhenModal([&](QWidget* box) {
            caption = box->windowTitle();
            if (auto* message = qobject_cast<QMessageBox*>(box))
                text = message->text();
            ButtonWithText(box, "OK")->click();
        });
    });
    Action("Open1")->trigger();
    EXPECT_EQ(caption, "Erreur");
    EXPECT_EQ(text, QString::fromUtf8("'abc' n'est pas une valeur entière correcte."));
    EXPECT_EQ(window->windowTitle(), "DAV Uzuviv V1.0 - ");
    EXPECT_TRUE(window->CurrentDocument().CurrentFileName.empty());
    EXPECT_EQ(window->findChild<QTableView*>("ListView1")->model()->rowCount(), 0);
}

TEST_F(MainWindowTest, TextFromAFileIsShownLiterallyNeverAsMarkup)
{
    const std::string path = folder.File("marked.csv");
    WriteBytes(path, "Num;Latitude(D.d);Longitude(D.d);Tolerance;Mode;File;Comments...\r\n"
                     "1;1.5;2.5;<b>7</b>;1;001;<img src=x>\r\n");
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    WhenModal([&](QWidget* modal) {
        AnswerFileDialog(modal, QString::fromStdString(path));
        WhenModal([&](QWidget* box) {
            if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) {
                text = label->text();
                format = label->textFormat();
            }
            ButtonWithText(box, "OK")->click();
        });
    });
    Action("ImportGPSFile1")->trigger();
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(text, QString::fromUtf8("'<b>7</b>' n'est pas une valeur entière correcte."));
}

TEST_F(MainWindowTest, SaveDialogsRefuseAReadOnlyFileAndStayOpen)
{
    NewProject("Locked");
    const auto lock = [](const std::string& path) {
        WriteBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    };
    // Picks `locked` typed without its extension, answers the refusal, then picks `free`.
    const auto pick = [](QWidget* modal, const std::string& locked, const std::string& free,
                         QString& refusal, bool& stayedOpen) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        WhenModal([&refusal](QWidget* box) {
            refusal = box->windowTitle() + ": " + box->findChild<QLabel*>("qt_msgbox_label")->text();
            box->close();
        });
        testing::TypeIntoFileDialog(dialog, QString::fromStdString(locked).chopped(4));
        static_cast<QDialog*>(dialog)->accept();
        stayedOpen = dialog->isVisible();
        if (!stayedOpen)
            return;
        // The list still selects the refused file; typing into the focused name box, as a
        // user does, drops that selection, which a window that is not active cannot show.
        dialog->findChild<QAbstractItemView*>("listView")->clearSelection();
        AnswerFileDialog(dialog, QString::fromStdString(free));
    };
    const struct { const char* command; const char* dialog; const char* locked; const char* free; } cases[] = {
        {"SaveAs1", "SaveDialog1", "locked.gps", "free.gps"},
        {"CreateGPSFile1", "SaveDialog2", "locked.csv", "free.csv"},
        {"ExportGpxFile1", "SaveGpxDialog", "locked.gpx", "free.gpx"},
        {"ExportKmlFile1", "SaveKmlDialog", "locked.kml", "free.kml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        lock(folder.File(c.locked));
        QString refusal, dialogName;
        bool stayedOpen = false;
        WhenModal([&](QWidget* modal) {
            dialogName = modal->objectName();
            pick(modal, folder.File(c.locked), folder.File(c.free), refusal, stayedOpen);
        });
        Action(c.command)->trigger();
        EXPECT_EQ(dialogName, c.dialog);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(refusal.toStdString(),
                  std::string("Avertissement: ") + c.locked + "\nThis file is read-only. Choose another name.");
        EXPECT_EQ(ReadBytes(folder.File(c.locked)), "old");
        EXPECT_NE(ReadBytes(folder.File(c.free)), "");
    }

    // The save prompt before New: the refusal no longer stops the New that asked.
    lock(folder.File("prompt.gps"));
    window->CurrentDocument().CurrentFileName.clear();
    window->CurrentDocument().CurrentProject()->Subject = "changed";
    QString refusal;
    bool stayedOpen = false;
    WhenModal([&](QWidget* question) {
        WhenModal([&](QWidget* modal) {
            pick(modal, folder.File("prompt.gps"), folder.File("saved.gps"), refusal, stayedOpen);
            WhenModal([](QWidget* properties) {
                properties->findChild<QLineEdit*>("Edit1")->setText("Next");
                properties->findChild<QPushButton*>("Button1")->click();
            });
        });
        ButtonWithText(question, "&Oui")->click();
    });
    Action("New2")->trigger();
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_EQ(ReadBytes(folder.File("prompt.gps")), "old");
    EXPECT_NE(ReadBytes(folder.File("saved.gps")).find("changed"), std::string::npos);
    EXPECT_EQ(window->windowTitle(), "DAV Uzuviv V1.0 - Next");
}

// The dialog's list of the folder fills in the background and can move its selection while the
// replace question is open: the file written is still the one the question named.
TEST_F(MainWindowTest, TheSaveWritesTheFileTheReplaceQuestionNamed)
{
    NewProject("Confirmed");
    const struct { const char* command; const char* confirmed; const char* other; } cases[] = {
        {"SaveAs1", "confirmed.gps", "other.gps"},
        {"CreateGPSFile1", "confirmed.csv", "other.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        WriteBytes(folder.File(c.confirmed), "old");
        WriteBytes(folder.File(c.other), "old");
        QString question;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            WhenModal([&](QWidget* box) {
                question = box->findChild<QLabel*>("qt_msgbox_label")->text();
                dialog->selectFile(QString::fromStdString(folder.File(c.other)));
                ButtonWithText(box, "&Yes")->click();
            });
            AnswerFileDialog(dialog, QString::fromStdString(folder.File(c.confirmed)));
        });
        Action(c.command)->trigger();
        EXPECT_EQ(question.toStdString(), std::string(c.confirmed) + " already exists.\nDo you want to replace it?");
        EXPECT_NE(ReadBytes(folder.File(c.confirmed)), "old");
        EXPECT_EQ(ReadBytes(folder.File(c.other)), "old");
    }
}

TEST_F(MainWindowTest, SaveAndReopenThroughTheDialogsShowsThePoints)
{
    NewProject("Round");
    auto& records = window->CurrentDocument().CurrentProject()->Records;
    records.resize(3);
    records[2].Latitude = 45.5L;
    records[2].Mode = 3;
    const QString path = QString::fromStdString(folder.File("round"));
    WhenModal([&](QWidget* modal) { AnswerFileDialog(modal, path); });
    Action("SaveAs1")->trigger();
    EXPECT_EQ(window->CurrentDocument().CurrentFileName, folder.File("round.gps"));

    WhenModal([&](QWidget* modal) { AnswerFileDialog(modal, path + ".gps"); });
    Action("Open1")->trigger();
    QAbstractItemModel* model = window->findChild<QTableView*>("ListView1")->model();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(2, 0).data().toString(), "003");
    EXPECT_EQ(model->index(2, 1).data().toString(), "45.500000");
    EXPECT_EQ(model->index(2, 4).data().toString(), "Free Tour");
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("N°"));
}

TEST_F(MainWindowTest, ExitWithAModifiedProjectAsksInFrenchButtons)
{
    NewProject("Leave");
    QStringList buttons;
    WhenModal([&](QWidget* box) {
        EXPECT_EQ(box->windowTitle(), "Confirmation");
        for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
            buttons << button->text();
        ButtonWithText(box, "&Non")->click();
    });
    EXPECT_TRUE(window->close());
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"&Non", "&Oui"}));
}

TEST_F(MainWindowTest, ProgressWindowMovesOnWholePercentChangesOnly)
{
    TForm4* progress = window->ProgressWindow();
    EXPECT_EQ(progress->size(), QSize(226, 58));
    EXPECT_TRUE(progress->windowFlags() & Qt::WindowStaysOnTopHint);
    progress->Show("Saving Project...");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->windowTitle(), "Saving Project...");
    const int before = progress->Gauge1()->RepaintCount();
    for (int i = 1; i <= 200; ++i)
        progress->SetProgress(i * 100 / 200);
    EXPECT_EQ(progress->Gauge1()->RepaintCount() - before, 100);
    EXPECT_EQ(progress->Gauge1()->Progress(), 100);
    progress->SetProgress(250);
    EXPECT_EQ(progress->Gauge1()->Progress(), 100);
    progress->Close();
    EXPECT_FALSE(progress->isVisible());
}

} // namespace
} // namespace uzuviv
