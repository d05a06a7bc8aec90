#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace uzuviv {

// The About window: one instance, reused; its texts follow the current language each time it
// becomes active.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    void FormActivate();

protected:
    void changeEvent(QEvent* event) override;

private:
    QLabel* staticTexts_[3] = {};
    QPushButton* okButton_ = nullptr;
};

// The program's artwork, drawn rather than shipped: the About picture and the icon.
QPixmap ProductPicture(const QSize& size);
QIcon ProgramIcon();

} // namespace uzuviv
