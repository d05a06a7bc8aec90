#pragma once

#include <QDialog>
#include <QStringList>

#include "editing/DocumentView.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace uzuviv {

class FieldEdit;

// The Project Properties dialog: one instance, reused; its texts follow the current language
// each time it becomes active.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // Fills the boxes from `values`, shows the dialog modally and, on OK, reads them back.
    bool Edit(ProjectProperties& values);

    void FormActivate();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* AddLabel(const char* name, int x, int y, int width);
    FieldEdit* AddEdit(const char* name, int y, int width);
    void FilterComments();

    FieldEdit* edits_[6] = {};
    QPlainTextEdit* memo_ = nullptr;
    QLabel* labels_[7] = {};
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool filtering_ = false;
};

} // namespace uzuviv
