#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "editing/PanelLogic.h"
#include "text/text.h"
#include "ui/EditorPanel.h"
#include "ui/FieldEdit.h"
#include "ui/Main.h"
#include "ui/ModalHelper.h"

namespace uzuviv {
namespace {

using testing::TempFolder;

// Qt's own checker of the model contract, watching the point list while it lives; what it finds
// is kept for the test to look at.
class ModelContractCheck {
public:
    explicit ModelContractCheck(QAbstractItemModel* model)
    {
        Failures().clear();
        previous_ = qInstallMessageHandler(&Collect);
        tester_ = std::make_unique<QAbstractItemModelTester>(
            model, QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    ~ModelContractCheck()
    {
        tester_.reset();
        qInstallMessageHandler(previous_);
    }
    static QStringList& Failures()
    {
        static QStringList failures;
        return failures;
    }

private:
    static void Collect(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        if (context.category != nullptr && qstrcmp(context.category, "qt.modeltest") == 0)
            Failures() << message;
    }

    QtMessageHandler previous_ = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

// A shown, active main window holding a new project of `points` points.
class PointEditingUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TForm1>(QString::fromStdString(folder.File("DAVUzuviv.cfg")));
        LanguageIndex = 2;
        window->ApplyLanguage();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->CurrentDocument().ResetProject();
        window->RebuildPointList();
        window->RefreshCommands();
    }

    void AddPoints(int count)
    {
        for (int i = 0; i < count; ++i)
            Action("New1")->trigger();
    }

    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    QTableView* List() { return window->PointList(); }
    FieldEdit* Box(PanelBox box) { return window->Panel()->Box(box); }
    std::size_t Count() { return window->CurrentDocument().CurrentProject()->Records.size(); }

    QPoint CellCenter(int row, int column)
    {
        return List()->visualRect(List()->model()->index(row, column)).center();
    }

    TempFolder folder;
    std::unique_ptr<TForm1> window;
};

TEST_F(PointEditingUiTest, ShortcutsReachTheirCommandsAndShowFrenchKeyNames)
{
    EXPECT_EQ(Action("Delete1")->shortcut().toString(QKeySequence::NativeText), "Suppr");
    EXPECT_EQ(Action("Redo1")->shortcut().toString(QKeySequence::NativeText), "Ctrl+Alt+Z");
    EXPECT_EQ(QKeySequence(Qt::SHIFT | Qt::Key_F9).toString(QKeySequence::NativeText), "Maj+F9");

    List()->setFocus();
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Count(), 2u);
    QTest::keyClick(List(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Count(), 1u);
    QTest::keyClick(List(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Count(), 2u);
    QTest::keyClick(List(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(Count(), 0u);
    // Disabled now: the shortcut does nothing.
    EXPECT_FALSE(Action("Delete1")->isEnabled());
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(Count(), 0u);
}

TEST_F(PointEditingUiTest, TextKeysInAPanelBoxActOnItsText)
{
    AddPoints(3);
    FieldEdit* comments = Box(PanelBox::Comments);
    comments->setFocus();
    comments->selectAll();
    QTest::keyClick(comments, Qt::Key_Delete);
    EXPECT_EQ(comments->text(), "");
    EXPECT_EQ(Count(), 3u);
    // The toolbar's delete button right after typing deletes no point either.
    QTest::keyClicks(comments, "abc");
    window->findChild<QToolButton*>("SpeedButton2")->click();
    EXPECT_EQ(Count(), 3u);
    EXPECT_EQ(comments->text(), "abc");
}

TEST_F(PointEditingUiTest, WidgetStatesFollowTheCommandStates)
{
    EXPECT_TRUE(List()->isVisible());
    EXPECT_TRUE(window->Panel()->isVisible());
    auto* setData = window->Panel()->findChild<QWidget*>("mxFlatSpeedButton1");
    auto* newButton = window->Panel()->findChild<QWidget*>("mxFlatSpeedButton2");
    EXPECT_FALSE(setData->isEnabled());
    EXPECT_TRUE(newButton->isEnabled());
    EXPECT_FALSE(Action("SelectAll1")->isEnabled());
    EXPECT_FALSE(window->findChild<QToolButton*>("SpeedButton6")->isEnabled());

    AddPoints(1);
    EXPECT_TRUE(setData->isEnabled());
    EXPECT_TRUE(Action("Cut2")->isEnabled());
    EXPECT_TRUE(window->findChild<QToolButton*>("SpeedButton6")->isEnabled());
    EXPECT_FALSE(window->findChild<QToolButton*>("SpeedButton7")->isEnabled());

    window->CurrentDocument().CurrentProject()->Records.resize(150);
    window->RebuildPointList();
    window->RefreshCommands();
    EXPECT_FALSE(Action("New1")->isEnabled());
    EXPECT_FALSE(window->findChild<QToolButton*>("SpeedButton1")->isEnabled());
    EXPECT_FALSE(newButton->isEnabled());
    EXPECT_FALSE(Action("NewGPSFromGoogleMapsClipboard1")->isEnabled());

    // Display mode 2: the seconds boxes go, the decimal-minutes captions come.
    window->findChild<QRadioButton*>("mxFlatRadioButton1")->click();
    EXPECT_EQ(window->DisplayMode(), 2);
    EXPECT_FALSE(Box(PanelBox::LatitudeSeconds)->isVisible());
    EXPECT_TRUE(window->Panel()->findChild<QWidget*>("Label19")->isVisible());
    EXPECT_FALSE(Box(PanelBox::LatitudeDecimal)->isEnabled());
    EXPECT_TRUE(Box(PanelBox::LatitudeDegrees)->isEnabled());
    EXPECT_EQ(List()->model()->index(0, 1).data().toString(), QString::fromUtf8("0° 0.000000' N"));
}

TEST_F(PointEditingUiTest, DoubleClickOnEachColumnPointsAtItsBoxes)
{
    AddPoints(2);
    const struct { int column; int mode; PanelBox focus; const char* caption; } cases[] = {
        {1, 1, PanelBox::LatitudeDecimal, "Label3"}, {2, 1, PanelBox::LongitudeDecimal, "Label2"},
        {1, 3, PanelBox::LatitudeDegrees, "Label4"}, {2, 4, PanelBox::LongitudeDegrees, "Label5"},
        {3, 1, PanelBox::Tolerance, "Label1"},       {5, 1, PanelBox::FileRef, "Label12"},
        {6, 1, PanelBox::Comments, "Label13"},
    };
    const char* modeButtons[] = {"", "mxFlatRadioButton3", "mxFlatRadioButton1",
                                 "mxFlatRadioButton5", "mxFlatRadioButton6"};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "column " << c.column << " mode " << c.mode);
        window->findChild<QRadioButton*>(modeButtons[c.mode])->click();
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, CellCenter(1, c.column));
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, CellCenter(1, c.column));
        EXPECT_EQ(window->focusWidget(), Box(c.focus));
        EXPECT_EQ(window->Panel()->BorderColor(c.focus), QColor(255, 0, 0));
        EXPECT_EQ(window->Panel()->SetDataBorderColor(), QColor(255, 0, 0));
        EXPECT_TRUE(window->findChild<QTimer*>("Timer1")->isActive());
        // Any key clears all red at once, and still reaches the box.
        QTest::keyClick(Box(c.focus), Qt::Key_1);
        EXPECT_NE(window->Panel()->BorderColor(c.focus), QColor(255, 0, 0));
        EXPECT_NE(window->Panel()->SetDataBorderColor(), QColor(255, 0, 0));
    }
    // The number column: only Set data turns red; below the last row: nothing, and the red goes.
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, CellCenter(0, 0));
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, CellCenter(0, 0));
    EXPECT_EQ(window->Panel()->SetDataBorderColor(), QColor(255, 0, 0));
    EXPECT_NE(window->Panel()->BorderColor(PanelBox::Tolerance), QColor(255, 0, 0));
    const QPoint below(20, List()->viewport()->height() - 3);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, below);
    EXPECT_NE(window->Panel()->SetDataBorderColor(), QColor(255, 0, 0));

    // The mode column focuses the radio button of the row's stored mode, not the one checked in
    // the panel: changed and not stored, or the row of a Ctrl+double-click that the panel does
    // not show.
    window->CurrentDocument().CurrentProject()->Records[0].Mode = 2;
    window->CurrentDocument().CurrentProject()->Records[1].Mode = 3;
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, CellCenter(0, 4));
    window->findChild<QRadioButton*>("mxFlatRadioButton7")->click();
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, CellCenter(0, 4));
    EXPECT_EQ(window->focusWidget()->objectName(), "mxFlatRadioButton8");
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(1, 4));
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(1, 4));
    EXPECT_EQ(window->focusWidget()->objectName(), "mxFlatRadioButton2");
}

