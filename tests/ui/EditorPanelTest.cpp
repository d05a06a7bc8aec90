#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "text/text.h"
#include "ui/EditorPanel.h"
#include "ui/FieldEdit.h"

namespace uzuviv {
namespace {

const std::string Red = "#ff0000";

std::string Name(const QColor& color) { return color.name().toStdString(); }

class EditorPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedLanguage = LanguageIndex;
        LanguageIndex = 2;
        panel = std::make_unique<EditorPanel>();
    }
    void TearDown() override { LanguageIndex = savedLanguage; }

    template <typename T = QWidget>
    T* Child(const char* name) const
    {
        return panel->findChild<T*>(QString::fromLatin1(name));
    }

    std::string TextOf(const char* name) const
    {
        return Child(name)->property("text").toString().toStdString();
    }

    // Focus needs a shown, active window.
    void ShowActive()
    {
        panel->show();
        QApplication::setActiveWindow(panel.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
    }

    std::uint8_t savedLanguage = 2;
    std::unique_ptr<EditorPanel> panel;
};

TEST_F(EditorPanelTest, NamesAndStartState)
{
    EXPECT_EQ(panel->objectName(), "mxFlatPanel1");
    EXPECT_EQ(panel->size(), QSize(800, 245));

    const struct { PanelBox box; const char* name; } boxes[] = {
        {PanelBox::LatitudeDecimal, "mxFlatEdit2"},   {PanelBox::LongitudeDecimal, "mxFlatEdit3"},
        {PanelBox::LatitudeDegrees, "mxFlatEdit4"},   {PanelBox::LatitudeMinutes, "mxFlatEdit5"},
        {PanelBox::LatitudeSeconds, "mxFlatEdit6"},   {PanelBox::LatitudeHemisphere, "mxFlatEdit12"},
        {PanelBox::LongitudeDegrees, "mxFlatEdit7"},  {PanelBox::LongitudeMinutes, "mxFlatEdit8"},
        {PanelBox::LongitudeSeconds, "mxFlatEdit9"},  {PanelBox::LongitudeHemisphere, "mxFlatEdit13"},
        {PanelBox::Tolerance, "mxFlatEdit10"},        {PanelBox::FileRef, "mxFlatEdit11"},
        {PanelBox::Comments, "mxFlatEdit1"},
    };
    for (const auto& entry : boxes) {
        SCOPED_TRACE(entry.name);
        ASSERT_NE(Child<FieldEdit>(entry.name), nullptr);
        EXPECT_EQ(panel->Box(entry.box), Child<FieldEdit>(entry.name));
        EXPECT_EQ(panel->Box(entry.box)->text().toStdString(),
                  entry.box == PanelBox::Comments ? "..." : "");
    }
    for (int i = 1; i <= 22; ++i) {
        const QByteArray name = "Label" + QByteArray::number(i);
        EXPECT_NE(Child<QLabel>(name.constData()), nullptr) << name.constData();
    }
    for (const char* name : {"mxFlatRadioButton7", "mxFlatRadioButton8", "mxFlatRadioButton2"}) {
        ASSERT_NE(Child<QRadioButton>(name), nullptr) << name;
        EXPECT_FALSE(Child<QRadioButton>(name)->isChecked()) << name;
    }
    EXPECT_EQ(panel->Texts().CheckedMode, 0);
    for (const char* name : {"mxFlatSpeedButton1", "mxFlatSpeedButton2"}) {
        ASSERT_NE(Child<QPushButton>(name), nullptr) << name;
        EXPECT_FALSE(Child<QPushButton>(name)->isEnabled()) << name;
        EXPECT_EQ(Child<QPushButton>(name)->focusPolicy(), Qt::NoFocus) << name;
    }
    // The decimal-minutes headings sit exactly on the whole-minutes headings.
    EXPECT_EQ(Child("Label19")->geometry(), Child("Label7")->geometry());
    EXPECT_EQ(Child("Label20")->geometry(), Child("Label17")->geometry());
}

TEST_F(EditorPanelTest, FocusChainFollowsTheFormOrder)
{
    const QStringList expected = {
        "mxFlatEdit2", "mxFlatEdit3", "mxFlatEdit4", "mxFlatEdit5", "mxFlatEdit6",
        "mxFlatEdit12", "mxFlatEdit7", "mxFlatEdit8", "mxFlatEdit9", "mxFlatEdit13",
        "mxFlatEdit10", "mxFlatRadioButton7", "mxFlatRadioButton8", "mxFlatRadioButton2",
        "mxFlatEdit11", "mxFlatEdit1"};
    QStringList chain;
    QWidget* widget = Child("mxFlatEdit2");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != Child("mxFlatEdit2"));
    EXPECT_EQ(chain.join(' ').toStdString(), expected.join(' ').toStdString());

