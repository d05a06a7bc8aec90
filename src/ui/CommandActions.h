#pragma once

#include <functional>
#include <map>
#include <vector>

#include "editing/CommandTable.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace uzuviv {

// The window's menu items, menus, toolbar buttons and pop-up menu, built from CommandTable().
// Menu items and their twins in the pop-up menu are actions of the window, so their shortcuts
// work wherever the focus is in it.
class CommandActions {
public:
    using Handler = std::function<void()>;

    // Throws std::logic_error, naming the command, when the table is inconsistent, a shortcut
    // cannot be read, or handlerFor gives no handler for a command.
    CommandActions(QMainWindow* window, const std::function<Handler(CommandId)>& handlerFor);

    QAction* Action(CommandId id) const { return actions_.at(id); }
    QMenu* Menu(CommandMenu menu) const { return menus_.at(menu); }
    QToolBar* ToolBar() const { return toolBar_; }

    // Menu titles, item texts and toolbar hints in the current language.
    void Relabel();
    // Enables and checks every item, its pop-up twin and its toolbar button from `states`.
    void Apply(const CommandStates& states);

private:
    struct Built {
        const CommandRow* row;
        QAction* popupAction = nullptr;
        QToolButton* button = nullptr;
    };
    void CreateMenus(QMainWindow* window, const std::map<CommandId, Handler>& handlers);
    void CreateToolBar(QMainWindow* window);

    std::vector<Built> built_;
    std::map<CommandId, QAction*> actions_;
    std::map<CommandMenu, QMenu*> menus_;
    QToolBar* toolBar_ = nullptr;
};

} // namespace uzuviv