TEST_F(PointEditingUiTest, ListEditsKeepTheModelContractAndThePanelOnTheSelectedPoint)
{
    ModelContractCheck check(List()->model());
    AddPoints(5);
    auto& records = window->CurrentDocument().CurrentProject()->Records;
    const std::vector<std::string> names = {"one", "two", "three", "four", "five"};
    for (std::size_t i = 0; i < names.size(); ++i)
        records[i].Comments = names[i];
    window->RefreshAllListRows();
    const auto comments = [&]() {
        std::vector<std::string> kept;
        for (const TGPSRecord& record : window->CurrentDocument().CurrentProject()->Records)
            kept.push_back(record.Comments);
        return kept;
    };
    const auto select = [&](std::initializer_list<std::size_t> rows) {
        RowSelection selection;
        for (std::size_t row : rows)
            selection.Add(row);
        window->SetSelection(selection);
        List()->setFocus();
    };

    // Rows 2 and 4 of five: the panel keeps showing row 2, never the old row 3.
    select({1, 3});
    EXPECT_EQ(Box(PanelBox::Comments)->text(), "two");
    Action("Delete1")->trigger();
    EXPECT_EQ(comments(), (std::vector<std::string>{"one", "three", "five"}));
    EXPECT_EQ(Box(PanelBox::Comments)->text(), "two");
    EXPECT_TRUE(window->Selection().Empty());
    EXPECT_EQ(List()->model()->index(2, 0).data().toString(), "003");
    EXPECT_EQ(List()->model()->index(2, 6).data().toString(), "five");

    Action("Undo1")->trigger();
    EXPECT_EQ(comments(), names);
    Action("Redo1")->trigger();
    EXPECT_EQ(comments().size(), 3u);
    Action("Undo1")->trigger();
    select({0, 2});
    Action("Cut1")->trigger();
    EXPECT_EQ(comments(), (std::vector<std::string>{"two", "four", "five"}));
    EXPECT_EQ(Box(PanelBox::Comments)->text(), "one");
    Action("Paste1")->trigger();
    EXPECT_EQ(comments(), (std::vector<std::string>{"two", "four", "five", "one", "three"}));
    Action("Undo1")->trigger();
    Action("Redo1")->trigger();
    EXPECT_EQ(List()->model()->rowCount(), 5);
    EXPECT_EQ(List()->model()->index(4, 6).data().toString(), "three");

    // Every other row of 150: many blocks at once.
    select({0, 1, 2, 3, 4});
    Action("Delete1")->trigger();
    AddPoints(150);
    RowSelection everyOther;
    for (std::size_t row = 0; row < 150; row += 2)
        everyOther.Add(row);
    window->SetSelection(everyOther);
    List()->setFocus();
    Action("Delete1")->trigger();
    EXPECT_EQ(List()->model()->rowCount(), 75);
    Action("Undo1")->trigger();
    EXPECT_EQ(List()->model()->rowCount(), 150);

    EXPECT_TRUE(ModelContractCheck::Failures().isEmpty())
        << ModelContractCheck::Failures().join('\n').toStdString();
}

