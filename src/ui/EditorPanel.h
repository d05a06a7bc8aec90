#pragma once

#include <array>
#include <vector>

#include <QColor>
#include <QWidget>

#include "editing/PanelFields.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace uzuviv {

class FieldEdit;

// The point editor below the list: thirteen flat boxes, their captions, the mode radio buttons
// and the Set data and New buttons. It only shows what the editing layer decides.
class EditorPanel : public QWidget {
    Q_OBJECT
public:
    explicit EditorPanel(QWidget* parent = nullptr);

    PanelTexts Texts() const;
    void SetTexts(const PanelTexts& texts);
    FieldEdit* Box(PanelBox box) const;
    void ArrangeCoordinateFields(bool decimal, bool minutesOnly);
    void ApplyLanguage();
    void SetButtonStates(bool setDataEnabled, bool newEnabled);
    void ShowHighlight(const FieldHighlight& highlight);
    void ClearFieldHighlight();

    // The colours the panel currently paints, for the main window's tests.
    QColor BorderColor(PanelBox box) const;
    QColor SetDataBorderColor() const;
    QColor CaptionColor(PanelCaption caption) const;

signals:
    void SetDataClicked();
    void NewClicked();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* AddLabel(const char* name, int x, int y, int width, bool note = false);
    FieldEdit* AddBox(PanelBox box, int x, int y, int width, int typedMaxLength, bool upperCase);
    QRadioButton* AddRadio(const char* name, int y, int mode);
    QPushButton* AddButton(const char* name, int x, int y);
    QLabel* Caption(PanelCaption caption) const;
    void CheckMode(int mode);
    QColor NormalBorderColor() const;
    QColor NormalCaptionColor() const;
    void PaintColors();

    std::array<FieldEdit*, PanelBoxCount> boxes_{};
    std::array<bool, PanelBoxCount> redBoxes_{};
    std::array<bool, 8> redCaptions_{};
    bool setDataRed_ = false;

    // Latitude and longitude rows in decimal and degree form, then tolerance, mode, file,
    // comments: the captions a highlight can paint, in PanelCaption order.
    std::array<QLabel*, 8> captions_{};
    QLabel* latitudeNote_ = nullptr;          // Label14
    QLabel* longitudeNote_ = nullptr;         // Label15
    std::array<QLabel*, 2> degreesHeads_{};   // Label6, Label16
    std::array<QLabel*, 2> minutesHeads_{};   // Label7, Label17
    std::array<QLabel*, 2> decimalMinutesHeads_{};  // Label19, Label20
    std::array<QLabel*, 2> secondsHeads_{};   // Label8, Label18
    QLabel* toleranceNote_ = nullptr;         // Label9
    QLabel* fileNote_ = nullptr;              // Label11
    std::vector<QLabel*> notes_;             // every range note and column heading

    std::array<QRadioButton*, 3> modeButtons_{};  // Track, Alarm, Free Tour: modes 1, 2, 3
    QPushButton* setDataButton_ = nullptr;
    QPushButton* newButton_ = nullptr;
};

} // namespace uzuviv
