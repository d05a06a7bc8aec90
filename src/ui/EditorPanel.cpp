#include "ui/EditorPanel.h"

#include <algorithm>

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "text/text.h"
#include "ui/FieldEdit.h"

namespace uzuviv {

namespace {

constexpr int PanelWidth = 800;
constexpr int PanelHeight = 245;
constexpr int RowHeight = 20;
constexpr int NoteHeight = 13;
constexpr int NoteGap = 14;   // from a note's top to the top of the box below it

// Left zone: captions, then the boxes of the two blocks.
constexpr int CaptionX = 10;
constexpr int CaptionWidth = 92;
constexpr int BoxX = 104;
constexpr int DecimalWidth = 200;
constexpr int ButtonX = 322;
constexpr int ButtonWidth = 96;
constexpr int DegreesX = BoxX;
constexpr int DegreesWidth = 56;
constexpr int MinutesX = 168;
constexpr int MinutesWidth = 96;
constexpr int SecondsX = 272;
constexpr int SecondsWidth = 96;
constexpr int HemisphereX = 376;
constexpr int HemisphereWidth = 42;
constexpr int LatitudeDecimalY = 24;
constexpr int LongitudeDecimalY = 66;
constexpr int LeftSeparatorY = 98;
constexpr int LatitudeDegreesY = 120;
constexpr int LongitudeDegreesY = 162;

// Middle zone, right of the vertical line.
constexpr int ZoneLineX = 440;
constexpr int MiddleCaptionX = 454;
constexpr int MiddleBoxX = 542;
constexpr int MiddleBoxWidth = 120;
constexpr int MiddleCaptionWidth = MiddleBoxX - MiddleCaptionX - 4;
constexpr int ToleranceY = 24;
constexpr int ModeSeparatorY = 56;
constexpr int ModeY = 64;
constexpr int RadioPitch = 19;
constexpr int FileSeparatorY = 126;
constexpr int FileY = 148;

// Bottom: the full-width line and the comments row.
constexpr int ZoneBottomY = 186;
constexpr int BottomSeparatorY = 198;
constexpr int CommentsY = 212;

constexpr int Margin = 8;

const QColor HighlightColor(255, 0, 0);

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString PanelText(int item) { return Q(LanguageText(TextTable::EditorPanelTexts, item)); }

int Index(PanelBox box) { return static_cast<int>(box); }

int Index(PanelCaption caption) { return static_cast<int>(caption); }

QString ColorName(const QColor& color)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// A colour between text and background, so the notes read as secondary in any palette.
QColor NoteColor(const QPalette& palette)
{
    const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
    const QColor back = palette.color(QPalette::Active, QPalette::Window);
    const auto mix = [](int a, int b) { return (a * 55 + b * 45) / 100; };
    return QColor(mix(text.red(), back.red()), mix(text.green(), back.green()),
                  mix(text.blue(), back.blue()));
}

// Checked stays checked when clicked again or given Space: the group allows "none checked" only
// when the program clears it. A plain exclusive group would also let Tab skip the unchecked
// buttons, but the panel's focus order visits all three.
class ModeRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
};

} // namespace