TEST_F(PointEditingUiTest, EditingSessionInTheFourModesAndBackToTheSavedState)
{
    AddPoints(1);
    window->CurrentDocument().MarkSaved();
    window->RefreshCommands();
    const char* modeButtons[] = {"mxFlatRadioButton3", "mxFlatRadioButton1", "mxFlatRadioButton5",
                                 "mxFlatRadioButton6"};
    for (const char* button : modeButtons) {
        window->findChild<QRadioButton*>(button)->click();
        // Set data without touching anything changes nothing at all.
        window->Panel()->findChild<QAbstractButton*>("mxFlatSpeedButton1")->click();
        EXPECT_FALSE(window->CurrentDocument().IsProjectModified()) << button;
    }
    window->findChild<QRadioButton*>("mxFlatRadioButton3")->click();
    Box(PanelBox::LatitudeDecimal)->setText("45,5");
    Box(PanelBox::Tolerance)->setText("20");
    window->Panel()->findChild<QAbstractButton*>("mxFlatSpeedButton1")->click();
    EXPECT_EQ(window->CurrentDocument().CurrentProject()->Records[0].Latitude, 45.5L);
    EXPECT_EQ(List()->model()->index(0, 3).data().toString(), "020");
    EXPECT_TRUE(window->CurrentDocument().IsProjectModified());
    while (Action("Undo1")->isEnabled())
        Action("Undo1")->trigger();
    EXPECT_FALSE(window->CurrentDocument().IsProjectModified());
    EXPECT_TRUE(window->close());   // no save prompt: nothing to answer
}

TEST_F(PointEditingUiTest, RightClickOpensThePopupAndRecordsThePosition)
{
    AddPoints(2);
    bool shown = false;
    QMenu* popup = window->findChild<QMenu*>("PopupMenu1");
    QTimer::singleShot(50, [&]() {
        shown = popup->isVisible();
        popup->close();
    });
    QTest::mousePress(List()->viewport(), Qt::RightButton, {}, CellCenter(0, 2));
    QTest::qWait(100);
    QTest::mouseRelease(List()->viewport(), Qt::RightButton, {}, CellCenter(0, 2));
    EXPECT_TRUE(shown);
    EXPECT_EQ(window->ListMouse(), CellCenter(0, 2));
    EXPECT_TRUE(window->findChild<QAction*>("ShowInGoogleMap1")->isEnabled());
}

} // namespace
} // namespace uzuviv
