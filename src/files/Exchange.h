#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "files/ProgressSink.h"
#include "model/ProjectClasses.h"

namespace uzuviv {

// What the GPX and KML readers and writers share: their texts, the check of what the formats
// cannot hold, and the text a foreign file's field becomes.

// Items of TextTable::ExchangeTexts.
enum class ExchangeText {
    ImportingGpx = 1, ExportingGpx, ExportingKml,
    GpxPosition, FileEmpty, FileEndsEarly, NotWellFormed, EntityDeclaration, NestedTooDeep,
    TagTooLong, RootNotGpx, MissingAttribute, NotANumber,
    Refusal, PointNumber, ProjectFields,
    LatitudeField, LongitudeField, CommentField, NameField, SubjectField, AuthorField,
    CopyrightField, CustomerField, CreationDateField, CommentLineField,
    LatitudeRange, LongitudeRange, NotFinite, ControlCharacter
};

// The item in the current language.
const std::string& ExchangeTextOf(ExchangeText item);

// An export refused for a value its format cannot hold. what() is the warning in the current
// language, naming the first such point (or the project) and field.
class ExportRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws ExportRefusal for the first value that GPX or KML cannot hold, in file order: the
// project's properties and comment lines (all of them, or only the name when `allProperties`
// is false), then point by point its latitude (not finite, or outside -90..+90), longitude
// (-180..+180) and comment. A text cannot hold a control character other than tab (line
// breaks included), nor bytes that are not UTF-8.
void CheckExportable(const TProjectType& project, bool allProperties);

// Writes an exchange file atomically: `head`, one line per point made by `appendPoint`, then
// `tail`, showing the progress window with `caption` point by point.
void WriteExchangeFile(const std::string& path, const TProjectType& project, ProgressSink& progress,
                       ExchangeText caption, std::string_view head, std::string_view tail,
                       void (*appendPoint)(std::string& line, const TGPSRecord& record));

// A field of a file from elsewhere as the model holds it: line breaks become blanks (CR LF one
// blank) and every character Windows-1252 cannot hold becomes "?", as the code page writes it.
std::string ImportedText(std::string_view utf8);

} // namespace uzuviv