    // With the sexagesimal block enabled, Tab walks it and skips the disabled decimal boxes.
    panel->ArrangeCoordinateFields(false, false);
    ShowActive();
    panel->Box(PanelBox::LatitudeDegrees)->setFocus();
    QStringList tabbed{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        tabbed << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(tabbed.join(' ').toStdString(),
              (expected.mid(2) << "mxFlatEdit4").join(' ').toStdString());
}

TEST_F(EditorPanelTest, ArrangeSwitchesBlocksAndMinuteHeadings)
{
    PanelTexts texts;
    texts.Boxes = {"45.5", "4.5", "45", "30", "0", "N", "4", "30", "0", "E", "10", "1", "x"};
    panel->SetTexts(texts);

    const char* decimalSide[] = {"mxFlatEdit2", "mxFlatEdit3", "Label3", "Label2"};
    const char* degreeSide[] = {"mxFlatEdit4", "mxFlatEdit5", "mxFlatEdit6", "mxFlatEdit12",
                                "mxFlatEdit7", "mxFlatEdit8", "mxFlatEdit9", "mxFlatEdit13",
                                "Label4", "Label5"};
    const char* secondsShown[] = {"mxFlatEdit6", "mxFlatEdit9", "Label8", "Label18", "Label7",
                                  "Label17"};
    const char* decimalMinutes[] = {"Label19", "Label20"};

    // In the order a user might switch display modes, so every step has to undo the last one.
    const struct { int displayMode; bool decimal; bool minutesOnly; } modes[] = {
        {2, false, true}, {3, false, false}, {1, true, false}, {2, false, true}, {4, false, false},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.displayMode);
        panel->ArrangeCoordinateFields(mode.decimal, mode.minutesOnly);
        for (const char* name : decimalSide) {
            EXPECT_EQ(Child(name)->isEnabled(), mode.decimal) << name;
            EXPECT_FALSE(Child(name)->isHidden()) << name;
        }
        for (const char* name : degreeSide)
            EXPECT_EQ(Child(name)->isEnabled(), !mode.decimal) << name;
        for (const char* name : secondsShown)
            EXPECT_EQ(Child(name)->isHidden(), mode.minutesOnly) << name;
        for (const char* name : decimalMinutes)
            EXPECT_EQ(Child(name)->isHidden(), !mode.minutesOnly) << name;
        EXPECT_FALSE(Child("mxFlatEdit12")->isHidden());
        EXPECT_EQ(panel->Texts(), texts);
    }
}

TEST_F(EditorPanelTest, ApplyLanguageRelabels)
{
    const struct { const char* name; const char* english; const char* french; } labels[] = {
        {"Label3", "Latitude:", "Latitude :"},
        {"Label5", "Longitude:", "Longitude :"},
        {"Label13", "Comments", "Commentaires :"},
        {"Label14", "+90 to -90 degrees", "de +90 à -90 degrées"},
        {"Label16", "Degrees:", "Degrées :"},
        {"Label17", "Minutes:", "Minutes :"},
        {"Label18", "Secondes.d:", "Secondes.d :"},
        {"Label19", "Minutes.d:", "Minutes.d:"},
        {"Label9", "0 to 1000 meters", "de 0 à 1000 mètres"},
        {"Label11", "1 to 999", "de 1 à 999"},
        {"Label21", "N/S", "N/S"},
        {"Label22", "E/W", "E/W"},
        {"mxFlatRadioButton7", "Track", "Circuit"},
        {"mxFlatRadioButton8", "Alarm", "Alarme"},
        {"mxFlatRadioButton2", "Free Tour", "Parcours libre"},
        {"mxFlatSpeedButton1", "Set data", "Affecter"},
        {"mxFlatSpeedButton2", "New", "Nouveau"},
    };
    for (const std::uint8_t language : {1, 2, 1}) {
        LanguageIndex = language;
        panel->ApplyLanguage();
        for (const auto& label : labels)
            EXPECT_EQ(TextOf(label.name), language == 1 ? label.french : label.english)
                << label.name << " in language " << int(language);
    }
}

