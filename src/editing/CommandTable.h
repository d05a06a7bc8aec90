#pragma once

#include <span>

#include "editing/CommandStates.h"
#include "text/text.h"

namespace uzuviv {

// What a command runs. The window binds every id to its handler and refuses to start when one
// has none.
enum class CommandId { NewProject, ProjectProperties, Open, Save, SaveAs, BuildGPSFile,
    ImportGPSFile, Print, Exit, Undo, Redo, NewPoint, NewFromGoogleMaps, Delete, Cut, Copy,
    Paste, SelectAll, English, French, Spanish, German, Italian, ShowMap, MapSettings, About,
    HomePage, SendEmail, ShowInGoogleMaps, CheckProject, ImportGpxFile, ExportGpxFile,
    ExportKmlFile };

// The menus of the window. Language sits in Options, Web in Help; the pop-up menu belongs to
// the point list.
enum class CommandMenu { None, File, Edit, Options, Language, Help, Web, Popup };

// One text of the language tables; item 0 is no text.
struct TextItem {
    TextTable table = TextTable::AboutTexts;
    int item = 0;
};

// Where an entry sits in a menu or the toolbar: by group, then by order within the group, with
// a separator between two groups.
struct MenuPlace {
    CommandMenu menu = CommandMenu::None;
    int group = 0;
    int order = 0;
};

// The desktop theme's icon names, best first, and the base name of the program's own drawings
// (<bundled>-16.png, -24.png, -32.png and -48.png) for a theme that has neither.
struct IconName {
    const char* theme = nullptr;
    const char* themeAlternative = nullptr;
    const char* bundled = nullptr;
};

struct ToolbarSlot {
    const char* name = nullptr;   // null: no toolbar button
    int group = 0;
    int order = 0;
    TextItem hint = {};
};

// A second item of the same command in the point list's pop-up menu.
struct PopupSlot {
    const char* name = nullptr;   // null: not in the pop-up menu
    TextItem label = {};
    int group = 0;
    int order = 0;
};

enum class CommandCheck {
    None,
    OnOff,       // checked and unchecked in turn
    OneOfMenu,   // checking one unchecks the others of its menu
};

// One command of the window, described once: the menus, the toolbar, the pop-up menu, the
// relabelling and the enabling are all built from these rows.
struct CommandRow {
    CommandId id;
    const char* name;                // objectName of the menu item
    TextItem label = {};
    MenuPlace place = {};
    const char* shortcut = "";       // key names as Qt writes them ("Ctrl+Alt+Z", "Del", "F9")
    IconName icon = {};
    ToolbarSlot toolbar = {};
    PopupSlot popup = {};
    bool CommandStates::* enabledWhen = nullptr;   // null: always enabled
    CommandCheck check = CommandCheck::None;
    bool CommandStates::* checkedWhen = nullptr;   // null: the check follows the clicks
    bool hidden = false;
};

// A menu: its objectName, its title, and the menu it sits in (None: the menu bar, in table
// order).
struct MenuRow {
    CommandMenu menu;
    const char* name;
    TextItem title;
    MenuPlace place = {};
};

std::span<const CommandRow> CommandTable();
std::span<const MenuRow> MenuTable();
const CommandRow& CommandOf(CommandId id);
// The Language menu's item for language 1 (French) .. 5 (Italian).
CommandId LanguageCommand(int languageIndex);

// Throws std::logic_error naming the first row that repeats an id, a name or a place, or whose
// text item does not exist, so a slip in the table stops the program at start.
void CheckCommandTable(std::span<const CommandRow> commands, std::span<const MenuRow> menus);

} // namespace uzuviv
