#pragma once

#include <QDialog>

#include "editing/CheckReport.h"
#include "editing/Document.h"
#include "editing/PointListView.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace uzuviv {

// The Check Project window: modeless, made once and reused. It lists the findings of the
// current project in the current language and checks again after every edit while it is shown;
// activating a finding (double-click, Enter) selects its points in the point list.
class CheckWindow : public QDialog {
    Q_OBJECT
public:
    CheckWindow(const Document& document, PointListView& list, QWidget* parent);

    // Shows the window, or brings it to the front, with a fresh check.
    void ShowChecked();
    // The records changed: the window checks again once the current command is over (at
    // once when shown again, if hidden now).
    void ProjectChanged();
    void ApplyLanguage();

    QListWidget* FindingList() const { return findings_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Recheck();
    // Lists the report's lines and makes line `current` (-1: none) the current one.
    void FillList(int current);
    void PlaceBesideMainWindow();

    const Document& document_;
    PointListView& list_;
    CheckReport report_;
    bool stale_ = true;
    bool recheckPending_ = false;
    bool placed_ = false;

    QLabel* hint_ = nullptr;
    QListWidget* findings_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace uzuviv
