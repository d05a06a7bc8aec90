#include "files/SettingsFile.h"

#include <array>
#include <cerrno>
#include <string_view>
#include <sys/stat.h>

#include "files/Cp1252.h"
#include "files/TextFile.h"
#include "model/NumberText.h"

namespace uzuviv {

namespace {

constexpr std::string_view SettingsHeader = "Settings File of OVRA DAV Uzuviv Tool";
constexpr std::string_view VersionLabel = "File version : ";
constexpr std::string_view SettingsVersion = "1.0.0";
constexpr std::string_view LanguageLabel = "Language :";
constexpr std::string_view LastProjectLabel = "Last project used";
constexpr std::string_view DisplayModeLabel = "GPS Display Mode";
constexpr std::string_view RecentLabel = "Recent Open Files List";
constexpr std::size_t MaxStoredRecentFiles = 5;

// Index i holds the word of LanguageIndex i + 1.
constexpr std::array<std::string_view, 5> LanguageWords = {"French", "English", "Spanish",
                                                           "German", "Italian"};
constexpr std::uint8_t EnglishIndex = 2;

// In Windows-1252 these bytes read "ï»¿", which no real path line starts with.
constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
// The same three characters in UTF-8: a path that starts with them must be marked too, or it
// would read back as a marked line.
constexpr std::string_view MarkAsText = "\xC3\xAF\xC2\xBB\xC2\xBF";

std::string_view LanguageWord(std::uint8_t languageIndex)
{
    if (languageIndex >= 1 && languageIndex <= LanguageWords.size())
        return LanguageWords[languageIndex - 1];
    return LanguageWords[EnglishIndex - 1];
}

std::uint8_t LanguageFromWord(std::string_view word)
{
    for (std::size_t i = 0; i < LanguageWords.size(); ++i) {
        if (word == LanguageWords[i])
            return static_cast<std::uint8_t>(i + 1);
    }
    return EnglishIndex;
}

bool NeedsMark(std::string_view path)
{
    return path.find_first_of("\r\n") != std::string_view::npos || path.starts_with(MarkAsText)
        || !FitsCp1252(path);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Only the three escapes the writer produces are decoded; any other '%' stays as it is.
std::string Unescape(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            const int value = high < 0 || low < 0 ? -1 : high * 16 + low;
            if (value == '%' || value == '\r' || value == '\n') {
                result.push_back(static_cast<char>(value));
                i += 2;
                continue;
            }
        }
        result.push_back(text[i]);
    }
    return result;
}

bool FileMissing(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

} // namespace

std::string SettingsPathLine(const std::string& path)
{
    if (!NeedsMark(path))
        return Utf8ToCp1252(path);
    std::string line(Utf8Mark);
    line.reserve(Utf8Mark.size() + path.size());
    for (const char c : path) {
        switch (c) {
        case '%': line += "%25"; break;
        case '\r': line += "%0D"; break;
        case '\n': line += "%0A"; break;
        default: line.push_back(c);
        }
    }
    return line;
}

std::string SettingsPathFromLine(std::string_view line)
{
    if (line.starts_with(Utf8Mark))
        return Unescape(line.substr(Utf8Mark.size()));
    return Cp1252ToUtf8(line);
}

void WriteSettingsFile(const std::string& path, const Settings& settings)
{
    AtomicTextWriter writer(path);
    writer.WriteLine(SettingsHeader);
    writer.WriteLine(VersionLabel);
    writer.WriteLine(SettingsVersion);
    writer.WriteLine(LanguageLabel);
    writer.WriteLine(LanguageWord(settings.LanguageIndex));
    writer.WriteLine(LastProjectLabel);
    writer.WriteLine(SettingsPathLine(settings.LastProject));
    writer.WriteLine(DisplayModeLabel);
    writer.WriteLine(std::to_string(settings.DisplayMode));
    writer.WriteLine(RecentLabel);
    // The reader takes the first five entries: more than five would lose the most recent ones.
    const std::vector<std::string>& recent = settings.RecentFiles;
    const std::size_t first = recent.size() > MaxStoredRecentFiles ? recent.size() - MaxStoredRecentFiles : 0;
    for (std::size_t i = first; i < recent.size(); ++i)
        writer.WriteLine(SettingsPathLine(recent[i]));
    writer.Commit();
}

SettingsFileStatus ReadSettingsFile(const std::string& path, Settings& settings)
{
    if (FileMissing(path))
        return SettingsFileStatus::Missing;
    LineReader reader(path);
    reader.ReadLine();
    reader.ReadLine();
    if (reader.ReadLine() != SettingsVersion)
        return SettingsFileStatus::OtherVersion;

    reader.ReadLine();
    settings.LanguageIndex = LanguageFromWord(reader.ReadLine());
    reader.ReadLine();
    settings.LastProject = SettingsPathFromLine(reader.ReadLine());

    if (reader.AtEnd())
        return SettingsFileStatus::Read;
    reader.ReadLine();
    // Kept to 8 bits, as the program holds the mode: 300 reads as 44, -1 as 255.
    settings.DisplayMode = static_cast<std::uint8_t>(ParseInteger(Cp1252ToUtf8(reader.ReadLine())));

    if (reader.AtEnd())
        return SettingsFileStatus::Read;
    reader.ReadLine();
    for (std::size_t i = 0; i < MaxStoredRecentFiles && !reader.AtEnd(); ++i)
        settings.RecentFiles.push_back(SettingsPathFromLine(reader.ReadLine()));
    return SettingsFileStatus::Read;
}

} // namespace uzuviv
