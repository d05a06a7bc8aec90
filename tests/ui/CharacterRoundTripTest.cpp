// Every character a Windows-1252 file can hold goes through every box of the Project Properties
// dialog and of the editor panel and comes back unchanged: an untouched OK or Set data must not
// change a byte of the file.

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "editing/FakeView.h"
#include "editing/PanelLogic.h"
#include "files/Cp1252.h"
#include "files/UnitOfCodes.h"
#include "ui/EditorPanel.h"
#include "ui/Main.h"
#include "ui/ModalHelper.h"

namespace uzuviv {
namespace {

using testing::AnswerFileDialog;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WhenModal;

// The 254 characters a field can hold: every byte but the two line ends, as UTF-8.
std::vector<std::string> FieldCharacters()
{
    std::vector<std::string> characters;
    for (int byte = 0; byte < 256; ++byte)
        if (byte != '\r' && byte != '\n')
            characters.push_back(Cp1252ToUtf8(std::string(1, static_cast<char>(byte))));
    return characters;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator = "")
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i > 0 ? separator : "") + parts[i];
    return text;
}

// Where two byte strings part, so a failure names the byte instead of printing both.
std::string ByteDifference(const std::string& a, const std::string& b)
{
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    if (at == a.size() && at == b.size())
        return "";
    char text[64];
    std::snprintf(text, sizeof text, "at %zu: byte %02X became %02X", at,
                  at < a.size() ? static_cast<unsigned char>(a[at]) : 0xFFFu,
                  at < b.size() ? static_cast<unsigned char>(b[at]) : 0xFFFu);
    return text;
}

// The Windows-1252 bytes by which two texts differ.
std::string Difference(const std::string& expected, const std::string& actual)
{
    return ByteDifference(Utf8ToCp1252(expected), Utf8ToCp1252(actual));
}

class CharacterRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TForm1>(QString::fromStdString(folder.File("DAVUzuviv.cfg")));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    const TProjectType& Project() { return *window->CurrentDocument().CurrentProject(); }

    TempFolder folder;
    std::unique_ptr<TForm1> window;
};

TEST_F(CharacterRoundTripTest, EveryCharacterGoesThroughEveryBoxUnchanged)
{
    const std::vector<std::string> characters = FieldCharacters();
    const std::string all = Joined(characters);
    TProjectType stored;
    stored.ProjectName = all;
    stored.Subject = " " + all;
    stored.Author = all + " ";
    stored.Copyright = "\xC2\xA0";
    stored.Customer = "\t";
    stored.CreationDate = all;
    // One character a line, a line of all of them, the no-break space before a colon, and a
    // trailing empty line.
    stored.ProjectComments = characters;
    stored.ProjectComments.insert(stored.ProjectComments.end(),
                                  {all, "Prix\xC2\xA0: 10 \xE2\x82\xAC", ""});
    stored.Records.resize(2);
    stored.Records[0].Comments = all;
    stored.Records[1].Comments = "\xC2\xA0";
    const std::string path = folder.File("all.gps");
    testing::RecordingProgress progress;
    SaveProjectFile(path, stored, progress);
    const std::string bytes = ReadBytes(path);

    WhenModal([&](QWidget* modal) { AnswerFileDialog(modal, QString::fromStdString(path)); });
    Action("Open1")->trigger();
    ASSERT_EQ(window->CurrentDocument().CurrentFileName, path);
    ASSERT_FALSE(window->CurrentDocument().IsProjectModified());

    // Project Properties, OK without touching anything.
    WhenModal([](QWidget* modal) { modal->findChild<QPushButton*>("Button1")->click(); });
    Action("Property1")->trigger();
    const struct { const char* box; const std::string& expected; const std::string& actual; } fields[] = {
        {"Edit1", stored.ProjectName, Project().ProjectName},
        {"Edit2", stored.Subject, Project().Subject},
        {"Edit3", stored.Author, Project().Author},
        {"Edit4", stored.Copyright, Project().Copyright},
        {"Edit5", stored.Customer, Project().Customer},
        {"Edit6", stored.CreationDate, Project().CreationDate},
    };
    for (const auto& field : fields)
        EXPECT_EQ(Difference(field.expected, field.actual), "") << field.box;
    EXPECT_EQ(Difference(Joined(stored.ProjectComments, "\n"), Joined(Project().ProjectComments, "\n")), "")
        << "Memo1";
    EXPECT_EQ(Project().ProjectComments.size(), stored.ProjectComments.size());

    // The editor panel: each point loaded and stored again by an untouched Set data.
    for (std::size_t row = 0; row < 2; ++row) {
        window->SetSelection(RowSelection::Single(row));
        window->Panel()->findChild<QPushButton*>("mxFlatSpeedButton1")->click();
        EXPECT_EQ(Difference(stored.Records[row].Comments, Project().Records[row].Comments), "")
            << "mxFlatEdit1, point " << row + 1;
    }
    EXPECT_FALSE(window->CurrentDocument().IsProjectModified());
    Action("Save1")->trigger();
    EXPECT_EQ(ByteDifference(bytes, ReadBytes(path)), "");

    // Every panel box shows and gives back any text; so does a line typed or pasted into the
    // comments of the dialog.
    PanelTexts texts;
    for (int box = 0; box < PanelBoxCount; ++box)
        texts.Boxes[box] = characters[static_cast<std::size_t>(box)] + all;
    window->WritePanel(texts);
    const PanelTexts back = window->ReadPanel();
    for (int box = 0; box < PanelBoxCount; ++box)
        EXPECT_EQ(Difference(texts.Boxes[box], back.Boxes[box]), "")
            << PanelBoxName(static_cast<PanelBox>(box));
    WhenModal([&](QWidget* modal) {
        auto* memo = modal->findChild<QPlainTextEdit*>("Memo1");
        memo->clear();
        memo->insertPlainText(QString::fromStdString(Joined(characters, "\n") + "\n" + all));
        modal->findChild<QPushButton*>("Button1")->click();
    });
    Action("Property1")->trigger();
    std::vector<std::string> typed = characters;
    typed.push_back(all);
    EXPECT_EQ(Difference(Joined(typed, "\n"), Joined(Project().ProjectComments, "\n")), "");
}

} // namespace
} // namespace uzuviv
