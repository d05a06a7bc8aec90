#pragma once

#include <cstdint>
#include <string>

namespace uzuviv {

enum class TextTable { AboutTexts, FileMenuTexts, EditMenuTexts, OptionsMenuTexts,
    LanguageMenuTexts, HelpMenuTexts, ProjectNameTexts, MessageTexts, ListTexts,
    EditorPanelTexts, PropertiesTexts, ProgressTexts, ButtonTexts, ToolbarHintTexts,
    PopupMenuTexts, CheckTexts };

// 1 French, 2 English, 3 Spanish, 4 German, 5 Italian.
extern std::uint8_t LanguageIndex;

// Item 1..P of the table, in the current language.
const std::string& LanguageText(TextTable table, int item);

// Items per language of a table.
int TableItemCount(TextTable table);

} // namespace uzuviv
