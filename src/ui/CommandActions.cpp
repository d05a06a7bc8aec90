#include "ui/CommandActions.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <tuple>

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

#include "ui/Icons.h"

namespace uzuviv {

namespace {

QString Text(TextItem text)
{
    return QString::fromStdString(LanguageText(text.table, text.item));
}

// Menu shortcut texts use the fixed French key names whatever the interface language.
class ShortcutKeyNames : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "QShortcut") != 0)
            return {};
        if (qstrcmp(sourceText, "Shift") == 0)
            return QStringLiteral("Maj");
        if (qstrcmp(sourceText, "Del") == 0)
            return QStringLiteral("Suppr");
        return {};
    }
};

void InstallShortcutKeyNames()
{
    static ShortcutKeyNames* names = nullptr;
    if (names == nullptr) {
        names = new ShortcutKeyNames(QCoreApplication::instance());
        QCoreApplication::installTranslator(names);
    }
}

QKeySequence KeysOf(const CommandRow& row)
{
    const QString text = QString::fromLatin1(row.shortcut);
    const QKeySequence keys = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (keys.toString(QKeySequence::PortableText) != text)
        throw std::logic_error(std::string("command table: ") + row.name + ": unknown shortcut "
                               + row.shortcut);
    return keys;
}

// Entries of one menu or of the toolbar, laid out by group and order, a separator between
// two groups.
template <typename Entry, typename Add, typename Separate>
void LayOut(std::vector<Entry> entries, Add add, Separate separate)
{
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.group, a.order) < std::tie(b.group, b.order);
    });
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (k > 0 && entries[k].group != entries[k - 1].group)
            separate();
        add(entries[k]);
    }
}

} // namespace

CommandActions::CommandActions(QMainWindow* window,
                               const std::function<Handler(CommandId)>& handlerFor)
{
    CheckCommandTable(CommandTable(), MenuTable());
    InstallShortcutKeyNames();
    std::map<CommandId, Handler> handlers;
    for (const CommandRow& row : CommandTable()) {
        KeysOf(row);
        handlers[row.id] = handlerFor(row.id);
        if (!handlers[row.id])
            throw std::logic_error(std::string("command table: ") + row.name + " has no handler");
        built_.push_back({&row});
    }
    CreateMenus(window, handlers);
    CreateToolBar(window);
}

void CommandActions::CreateMenus(QMainWindow* window, const std::map<CommandId, Handler>& handlers)
{
    for (const MenuRow& row : MenuTable()) {
        QMenu* menu = nullptr;
        if (row.menu == CommandMenu::Popup)
            menu = new QMenu(window);
        else if (row.place.menu == CommandMenu::None)
            menu = window->menuBar()->addMenu(QString());
        else
            menu = new QMenu(menus_.at(row.place.menu));
        menu->setObjectName(QString::fromLatin1(row.name));
        if (row.menu != CommandMenu::Popup)
            menu->menuAction()->setObjectName(QString::fromLatin1(row.name) + QStringLiteral("Item"));
        menus_[row.menu] = menu;
    }

    // Actions are made in menu order, so the window lists them as the menus show them.
    std::map<CommandMenu, QActionGroup*> exclusiveGroups;
    const auto makeAction = [&](Built& built, bool twin) {
        const CommandRow& row = *built.row;
        auto* action = new QAction(window);
        action->setObjectName(QString::fromLatin1(twin ? row.popup.name : row.name));
        if (!twin) {
            action->setShortcut(KeysOf(row));
            action->setCheckable(row.check != CommandCheck::None);
        }
        action->setShortcutContext(Qt::WindowShortcut);
        if (row.icon.bundled != nullptr)
            action->setIcon(IconFor(row.icon));
        if (!twin && row.check == CommandCheck::OneOfMenu) {
            QActionGroup*& group = exclusiveGroups[row.place.menu];
            if (group == nullptr) {
                group = new QActionGroup(window);
                group->setExclusive(true);
            }
            group->addAction(action);
        }
        QObject::connect(action, &QAction::triggered, window, handlers.at(row.id));
        if (row.hidden)
            action->setVisible(false);
        window->addAction(action);
        (twin ? built.popupAction : actions_[row.id]) = action;
        return action;
    };
    struct Entry {
        int group, order;
        Built* command;
        bool twin;
        QMenu* submenu;
    };
    for (const MenuRow& menuRow : MenuTable()) {
        QMenu* menu = menus_.at(menuRow.menu);
        std::vector<Entry> entries;
        for (Built& built : built_) {
            const CommandRow& row = *built.row;
            if (row.place.menu == menuRow.menu)
                entries.push_back({row.place.group, row.place.order, &built, false, nullptr});
            if (row.popup.name != nullptr && menuRow.menu == CommandMenu::Popup)
                entries.push_back({row.popup.group, row.popup.order, &built, true, nullptr});
        }
        for (const MenuRow& sub : MenuTable())
            if (sub.place.menu == menuRow.menu)
                entries.push_back({sub.place.group, sub.place.order, nullptr, false, menus_.at(sub.menu)});
        LayOut(
            std::move(entries),
            [&](const Entry& entry) {
                menu->addAction(entry.submenu ? entry.submenu->menuAction()
                                              : makeAction(*entry.command, entry.twin));
            },
            [menu]() { menu->addSeparator(); });
    }
}

