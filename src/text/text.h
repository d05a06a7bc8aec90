#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace uzuviv {

enum class TextTable { AboutTexts, FileMenuTexts, EditMenuTexts, OptionsMenuTexts,
    LanguageMenuTexts, HelpMenuTexts, ProjectNameTexts, MessageTexts, ListTexts,
    EditorPanelTexts, PropertiesTexts, ProgressTexts, ButtonTexts, ToolbarHintTexts,
    PopupMenuTexts, CheckTexts, ExchangeTexts, MapTexts };

// 1 French, 2 English, 3 Spanish, 4 German, 5 Italian.
extern std::uint8_t LanguageIndex;

// Item 1..P of the table, in the current language.
const std::string& LanguageText(TextTable table, int item);

// Items per language of a table.
int TableItemCount(TextTable table);

// The text with "%1", "%2", ... replaced by the values in order; a marker without a value stays.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values);

} // namespace uzuviv
