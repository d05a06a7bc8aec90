#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace uzuviv {

// What the program remembers between runs.
struct Settings {
    std::uint8_t LanguageIndex = 2;       // 1 French .. 5 Italian
    std::string LastProject;              // CurrentFileName
    int DisplayMode = 1;                  // stored kept to 8 bits
    std::vector<std::string> RecentFiles; // oldest first, at most 5
};

// Writes the file atomically: the ten header and value lines, then the recent files oldest
// first (only the five most recent when more are given). Language word: "French" 1,
// "Spanish" 3, "German" 4, "Italian" 5, "English" for 2 and any other value.
// Throws InOutError; a failure leaves the previous file as it was.
void WriteSettingsFile(const std::string& path, const Settings& settings);

enum class SettingsFileStatus { Read, Missing, OtherVersion };

// Reads the file into `settings` section by section. Missing and OtherVersion leave `settings`
// untouched. A file that ends after the last project or after the display mode leaves the
// later fields as they were. The recent entries (at most five, further lines ignored) are
// appended to settings.RecentFiles raw, in file order; the caller passes them through
// RecentFiles::Add, which removes duplicates.
// Throws InOutError (100 when the file ends before the last-project line) or ConversionError
// (display mode not a number), after `settings` has received what was read before.
SettingsFileStatus ReadSettingsFile(const std::string& path, Settings& settings);

// A path as one line of the file, and back. A path that Windows-1252 cannot hold, or that
// holds a line break, is written as a UTF-8 byte-order mark followed by its UTF-8 bytes with
// '%', CR and LF escaped as %25, %0D, %0A.
std::string SettingsPathLine(const std::string& path);
std::string SettingsPathFromLine(std::string_view line);

} // namespace uzuviv