void CommandActions::CreateToolBar(QMainWindow* window)
{
    toolBar_ = new QToolBar(window);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    window->addToolBar(Qt::TopToolBarArea, toolBar_);

    struct Entry {
        int group, order;
        Built* command;
    };
    std::vector<Entry> entries;
    for (Built& built : built_)
        if (built.row->toolbar.name != nullptr)
            entries.push_back({built.row->toolbar.group, built.row->toolbar.order, &built});
    LayOut(
        std::move(entries),
        [this](const Entry& entry) {
            const CommandRow& row = *entry.command->row;
            auto* tool = new QToolButton(toolBar_);
            tool->setObjectName(QString::fromLatin1(row.toolbar.name));
            tool->setIcon(ToolbarIconFor(row.icon));
            tool->setAutoRaise(true);
            tool->setFixedSize(40, 34);
            tool->setIconSize(QSize(24, 24));
            // Toolbar buttons never take the focus: Delete must still see the list focused.
            tool->setFocusPolicy(Qt::NoFocus);
            QObject::connect(tool, &QToolButton::clicked, actions_.at(row.id), &QAction::trigger);
            toolBar_->addWidget(tool);
            entry.command->button = tool;
        },
        [this]() { toolBar_->addSeparator(); });
}

void CommandActions::Relabel()
{
    for (const MenuRow& row : MenuTable())
        if (row.title.item != 0)
            menus_.at(row.menu)->setTitle(Text(row.title));
    for (const Built& built : built_) {
        actions_.at(built.row->id)->setText(Text(built.row->label));
        if (built.popupAction != nullptr)
            built.popupAction->setText(Text(built.row->popup.label));
        if (built.button != nullptr)
            built.button->setToolTip(Text(built.row->toolbar.hint));
    }
}

void CommandActions::Apply(const CommandStates& states)
{
    for (const Built& built : built_) {
        const CommandRow& row = *built.row;
        if (row.checkedWhen != nullptr)
            actions_.at(row.id)->setChecked(states.*row.checkedWhen);
        if (row.enabledWhen == nullptr)
            continue;
        const bool enabled = states.*row.enabledWhen;
        actions_.at(row.id)->setEnabled(enabled);
        if (built.popupAction != nullptr)
            built.popupAction->setEnabled(enabled);
        if (built.button != nullptr)
            built.button->setEnabled(enabled);
    }
}

} // namespace uzuviv
