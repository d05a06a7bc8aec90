// New from Google Maps on any clipboard text. The first byte chooses the display mode (low
// three bits, so 0, 5, 6 and 7 stand for the values that behave as D.d) and how many points
// the project holds already (bits 3-4: 0, 1, 149 or 150); the rest is the clipboard's text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "FuzzWindow.h"
#include "editing/Document.h"
#include "editing/PointCommands.h"
#include "editing/WebLinks.h"
#include "files/Cp1252.h"
#include "files/UnitOfCodes.h"
#include "model/CoordinateFormats.h"
#include "model/NumberText.h"
#include "text/text.h"

using namespace uzuviv;

namespace {

constexpr std::size_t ExistingCounts[] = {0, 1, MaxRecords - 1, MaxRecords};

// The coordinate the new point must get from one side of the text: the number if it is one
// and within its bounds, else the new point's 0.
std::optional<Extended> Coordinate(const std::string& filtered, Extended bound)
{
    try {
        const Extended value = ParseDecimal(filtered);
        if (value >= -bound && value <= bound)
            return value;
    } catch (const ConversionError&) {
    }
    return std::nullopt;
}

const std::string& Message(int item) { return LanguageText(TextTable::MessageTexts, item); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFile saved("map.gps");
    if (size == 0)
        return 0;
    const int mode = data[0] & 7;
    const std::size_t existing = ExistingCounts[(data[0] >> 3) & 3];
    const std::string clipboard(reinterpret_cast<const char*>(data + 1), size - 1);

    Document document;
    document.ResetProject();
    for (std::size_t i = 0; i < existing; ++i)
        document.CurrentProject()->Records.push_back(TGPSRecord{1.5L, -2.5L, 10, 3, 4, "old"});
    const TProjectType before = *document.CurrentProject();

    fuzz::FuzzWindow window;
    PointCommands commands(document, window, window);
    window.Commands = &commands;
    window.Clipboard = clipboard;
    commands.SetDisplayMode(mode);
    commands.NewGPSFromGoogleMapsClipboard1Click();
    FUZZ_CHECK(commands.DisplayMode() == mode);

    // What the text holds: an optional label before the first "@", then the latitude before
    // the first "," and the longitude after it.
    std::string_view text = clipboard;
    const std::size_t at = text.find('@');
    if (at != std::string_view::npos)
        text.remove_prefix(at + 1);
    const std::size_t comma = text.find(',');
    const std::string latitudeText = comma == std::string_view::npos ? std::string()
        : MapCoordinateText(text.substr(0, comma));
    const std::string longitudeText = comma == std::string_view::npos ? std::string()
        : MapCoordinateText(text.substr(comma + 1));
    // Only hemisphere letters inside words or away from numbers are dropped: the side is the
    // plain filter's text less some of its minus signs.
    if (comma != std::string_view::npos) {
        const std::string_view sides[] = {text.substr(0, comma), text.substr(comma + 1)};
        const std::string* kept[] = {&latitudeText, &longitudeText};
        for (int side = 0; side < 2; ++side) {
            const std::string all = FilterCoordinateText(sides[side], true, true, true, true, true);
            std::size_t k = 0;
            for (const char c : all)
                if (k < kept[side]->size() && (*kept[side])[k] == c)
                    ++k;
                else
                    FUZZ_CHECK(c == '-');
            FUZZ_CHECK(k == kept[side]->size());
        }
    }

    const TProjectType& project = *document.CurrentProject();
    if (latitudeText.empty() || longitudeText.empty() || existing >= MaxRecords) {
        FUZZ_CHECK(!ProjectsDiffer(project, before));
        FUZZ_CHECK(window.Messages.size() == 1);
        FUZZ_CHECK(window.Messages[0].Kind == MessageKind::Warning);
        FUZZ_CHECK(window.Messages[0].Text == Message(latitudeText.empty() || longitudeText.empty() ? 7 : 2));
        return 0;
    }

    // One new point at the end; the others untouched.
    FUZZ_CHECK(project.Records.size() == existing + 1);
    for (std::size_t i = 0; i < existing; ++i)
        FUZZ_CHECK(!RecordsDiffer(project.Records[i], before.Records[i]));
    const TGPSRecord& point = project.Records.back();
    const std::optional<Extended> latitude = Coordinate(latitudeText, 90);
    const std::optional<Extended> longitude = Coordinate(longitudeText, 180);
    FUZZ_CHECK(point.Latitude == latitude.value_or(0));
    FUZZ_CHECK(point.Longitude == longitude.value_or(0));
    FUZZ_CHECK(point.Tolerance == 0 && point.FileRef == 1 && point.Mode == 1);
    FUZZ_CHECK(at != std::string_view::npos || point.Comments == "...");
    FUZZ_CHECK(fuzz::IsOneLine(point.Comments) && FitsCp1252(point.Comments));

    // One warning, naming the later failing coordinate, and only when one failed.
    if (latitude && longitude) {
        FUZZ_CHECK(window.Messages.empty());
    } else {
        FUZZ_CHECK(window.Messages.size() == 1);
        FUZZ_CHECK(window.Messages[0].Kind == MessageKind::Warning);
        FUZZ_CHECK(window.Messages[0].Text == Message(longitude ? 3 : 4));
    }

    // The comment is one line of the project file: a save and an open give it back.
    fuzz::CheckingProgress progress;
    SaveProjectFile(saved.Path(), project, progress);
    TProjectType reopened;
    FUZZ_CHECK(LoadProjectFile(saved.Path(), reopened, progress).Version == ProjectFileVersion::Accepted);
    FUZZ_CHECK(reopened.Records.size() == project.Records.size());
    FUZZ_CHECK(reopened.Records.back().Comments == point.Comments);
    return 0;
}
