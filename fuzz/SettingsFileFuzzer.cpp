// The settings file reader on any bytes. Whatever it reads must write and read back unchanged:
// the language, the last project (any path text), the display mode and the recent files.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "files/SettingsFile.h"
#include "model/NumberText.h"

using namespace uzuviv;

namespace {

bool SameSettings(const Settings& a, const Settings& b)
{
    return a.LanguageIndex == b.LanguageIndex && a.LastProject == b.LastProject
        && a.DisplayMode == b.DisplayMode && a.RecentFiles == b.RecentFiles;
}

Settings Reread(const Settings& settings, const fuzz::ScratchFile& file)
{
    WriteSettingsFile(file.Path(), settings);
    Settings read;
    FUZZ_CHECK(ReadSettingsFile(file.Path(), read) == SettingsFileStatus::Read);
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFile input("DAVUzuviv.cfg");
    static const fuzz::ScratchFile written("written.cfg");
    input.Write(data, size);

    // A path is any bytes on this system: each must come back from its own line, which must
    // stay one line.
    const std::string path(reinterpret_cast<const char*>(data), size);
    const std::string pathLine = SettingsPathLine(path);
    FUZZ_CHECK(fuzz::IsOneLine(pathLine));
    FUZZ_CHECK(SettingsPathFromLine(pathLine) == path);

    Settings settings;
    SettingsFileStatus status;
    try {
        status = ReadSettingsFile(input.Path(), settings);
    } catch (const InOutError&) {
        return 0;
    } catch (const ConversionError&) {
        return 0;
    }
    FUZZ_CHECK(status != SettingsFileStatus::Missing);
    if (status == SettingsFileStatus::OtherVersion) {
        FUZZ_CHECK(SameSettings(settings, Settings{}));
        return 0;
    }
    FUZZ_CHECK(settings.LanguageIndex >= 1 && settings.LanguageIndex <= 5);
    FUZZ_CHECK(settings.DisplayMode >= 0 && settings.DisplayMode <= 255);
    FUZZ_CHECK(settings.RecentFiles.size() <= 5);

    const Settings once = Reread(settings, written);
    FUZZ_CHECK(SameSettings(once, settings));
    const std::string firstBytes = written.Read();
    const Settings twice = Reread(once, written);
    FUZZ_CHECK(SameSettings(twice, once));
    FUZZ_CHECK(written.Read() == firstBytes);
    return 0;
}
