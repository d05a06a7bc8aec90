#include "editing/CommandTable.h"

#include <set>
#include <stdexcept>
#include <string>
#include <tuple>

namespace uzuviv {

namespace {

using Menu = CommandMenu;
using S = CommandStates;

constexpr TextItem FileText(int item) { return {TextTable::FileMenuTexts, item}; }
constexpr TextItem EditText(int item) { return {TextTable::EditMenuTexts, item}; }
constexpr TextItem LanguageItemText(int item) { return {TextTable::LanguageMenuTexts, item}; }
constexpr TextItem HelpText(int item) { return {TextTable::HelpMenuTexts, item}; }
constexpr TextItem PopupText(int item) { return {TextTable::PopupMenuTexts, item}; }
constexpr TextItem Hint(int item) { return {TextTable::ToolbarHintTexts, item}; }

// To add a command: append its id to CommandId, its texts to the language tables (all five
// languages), a row here, and its handler in the window's TForm1::HandlerFor (the build warns
// about a missing case and the window refuses to start without one). A new enabling rule is a
// new field of CommandStates, computed in ComputeCommandStates and named in enabledWhen. A new
// icon needs its drawings (16, 24, 32 and 48 px) in ui/icons and ui/icons.qrc.
constexpr CommandRow Rows[] = {
    {.id = CommandId::NewProject, .name = "New2", .label = FileText(2), .place = {Menu::File, 1, 1},
     .shortcut = "Ctrl+N", .icon = {"document-new", nullptr, "new-project"},
     .toolbar = {"SpeedButton8", 1, 1, Hint(6)}},
    {.id = CommandId::ProjectProperties, .name = "Property1", .label = FileText(3),
     .place = {Menu::File, 1, 2}, .shortcut = "Ctrl+P",
     .icon = {"document-properties", nullptr, "project-properties"},
     .enabledWhen = &S::ProjectProperties},
    {.id = CommandId::Open, .name = "Open1", .label = FileText(4), .place = {Menu::File, 2, 1},
     .shortcut = "Ctrl+O", .icon = {"document-open", nullptr, "open"},
     .toolbar = {"SpeedButton4", 1, 2, Hint(7)}},
    {.id = CommandId::Save, .name = "Save1", .label = FileText(5), .place = {Menu::File, 2, 2},
     .shortcut = "Ctrl+S", .icon = {"document-save", nullptr, "save"},
     .toolbar = {"SpeedButton3", 1, 3, Hint(8)}, .enabledWhen = &S::Save},
    {.id = CommandId::SaveAs, .name = "SaveAs1", .label = FileText(6), .place = {Menu::File, 2, 3},
     .icon = {"document-save-as", nullptr, "save-as"}, .enabledWhen = &S::SaveAs},
    {.id = CommandId::BuildGPSFile, .name = "CreateGPSFile1", .label = FileText(8),
     .place = {Menu::File, 3, 1}, .shortcut = "F9",
     .icon = {"document-export", nullptr, "build-gps-file"},
     .toolbar = {"SpeedButton5", 2, 1, Hint(9)}, .enabledWhen = &S::BuildGPSFile},
    {.id = CommandId::ImportGPSFile, .name = "ImportGPSFile1", .label = FileText(9),
     .place = {Menu::File, 3, 2}, .shortcut = "F12",
     .icon = {"document-import", nullptr, "import-gps-file"}},
    // Imported like a GPS file, exported like one is built; KML shows in Earth viewers.
    {.id = CommandId::ImportGpxFile, .name = "ImportGpxFile1", .label = FileText(11),
     .place = {Menu::File, 3, 3}, .icon = {"document-import", nullptr, "import-gpx-file"}},
    {.id = CommandId::ExportGpxFile, .name = "ExportGpxFile1", .label = FileText(12),
     .place = {Menu::File, 3, 4}, .icon = {"document-export", nullptr, "export-gpx-file"},
     .enabledWhen = &S::BuildGPSFile},
    {.id = CommandId::ExportKmlFile, .name = "ExportKmlFile1", .label = FileText(13),
     .place = {Menu::File, 3, 5}, .icon = {"applications-internet", nullptr, "export-kml-file"},
     .enabledWhen = &S::BuildGPSFile},
    {.id = CommandId::Print, .name = "Imprimer1", .label = FileText(10), .place = {Menu::File, 4, 1},
     .icon = {"document-print", nullptr, "print"}},
    {.id = CommandId::Exit, .name = "Exit1", .label = FileText(7), .place = {Menu::File, 5, 1},
     .icon = {"application-exit", nullptr, "exit"}},

    {.id = CommandId::Undo, .name = "Undo1", .label = EditText(8), .place = {Menu::Edit, 1, 1},
     .shortcut = "Ctrl+Z", .icon = {"edit-undo", nullptr, "undo"},
     .toolbar = {"SpeedButton6", 3, 3, Hint(10)}, .enabledWhen = &S::Undo},
    {.id = CommandId::Redo, .name = "Redo1", .label = EditText(9), .place = {Menu::Edit, 1, 2},
     .shortcut = "Ctrl+Alt+Z", .icon = {"edit-redo", nullptr, "redo"},
     .toolbar = {"SpeedButton7", 3, 4, Hint(11)}, .enabledWhen = &S::Redo},
    {.id = CommandId::NewPoint, .name = "New1", .label = EditText(2), .place = {Menu::Edit, 2, 1},
     .shortcut = "Ctrl+Alt+N", .icon = {"list-add", nullptr, "new-point"},
     .toolbar = {"SpeedButton1", 3, 1, Hint(1)}, .enabledWhen = &S::NewPoint},
    // A placed pin rather than edit-paste, so it does not look like Paste beside it.
    {.id = CommandId::NewFromGoogleMaps, .name = "NewGPSFromGoogleMapsClipboard1",
     .label = EditText(10), .place = {Menu::Edit, 2, 2}, .shortcut = "Ctrl+Alt+G",
     .icon = {"mark-location", nullptr, "new-from-google-maps"},
     .enabledWhen = &S::NewFromGoogleMaps},
    {.id = CommandId::Delete, .name = "Delete1", .label = EditText(3), .place = {Menu::Edit, 2, 3},
     .shortcut = "Del", .icon = {"list-remove", "edit-delete", "delete-point"},
     .toolbar = {"SpeedButton2", 3, 2, Hint(2)}, .popup = {"Delete2", PopupText(1), 1, 1},
     .enabledWhen = &S::Delete},
    {.id = CommandId::Cut, .name = "Cut1", .label = EditText(4), .place = {Menu::Edit, 3, 1},
     .shortcut = "Ctrl+X", .icon = {"edit-cut", nullptr, "cut"},
     .popup = {"Cut2", PopupText(2), 2, 1}, .enabledWhen = &S::Cut},
    {.id = CommandId::Copy, .name = "Copy1", .label = EditText(5), .place = {Menu::Edit, 3, 2},
     .shortcut = "Ctrl+C", .icon = {"edit-copy", nullptr, "copy"},
     .popup = {"Copy2", PopupText(3), 2, 2}, .enabledWhen = &S::Copy},
    {.id = CommandId::Paste, .name = "Paste1", .label = EditText(6), .place = {Menu::Edit, 3, 3},
     .shortcut = "Ctrl+V", .icon = {"edit-paste", nullptr, "paste"},
     .popup = {"Paste2", PopupText(4), 2, 3}, .enabledWhen = &S::Paste},
    {.id = CommandId::SelectAll, .name = "SelectAll1", .label = EditText(7),
     .place = {Menu::Edit, 3, 4}, .shortcut = "Ctrl+A",
     .icon = {"edit-select-all", nullptr, "select-all"}, .enabledWhen = &S::SelectAll},
    {.id = CommandId::CheckProject, .name = "CheckProject1", .label = EditText(11),
     .place = {Menu::Edit, 4, 1}, .shortcut = "F7", .icon = {nullptr, nullptr, "check-project"},
     .enabledWhen = &S::CheckProject},

    // Spanish, German and Italian stay reachable only through the settings file.
    {.id = CommandId::English, .name = "English1", .label = LanguageItemText(2),
     .place = {Menu::Language, 1, 1}, .check = CommandCheck::OneOfMenu},
    {.id = CommandId::French, .name = "French1", .label = LanguageItemText(3),
     .place = {Menu::Language, 1, 2}, .check = CommandCheck::OneOfMenu},
    {.id = CommandId::Spanish, .name = "Espaol1", .label = LanguageItemText(4),
     .place = {Menu::Language, 1, 3}, .check = CommandCheck::OneOfMenu, .hidden = true},
    {.id = CommandId::German, .name = "Deutsch1", .label = LanguageItemText(5),
     .place = {Menu::Language, 1, 4}, .check = CommandCheck::OneOfMenu, .hidden = true},
    {.id = CommandId::Italian, .name = "Italian1", .label = LanguageItemText(6),
     .place = {Menu::Language, 1, 5}, .check = CommandCheck::OneOfMenu, .hidden = true},

    {.id = CommandId::ShowMap, .name = "ShowMap1", .label = {TextTable::OptionsMenuTexts, 2},
     .place = {Menu::Options, 2, 1}, .shortcut = "F8", .check = CommandCheck::OnOff},
    {.id = CommandId::MapSettings, .name = "MapSettings1", .label = {TextTable::OptionsMenuTexts, 3},
     .place = {Menu::Options, 2, 2}},

    {.id = CommandId::About, .name = "About1", .label = HelpText(2), .place = {Menu::Help, 1, 1},
     .shortcut = "F1", .icon = {"help-about", nullptr, "about"}},
    {.id = CommandId::HomePage, .name = "HomePage1", .label = HelpText(4),
     .place = {Menu::Web, 1, 1}, .icon = {"go-home", nullptr, "home-page"}},
    {.id = CommandId::SendEmail, .name = "SendEmailToSupport1", .label = HelpText(5),
     .place = {Menu::Web, 1, 2}, .icon = {"mail-send", nullptr, "send-email"}},

    {.id = CommandId::ShowInGoogleMaps, .name = "ShowInGoogleMap1", .label = PopupText(5),
     .place = {Menu::Popup, 3, 1}, .icon = {"find-location", nullptr, "show-in-google-maps"},
     .enabledWhen = &S::ShowInGoogleMaps},
};

constexpr MenuRow Menus[] = {
    {Menu::File, "File1", FileText(1), {}},
    {Menu::Edit, "Edit1", EditText(1), {}},
    {Menu::Options, "Options1", {TextTable::OptionsMenuTexts, 1}, {}},
    {Menu::Language, "Language1", LanguageItemText(1), {Menu::Options, 1, 1}},
    {Menu::Help, "Help1", HelpText(1), {}},
    {Menu::Web, "Web1", HelpText(3), {Menu::Help, 2, 1}},
    {Menu::Popup, "PopupMenu1", {}, {}},
};

[[noreturn]] void Refuse(const char* name, const std::string& fault)
{
    throw std::logic_error(std::string("command table: ") + name + ": " + fault);
}

void CheckText(const char* name, TextItem text)
{
    if (text.item < 1 || text.item > TableItemCount(text.table))
        Refuse(name, "text item " + std::to_string(text.item) + " does not exist");
}

} // namespace

std::span<const CommandRow> CommandTable() { return Rows; }
std::span<const MenuRow> MenuTable() { return Menus; }

const CommandRow& CommandOf(CommandId id)
{
    for (const CommandRow& row : Rows)
        if (row.id == id)
            return row;
    throw std::logic_error("command table: no row for command " +
                           std::to_string(static_cast<int>(id)));
}

CommandId LanguageCommand(int languageIndex)
{
    switch (languageIndex) {
    case 1: return CommandId::French;
    case 3: return CommandId::Spanish;
    case 4: return CommandId::German;
    case 5: return CommandId::Italian;
    default: return CommandId::English;
    }
}

void CheckCommandTable(std::span<const CommandRow> commands, std::span<const MenuRow> menus)
{
    std::set<std::string> names;
    std::set<CommandId> ids;
    std::set<std::tuple<CommandMenu, int, int>> places;
    const auto claim = [&](const char* owner, const char* name, MenuPlace place) {
        if (name != nullptr && !names.insert(name).second)
            Refuse(owner, std::string("the name ") + name + " is used twice");
        if (!places.insert({place.menu, place.group, place.order}).second)
            Refuse(owner, "its place is taken");
    };
    std::set<CommandMenu> known;
    for (const MenuRow& menu : menus) {
        known.insert(menu.menu);
        if (menu.place.menu != CommandMenu::None)
            claim(menu.name, menu.name, menu.place);
        else if (!names.insert(menu.name).second)
            Refuse(menu.name, "the name is used twice");
        if (menu.title.item != 0)
            CheckText(menu.name, menu.title);
    }
    // The toolbar is a place of its own.
    constexpr auto toolbar = static_cast<CommandMenu>(-1);
    for (const CommandRow& row : commands) {
        if (!ids.insert(row.id).second)
            Refuse(row.name, "its command already has a row");
        if (known.count(row.place.menu) == 0)
            Refuse(row.name, "its menu does not exist");
        claim(row.name, row.name, row.place);
        CheckText(row.name, row.label);
        if (row.toolbar.name != nullptr) {
            claim(row.name, row.toolbar.name, {toolbar, row.toolbar.group, row.toolbar.order});
            CheckText(row.toolbar.name, row.toolbar.hint);
        }
        if (row.popup.name != nullptr) {
            claim(row.name, row.popup.name, {CommandMenu::Popup, row.popup.group, row.popup.order});
            CheckText(row.popup.name, row.popup.label);
        }
        if (row.checkedWhen != nullptr && row.check != CommandCheck::OnOff)
            Refuse(row.name, "only an on/off item follows a checked rule");
    }
}

} // namespace uzuviv