EditorPanel::EditorPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mxFlatPanel1"));
    setFixedSize(PanelWidth, PanelHeight);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);

    // Decimal block, with the two buttons to its right.
    captions_[Index(PanelCaption::LatitudeDecimal)] =
        AddLabel("Label3", CaptionX, LatitudeDecimalY, CaptionWidth);
    latitudeNote_ = AddLabel("Label14", BoxX, LatitudeDecimalY - NoteGap, DecimalWidth, true);
    AddBox(PanelBox::LatitudeDecimal, BoxX, LatitudeDecimalY, DecimalWidth, 0, true);
    captions_[Index(PanelCaption::LongitudeDecimal)] =
        AddLabel("Label2", CaptionX, LongitudeDecimalY, CaptionWidth);
    longitudeNote_ = AddLabel("Label15", BoxX, LongitudeDecimalY - NoteGap, DecimalWidth, true);
    AddBox(PanelBox::LongitudeDecimal, BoxX, LongitudeDecimalY, DecimalWidth, 0, true);
    setDataButton_ = AddButton("mxFlatSpeedButton1", ButtonX, LatitudeDecimalY - 1);
    newButton_ = AddButton("mxFlatSpeedButton2", ButtonX, LongitudeDecimalY - 1);
    connect(setDataButton_, &QPushButton::clicked, this, &EditorPanel::SetDataClicked);
    connect(newButton_, &QPushButton::clicked, this, &EditorPanel::NewClicked);

    // Sexagesimal block: degrees, minutes, seconds, hemisphere letter, each row with its own
    // column headings.
    const struct {
        PanelCaption caption;
        const char* captionName;
        int y;
        const char* heads[5];   // degrees, minutes, decimal minutes, seconds, hemisphere
        PanelBox boxes[4];
        int hemisphereLength;
    } rows[2] = {
        {PanelCaption::LatitudeDegrees, "Label4", LatitudeDegreesY,
         {"Label6", "Label7", "Label19", "Label8", "Label21"},
         {PanelBox::LatitudeDegrees, PanelBox::LatitudeMinutes, PanelBox::LatitudeSeconds,
          PanelBox::LatitudeHemisphere},
         0},
        {PanelCaption::LongitudeDegrees, "Label5", LongitudeDegreesY,
         {"Label16", "Label17", "Label20", "Label18", "Label22"},
         {PanelBox::LongitudeDegrees, PanelBox::LongitudeMinutes, PanelBox::LongitudeSeconds,
          PanelBox::LongitudeHemisphere},
         1},
    };
    for (int r = 0; r < 2; ++r) {
        const auto& row = rows[r];
        const int headY = row.y - NoteGap;
        captions_[Index(row.caption)] = AddLabel(row.captionName, CaptionX, row.y, CaptionWidth);
        degreesHeads_[r] = AddLabel(row.heads[0], DegreesX, headY, DegreesWidth + 4, true);
        minutesHeads_[r] = AddLabel(row.heads[1], MinutesX, headY, MinutesWidth, true);
        decimalMinutesHeads_[r] = AddLabel(row.heads[2], MinutesX, headY, MinutesWidth, true);
        secondsHeads_[r] = AddLabel(row.heads[3], SecondsX, headY, SecondsWidth, true);
        AddLabel(row.heads[4], HemisphereX, headY, HemisphereWidth, true)
            ->setText(r == 0 ? QStringLiteral("N/S") : QStringLiteral("E/W"));
        AddBox(row.boxes[0], DegreesX, row.y, DegreesWidth, 4, true);
        AddBox(row.boxes[1], MinutesX, row.y, MinutesWidth, 7, true);
        AddBox(row.boxes[2], SecondsX, row.y, SecondsWidth, 7, true);
        AddBox(row.boxes[3], HemisphereX, row.y, HemisphereWidth, row.hemisphereLength, true)
            ->setAlignment(Qt::AlignCenter);
    }

    // Middle zone: tolerance, mode, file reference.
    captions_[Index(PanelCaption::Tolerance)] =
        AddLabel("Label1", MiddleCaptionX, ToleranceY, MiddleCaptionWidth);
    toleranceNote_ = AddLabel("Label9", MiddleBoxX, ToleranceY - NoteGap, MiddleBoxWidth + 60, true);
    AddBox(PanelBox::Tolerance, MiddleBoxX, ToleranceY, MiddleBoxWidth, 0, true);

    captions_[Index(PanelCaption::Mode)] = AddLabel("Label10", MiddleCaptionX, ModeY, MiddleCaptionWidth);
    modeButtons_[0] = AddRadio("mxFlatRadioButton7", ModeY, 1);
    modeButtons_[1] = AddRadio("mxFlatRadioButton8", ModeY + RadioPitch, 2);
    modeButtons_[2] = AddRadio("mxFlatRadioButton2", ModeY + 2 * RadioPitch, 3);

    captions_[Index(PanelCaption::FileRef)] = AddLabel("Label12", MiddleCaptionX, FileY, MiddleCaptionWidth);
    fileNote_ = AddLabel("Label11", MiddleBoxX, FileY - NoteGap, MiddleBoxWidth + 60, true);
    AddBox(PanelBox::FileRef, MiddleBoxX, FileY, MiddleBoxWidth, 0, true);

    // Comments row across the bottom.
    captions_[Index(PanelCaption::Comments)] = AddLabel("Label13", CaptionX, CommentsY, CaptionWidth);
    AddBox(PanelBox::Comments, BoxX, CommentsY, PanelWidth - BoxX - 2 * Margin, 512, false)
        ->setText(QStringLiteral("..."));

    const PanelBox focusOrder[PanelBoxCount] = {
        PanelBox::LatitudeDecimal, PanelBox::LongitudeDecimal, PanelBox::LatitudeDegrees,
        PanelBox::LatitudeMinutes, PanelBox::LatitudeSeconds, PanelBox::LatitudeHemisphere,
        PanelBox::LongitudeDegrees, PanelBox::LongitudeMinutes, PanelBox::LongitudeSeconds,
        PanelBox::LongitudeHemisphere, PanelBox::Tolerance, PanelBox::FileRef, PanelBox::Comments};
    QList<QWidget*> chain;
    for (PanelBox box : focusOrder) {
        chain << Box(box);
        if (box == PanelBox::Tolerance)
            chain << modeButtons_[0] << modeButtons_[1] << modeButtons_[2];
    }
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);

    SetButtonStates(false, false);
    PaintColors();
    ArrangeCoordinateFields(true, false);
    ApplyLanguage();
}

