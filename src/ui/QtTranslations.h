#pragma once

#include <cstdint>

namespace uzuviv {

// Qt's own texts (the file and print dialogs, the context menu of every edit box) in the
// interface language `languageIndex` (1 French .. 5 Italian), from Qt's translation files.
// Replaces the translation loaded before; without a file for the language Qt's texts stay
// English. The menu shortcut texts keep their fixed key names.
void LoadQtTranslations(std::uint8_t languageIndex);

} // namespace uzuviv