TEST_F(EditorPanelTest, SetTextsAndTextsRoundTrip)
{
    PanelTexts texts;
    // A program-set text longer than a typed limit, in lower case, and with accents stays whole.
    texts.Boxes = {"-12.5", "100.25", "123456", "59.999999", "", "s", "7", "0", "1.5", "w",
                   "1000", "999", "Café près de l'église"};
    for (const int mode : {1, 2, 3, 0, 3}) {
        SCOPED_TRACE(mode);
        texts.CheckedMode = mode;
        panel->SetTexts(texts);
        EXPECT_EQ(panel->Texts(), texts);
        EXPECT_EQ(Child<QRadioButton>("mxFlatRadioButton7")->isChecked(), mode == 1);
        EXPECT_EQ(Child<QRadioButton>("mxFlatRadioButton8")->isChecked(), mode == 2);
        EXPECT_EQ(Child<QRadioButton>("mxFlatRadioButton2")->isChecked(), mode == 3);
    }
    EXPECT_EQ(panel->Box(PanelBox::LatitudeDegrees)->text().toStdString(), "123456");
}

TEST_F(EditorPanelTest, TypingRespectsLimitsAndUpperCase)
{
    const struct { PanelBox box; const char* typed; const char* shown; } cases[] = {
        {PanelBox::LatitudeDegrees, "-12345", "-123"},
        {PanelBox::LongitudeDegrees, "18000", "1800"},
        {PanelBox::LatitudeMinutes, "12.345678", "12.3456"},
        {PanelBox::LatitudeSeconds, "1234567890", "1234567"},
        {PanelBox::LongitudeMinutes, "1234567890", "1234567"},
        {PanelBox::LongitudeSeconds, "1234567890", "1234567"},
        {PanelBox::LongitudeHemisphere, "we", "W"},
        {PanelBox::LatitudeHemisphere, "ns", "NS"},
        {PanelBox::LatitudeDecimal, "45.5e-3n", "45.5E-3N"},
        {PanelBox::Tolerance, "abc12345678", "ABC12345678"},
        {PanelBox::FileRef, "x1", "X1"},
        {PanelBox::Comments, "Near the Bridge", "Near the Bridge"},
    };
    for (const auto& entry : cases) {
        FieldEdit* box = panel->Box(entry.box);
        SCOPED_TRACE(box->objectName().toStdString());
        box->setEnabled(true);
        box->clear();
        QTest::keyClicks(box, entry.typed);
        EXPECT_EQ(box->text().toStdString(), entry.shown);
    }

    // A keystroke inside a full box is refused too, and the caret stays where it was.
    FieldEdit* degrees = panel->Box(PanelBox::LatitudeDegrees);
    QTest::keyClick(degrees, Qt::Key_Home);
    QTest::keyClicks(degrees, "98");
    EXPECT_EQ(degrees->text().toStdString(), "-123");
    EXPECT_EQ(degrees->cursorPosition(), 0);
    QTest::keyClick(degrees, Qt::Key_Delete);
    QTest::keyClicks(degrees, "98");
    EXPECT_EQ(degrees->text().toStdString(), "9123");

    FieldEdit* comments = panel->Box(PanelBox::Comments);
    comments->clear();
    QTest::keyClicks(comments, QString(520, QLatin1Char('a')));
    EXPECT_EQ(comments->text().size(), 512);
}

TEST_F(EditorPanelTest, HighlightPaintsAndClearRestores)
{
    panel->ArrangeCoordinateFields(false, false);
    ShowActive();
    const std::string shadow = Name(panel->palette().color(QPalette::Dark));
    const std::string text = Name(panel->palette().color(QPalette::Active, QPalette::WindowText));
    const std::vector<PanelBox> longitude = {PanelBox::LongitudeDegrees, PanelBox::LongitudeMinutes,
                                             PanelBox::LongitudeSeconds, PanelBox::LongitudeHemisphere};

    // What the user sees: the pixel on the top border of a box and of Set data.
    const auto borderPixel = [&](QWidget* widget) {
        const QImage image = panel->grab().toImage();
        const QRect frame = widget->geometry();
        return Name(image.pixelColor(frame.center().x(), frame.top()));
    };

    FieldHighlight highlight;
    highlight.Focus = PanelBox::LongitudeDegrees;
    highlight.RedBoxes = longitude;
    highlight.RedCaption = PanelCaption::LongitudeDegrees;
    highlight.SetDataRed = true;
    panel->ShowHighlight(highlight);

    EXPECT_EQ(QApplication::focusWidget(), panel->Box(PanelBox::LongitudeDegrees));
    EXPECT_NE(shadow, text);
    for (int i = 0; i < PanelBoxCount; ++i) {
        const auto box = static_cast<PanelBox>(i);
        const bool red = std::find(longitude.begin(), longitude.end(), box) != longitude.end();
        EXPECT_EQ(Name(panel->BorderColor(box)), red ? Red : shadow) << i;
    }
    for (int i = 0; i < 8; ++i) {
        const auto caption = static_cast<PanelCaption>(i);
        EXPECT_EQ(Name(panel->CaptionColor(caption)), caption == PanelCaption::LongitudeDegrees ? Red : text)
            << i;
    }
    EXPECT_EQ(Name(panel->SetDataBorderColor()), Red);
    EXPECT_EQ(borderPixel(panel->Box(PanelBox::LongitudeMinutes)), Red);
    EXPECT_EQ(borderPixel(Child("mxFlatSpeedButton1")), Red);
    EXPECT_EQ(borderPixel(panel->Box(PanelBox::LatitudeMinutes)), shadow);

    // The red box still takes typing.
    QTest::keyClicks(QApplication::focusWidget(), "12");
    EXPECT_EQ(panel->Box(PanelBox::LongitudeDegrees)->text(), "12");

    panel->ClearFieldHighlight();
    for (int i = 0; i < PanelBoxCount; ++i)
        EXPECT_EQ(Name(panel->BorderColor(static_cast<PanelBox>(i))), shadow) << i;
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Name(panel->CaptionColor(static_cast<PanelCaption>(i))), text) << i;
    EXPECT_EQ(Name(panel->SetDataBorderColor()), shadow);
    EXPECT_EQ(borderPixel(panel->Box(PanelBox::LongitudeMinutes)), shadow);
    EXPECT_EQ(borderPixel(Child("mxFlatSpeedButton1")), shadow);
}