QLabel* EditorPanel::AddLabel(const char* name, int x, int y, int width, bool note)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    if (note) {
        QFont small = font();
        small.setPixelSize(10);
        label->setFont(small);
        label->setGeometry(x, y, width, NoteHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        notes_.push_back(label);
    } else {
        label->setGeometry(x, y, width, RowHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return label;
}

FieldEdit* EditorPanel::AddBox(PanelBox box, int x, int y, int width, int typedMaxLength,
                               bool upperCase)
{
    auto* edit = new FieldEdit(this);
    edit->setObjectName(QString::fromLatin1(PanelBoxName(box)));
    edit->setGeometry(x, y, width, RowHeight);
    edit->SetTypedMaxLength(typedMaxLength);
    edit->SetUpperCase(upperCase);
    boxes_[Index(box)] = edit;
    return edit;
}

QRadioButton* EditorPanel::AddRadio(const char* name, int y, int mode)
{
    auto* radio = new ModeRadioButton(this);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setGeometry(MiddleBoxX, y, MiddleBoxWidth + 60, RowHeight - 2);
    radio->setAutoExclusive(false);
    connect(radio, &QRadioButton::toggled, this, [this, mode](bool checked) {
        if (checked)
            CheckMode(mode);
    });
    return radio;
}

QPushButton* EditorPanel::AddButton(const char* name, int x, int y)
{
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, ButtonWidth, RowHeight + 2);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

FieldEdit* EditorPanel::Box(PanelBox box) const { return boxes_[Index(box)]; }

QLabel* EditorPanel::Caption(PanelCaption caption) const { return captions_[Index(caption)]; }

PanelTexts EditorPanel::Texts() const
{
    PanelTexts texts;
    for (int i = 0; i < PanelBoxCount; ++i)
        texts.Boxes[i] = boxes_[i]->text().toStdString();
    for (int mode = 1; mode <= 3; ++mode) {
        if (modeButtons_[mode - 1]->isChecked())
            texts.CheckedMode = mode;
    }
    return texts;
}

void EditorPanel::SetTexts(const PanelTexts& texts)
{
    for (int i = 0; i < PanelBoxCount; ++i)
        boxes_[i]->setText(Q(texts.Boxes[i]));
    CheckMode(texts.CheckedMode);
}

void EditorPanel::CheckMode(int mode)
{
    for (int i = 1; i <= 3; ++i)
        modeButtons_[i - 1]->setChecked(i == mode);
}

void EditorPanel::ArrangeCoordinateFields(bool decimal, bool minutesOnly)
{
    const PanelBox decimalBoxes[] = {PanelBox::LatitudeDecimal, PanelBox::LongitudeDecimal};
    const PanelBox degreeBoxes[] = {
        PanelBox::LatitudeDegrees, PanelBox::LatitudeMinutes, PanelBox::LatitudeSeconds,
        PanelBox::LatitudeHemisphere, PanelBox::LongitudeDegrees, PanelBox::LongitudeMinutes,
        PanelBox::LongitudeSeconds, PanelBox::LongitudeHemisphere};
    for (PanelBox box : decimalBoxes)
        Box(box)->setEnabled(decimal);
    Caption(PanelCaption::LatitudeDecimal)->setEnabled(decimal);
    Caption(PanelCaption::LongitudeDecimal)->setEnabled(decimal);
    for (PanelBox box : degreeBoxes)
        Box(box)->setEnabled(!decimal);
    Caption(PanelCaption::LatitudeDegrees)->setEnabled(!decimal);
    Caption(PanelCaption::LongitudeDegrees)->setEnabled(!decimal);

    Box(PanelBox::LatitudeSeconds)->setVisible(!minutesOnly);
    Box(PanelBox::LongitudeSeconds)->setVisible(!minutesOnly);
    for (int r = 0; r < 2; ++r) {
        secondsHeads_[r]->setVisible(!minutesOnly);
        minutesHeads_[r]->setVisible(!minutesOnly);
        decimalMinutesHeads_[r]->setVisible(minutesOnly);
    }
}

void EditorPanel::ApplyLanguage()
{
    Caption(PanelCaption::LatitudeDecimal)->setText(PanelText(1));
    Caption(PanelCaption::LongitudeDecimal)->setText(PanelText(2));
    Caption(PanelCaption::LatitudeDegrees)->setText(PanelText(1));
    Caption(PanelCaption::LongitudeDegrees)->setText(PanelText(2));
    latitudeNote_->setText(PanelText(11));
    longitudeNote_->setText(PanelText(12));
    for (int r = 0; r < 2; ++r) {
        degreesHeads_[r]->setText(PanelText(13));
        minutesHeads_[r]->setText(PanelText(14));
        decimalMinutesHeads_[r]->setText(PanelText(18));
        secondsHeads_[r]->setText(PanelText(15));
    }
    Caption(PanelCaption::Tolerance)->setText(PanelText(3));
    toleranceNote_->setText(PanelText(16));
    Caption(PanelCaption::Mode)->setText(PanelText(4));
    modeButtons_[0]->setText(PanelText(7));
    modeButtons_[1]->setText(PanelText(8));
    modeButtons_[2]->setText(PanelText(19));
    Caption(PanelCaption::FileRef)->setText(PanelText(5));
    fileNote_->setText(PanelText(17));
    Caption(PanelCaption::Comments)->setText(PanelText(6));
    setDataButton_->setText(PanelText(9));
    newButton_->setText(PanelText(10));
}

void EditorPanel::SetButtonStates(bool setDataEnabled, bool newEnabled)
{
    setDataButton_->setEnabled(setDataEnabled);
    newButton_->setEnabled(newEnabled);
}

void EditorPanel::ShowHighlight(const FieldHighlight& highlight)
{
    if (highlight.FocusMode >= 1 && highlight.FocusMode <= 3)
        modeButtons_[highlight.FocusMode - 1]->setFocus(Qt::OtherFocusReason);
    else if (highlight.Focus)
        Box(*highlight.Focus)->setFocus(Qt::OtherFocusReason);
    for (PanelBox box : highlight.RedBoxes)
        redBoxes_[Index(box)] = true;
    if (highlight.RedCaption)
        redCaptions_[Index(*highlight.RedCaption)] = true;
    if (highlight.SetDataRed)
        setDataRed_ = true;
    PaintColors();
}

void EditorPanel::ClearFieldHighlight()
{
    // Runs on every key press: repainting fifteen style sheets when nothing is red would make
    // typing slow.
    const auto anyRed = [](const auto& flags) {
        return std::find(flags.begin(), flags.end(), true) != flags.end();
    };
    if (!setDataRed_ && !anyRed(redBoxes_) && !anyRed(redCaptions_))
        return;
    redBoxes_.fill(false);
    redCaptions_.fill(false);
    setDataRed_ = false;
    PaintColors();
}

QColor EditorPanel::NormalBorderColor() const { return palette().color(QPalette::Active, QPalette::Dark); }

QColor EditorPanel::NormalCaptionColor() const
{
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void EditorPanel::PaintColors()
{
    // A style sheet border leaves focus and typing to the line edit as they are.
    const QString normal = ColorName(NormalBorderColor());
    const QString red = ColorName(HighlightColor);
    for (int i = 0; i < PanelBoxCount; ++i) {
        boxes_[i]->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; padding: 0px 2px; }")
                                     .arg(redBoxes_[i] ? red : normal));
    }
    for (QPushButton* button : {setDataButton_, newButton_}) {
        const bool redBorder = button == setDataButton_ && setDataRed_;
        button->setStyleSheet(
            QStringLiteral("QPushButton { border: 1px solid %1; background: palette(button);"
                           " padding: 0px 6px; }"
                           " QPushButton:hover { background: palette(light); }"
                           " QPushButton:pressed { background: palette(midlight); }")
                .arg(redBorder ? red : normal));
    }
    const QColor noteColor = NoteColor(palette());
    for (QLabel* note : notes_) {
        QPalette notePalette = note->palette();
        notePalette.setColor(QPalette::Active, QPalette::WindowText, noteColor);
        notePalette.setColor(QPalette::Inactive, QPalette::WindowText, noteColor);
        note->setPalette(notePalette);
    }
    for (int i = 0; i < static_cast<int>(captions_.size()); ++i) {
        const QColor color = redCaptions_[i] ? HighlightColor : NormalCaptionColor();
        // The disabled group keeps its own grey, so a disabled row still looks disabled.
        QPalette labelPalette = captions_[i]->palette();
        labelPalette.setColor(QPalette::Active, QPalette::WindowText, color);
        labelPalette.setColor(QPalette::Inactive, QPalette::WindowText, color);
        captions_[i]->setPalette(labelPalette);
    }
}

QColor EditorPanel::BorderColor(PanelBox box) const
{
    return redBoxes_[Index(box)] ? HighlightColor : NormalBorderColor().toRgb();
}

QColor EditorPanel::SetDataBorderColor() const
{
    return setDataRed_ ? HighlightColor : NormalBorderColor().toRgb();
}

QColor EditorPanel::CaptionColor(PanelCaption caption) const
{
    return Caption(caption)->palette().color(QPalette::Active, QPalette::WindowText);
}

void EditorPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Normal colours are the system's; follow it when it changes.
    if (event->type() == QEvent::PaletteChange)
        PaintColors();
}

void EditorPanel::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawLine(Margin, LeftSeparatorY, ZoneLineX - Margin, LeftSeparatorY);
    painter.drawLine(ZoneLineX, Margin, ZoneLineX, ZoneBottomY);
    painter.drawLine(ZoneLineX + Margin, ModeSeparatorY, PanelWidth - Margin, ModeSeparatorY);
    painter.drawLine(ZoneLineX + Margin, FileSeparatorY, PanelWidth - Margin, FileSeparatorY);
    painter.drawLine(Margin, BottomSeparatorY, PanelWidth - Margin, BottomSeparatorY);
}

} // namespace uzuviv
