#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "editing/CommandStates.h"
#include "editing/RecentFiles.h"
#include "editing/RowSelection.h"

class QAction;
class QButtonGroup;
class QMenu;
class QMainWindow;
class QObject;
class QTableView;
class QTimer;
class QToolBar;
class QWidget;

namespace uzuviv {

class EditorPanel;
class PointListModel;

// The main window's widgets that need no wiring to the editing layer.

struct CentralWidgets {
    QTableView* List;
    EditorPanel* Panel;
};

// The point list over `model` on a dark area that shows when there is no project, and the
// editor panel below it: whole rows selected, no editing in place, columns as wide as the texts
// they hold.
CentralWidgets CreateCentralWidgets(QMainWindow* window, PointListModel* model);

// The point list and the editor panel show only with a project; the panel's buttons and
// coordinate boxes follow `states`.
void ShowListAndPanel(QTableView& list, EditorPanel& panel, const CommandStates& states);

RowSelection SelectedRows(const QTableView& list);
// Selects `rows` and makes the first of them the current row.
void SelectRows(QTableView& list, const RowSelection& rows);
// The row under viewport position y, none below the last row.
std::optional<std::size_t> RowAt(const QTableView& list, int y);
// The column under viewport position x, or -1 right of the last column.
int ColumnAt(const QTableView& list, int x);

// The five recent-file items at the end of the File menu, below a separator, hidden until
// ShowRecentFiles fills them; each carries its entry's position as data.
std::array<QAction*, 5> AddRecentFileSlots(QMenu* fileMenu);
void ShowRecentFiles(const std::array<QAction*, 5>& items, const std::vector<RecentFiles::Slot>& entries);

// Timer1: the five seconds a double-click's field highlight lasts.
QTimer* CreateHighlightTimer(QObject* parent);

// The four display-mode radio buttons at the end of the toolbar; their ids are the modes 1..4.
QButtonGroup* AddDisplayModeButtons(QToolBar* toolBar);

} // namespace uzuviv