TEST_F(EditorPanelTest, ModeHighlightFocusesTheRadioItNamesWithoutCheckingIt)
{
    ShowActive();
    FieldHighlight highlight;
    highlight.RedCaption = PanelCaption::Mode;

    const struct { int focus; int checked; const char* focused; } cases[] = {
        {1, 3, "mxFlatRadioButton7"}, {2, 0, "mxFlatRadioButton8"}, {3, 1, "mxFlatRadioButton2"}};
    for (const auto& entry : cases) {
        PanelTexts texts = panel->Texts();
        texts.CheckedMode = entry.checked;
        panel->SetTexts(texts);
        panel->Box(PanelBox::Comments)->setFocus();
        highlight.FocusMode = entry.focus;
        panel->ShowHighlight(highlight);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), entry.focused);
        // Focusing a radio button must not check it.
        EXPECT_EQ(panel->Texts().CheckedMode, entry.checked);
        EXPECT_EQ(Name(panel->CaptionColor(PanelCaption::Mode)), Red);
    }
}

TEST_F(EditorPanelTest, ModeRadiosKeepOneCheckedWhenClicked)
{
    ShowActive();
    auto* track = Child<QRadioButton>("mxFlatRadioButton7");
    auto* alarm = Child<QRadioButton>("mxFlatRadioButton8");
    auto* freeTour = Child<QRadioButton>("mxFlatRadioButton2");
    const auto click = [](QRadioButton* radio) {
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    };

    click(track);
    EXPECT_EQ(panel->Texts().CheckedMode, 1);
    click(alarm);
    EXPECT_EQ(panel->Texts().CheckedMode, 2);
    EXPECT_FALSE(track->isChecked());
    // Clicking the checked button again, or Space on it, leaves it checked.
    click(alarm);
    EXPECT_EQ(panel->Texts().CheckedMode, 2);
    alarm->setFocus();
    QTest::keyClick(alarm, Qt::Key_Space);
    EXPECT_EQ(panel->Texts().CheckedMode, 2);
    freeTour->setFocus();
    QTest::keyClick(freeTour, Qt::Key_Space);
    EXPECT_EQ(panel->Texts().CheckedMode, 3);
    EXPECT_FALSE(alarm->isChecked());
}

TEST_F(EditorPanelTest, ButtonsSignalOnlyWhenEnabled)
{
    int setData = 0;
    int added = 0;
    QObject::connect(panel.get(), &EditorPanel::SetDataClicked, [&] { ++setData; });
    QObject::connect(panel.get(), &EditorPanel::NewClicked, [&] { ++added; });
    auto* setDataButton = Child<QPushButton>("mxFlatSpeedButton1");
    auto* newButton = Child<QPushButton>("mxFlatSpeedButton2");

    QTest::mouseClick(setDataButton, Qt::LeftButton);
    QTest::mouseClick(newButton, Qt::LeftButton);
    EXPECT_EQ(setData + added, 0);

    panel->SetButtonStates(true, false);
    QTest::mouseClick(setDataButton, Qt::LeftButton);
    QTest::mouseClick(newButton, Qt::LeftButton);
    EXPECT_EQ(setData, 1);
    EXPECT_EQ(added, 0);

    panel->SetButtonStates(false, true);
    EXPECT_FALSE(setDataButton->isEnabled());
    QTest::mouseClick(newButton, Qt::LeftButton);
    EXPECT_EQ(added, 1);
}

} // namespace
} // namespace uzuviv
