#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include <QLocale>
#include <QMainWindow>
#include <QPoint>
#include <QString>

#include "editing/CommandTable.h"
#include "editing/Document.h"
#include "editing/DocumentCommands.h"
#include "editing/DocumentView.h"
#include "editing/PointCommands.h"
#include "editing/PointListView.h"
#include "ui/WindowSettings.h"

class QAction;
class QButtonGroup;
class QTableView;
class QTimer;

namespace uzuviv {

class CommandActions;
class EditorPanel;
class MapPanel;

class PointListModel;
class TForm2;
class TForm3;
class TForm4;
class CheckWindow;

// The main window. It builds the widgets, forwards every command to the editing layer, and
// draws what that layer decided.
class TForm1 : public QMainWindow, public DocumentView, public PointListView {
    Q_OBJECT
public:
    explicit TForm1(const QString& settingsPath, QWidget* parent = nullptr);
    ~TForm1() override;

    Document& CurrentDocument() { return document_; }
    DocumentCommands& Commands() { return commands_; }
    PointCommands& Points() { return points_; }
    int DisplayMode() const { return points_.DisplayMode(); }
    TForm2* AboutWindow() const { return about_; }
    TForm3* PropertiesDialog() const { return properties_; }
    TForm4* ProgressWindow() const { return progress_; }
    // Made at the first Check Project; null before.
    CheckWindow* CheckProjectWindow() const { return check_; }
    EditorPanel* Panel() const { return panel_; }
    QTableView* PointList() const { return listView_; }
    MapPanel* Map() const { return map_; }
    // The position of the last mouse-button press in the point list (viewport coordinates).
    QPoint ListMouse() const { return listMouse_; }

    // DocumentView
    MessageAnswer ShowMessage(MessageKind kind, const std::string& text) override;
    std::optional<std::string> ChooseFile(FileDialog dialog, const std::string& presetName) override;
    bool EditProperties(ProjectProperties& values) override;
    void SetTitle(const std::string& title) override;
    void PointListAboutToBeRebuilt() override;
    void RebuildPointList() override;
    void RefreshCommands() override;
    ProgressSink& Progress() override;
    void OpenUrl(const std::string& url) override;
    void RecentFilesChanged() override;
    std::optional<std::string> ClipboardText() override;

    // PointListView
    RowSelection Selection() const override;
    void SetSelection(const RowSelection& selection) override;
    bool ListHasFocus() const override;
    void ScrollToRow(std::size_t row) override;
    void RowsAboutToBeAppended(std::size_t first, std::size_t count) override;
    void RowsAppended(std::size_t first, std::size_t count) override;
    void RowsAboutToBeRemoved(const RowSelection& rows) override;
    void RowsRemoved(const RowSelection& removed) override;
    void RefreshListRow(std::size_t row) override;
    void RefreshAllListRows() override;
    PanelTexts ReadPanel() const override;
    void WritePanel(const PanelTexts& texts) override;
    void ShowHighlight(const FieldHighlight& highlight) override;
    void ClearFieldHighlight() override;
    void StartHighlightTimer() override;

    void ApplyLanguage();
    // Checks the display-mode radio button of `mode` (D.d for values other than 2..4) and
    // switches to it.
    void SelectDisplayMode(int mode);
    // The first activation reopens the last project.
    void FormActivate();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What each command of the table runs; empty for an id without a handler.
    std::function<void()> HandlerFor(CommandId id);
    void CreateCentralArea();
    void CheckProject1Click();
    // The records changed (the list was told so): an open check window checks again.
    void RecordsChanged();
    void LanguageClick(int language);
    void LoadSettings();

    WindowSettings settings_;
    Document document_;
    DocumentCommands commands_;
    PointCommands points_;
    QPoint listMouse_;

    std::unique_ptr<CommandActions> actions_;
    QButtonGroup* displayModes_ = nullptr;
    QTableView* listView_ = nullptr;
    PointListModel* listModel_ = nullptr;
    EditorPanel* panel_ = nullptr;
    MapPanel* map_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::array<QAction*, 5> recentSlots_ = {};

    TForm2* about_ = nullptr;
    TForm3* properties_ = nullptr;
    TForm4* progress_ = nullptr;
    CheckWindow* check_ = nullptr;
};

} // namespace uzuviv
