#include "files/Exchange.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "files/Cp1252.h"
#include "files/FileFields.h"
#include "files/TextFile.h"
#include "model/CoordinateFormats.h"
#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// The first character of the text that an exchange file cannot hold: a control character
// other than tab, U+FFFE or U+FFFF (not XML characters), or U+FFFD standing for a byte that
// is not UTF-8.
std::optional<char32_t> FirstUnfitCharacter(std::string_view utf8)
{
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[pos]);
        if (byte >= 0x20 && byte < 0x80) {
            ++pos;
            continue;
        }
        // Every well-formed two-byte character (U+0080..U+07FF) fits: the accented letters of
        // most comments need no decoding.
        if (byte >= 0xC2 && byte <= 0xDF && pos + 1 < utf8.size()
            && (static_cast<unsigned char>(utf8[pos + 1]) & 0xC0) == 0x80) {
            pos += 2;
            continue;
        }
        const std::optional<char32_t> c = NextUtf8Character(utf8, pos);
        if (!c)
            return Replacement;
        if ((*c < 0x20 && *c != U'\t') || *c == 0xFFFE || *c == 0xFFFF)
            return *c;
    }
    return std::nullopt;
}

std::string CodePointText(char32_t c)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

[[noreturn]] void Refuse(const std::string& where, ExchangeText field, const std::string& fieldValue,
                         const std::string& problem)
{
    const std::string fieldName = FillText(ExchangeTextOf(field), {fieldValue});
    throw ExportRefusal(FillText(ExchangeTextOf(ExchangeText::Refusal), {where, fieldName, problem}));
}

void CheckText(const std::string& where, ExchangeText field, std::string_view text,
               const std::string& fieldValue = {})
{
    if (const auto unfit = FirstUnfitCharacter(text))
        Refuse(where, field, fieldValue,
               FillText(ExchangeTextOf(ExchangeText::ControlCharacter), {CodePointText(*unfit)}));
}

void CheckCoordinate(const std::string& where, ExchangeText field, Extended value, int limit)
{
    if (!std::isfinite(value))
        Refuse(where, field, {}, FillText(ExchangeTextOf(ExchangeText::NotFinite), {NonFiniteText(value)}));
    if (value < -limit || value > limit)
        Refuse(where, field, {},
               FillText(ExchangeTextOf(limit == 90 ? ExchangeText::LatitudeRange
                                                   : ExchangeText::LongitudeRange),
                        {CoordinateText(value)}));
}

} // namespace

const std::string& ExchangeTextOf(ExchangeText item)
{
    return LanguageText(TextTable::ExchangeTexts, static_cast<int>(item));
}

void CheckExportable(const TProjectType& project, bool allProperties)
{
    const std::string& projectWhere = ExchangeTextOf(ExchangeText::ProjectFields);
    CheckText(projectWhere, ExchangeText::NameField, project.ProjectName);
    if (allProperties) {
        CheckText(projectWhere, ExchangeText::SubjectField, project.Subject);
        CheckText(projectWhere, ExchangeText::AuthorField, project.Author);
        CheckText(projectWhere, ExchangeText::CopyrightField, project.Copyright);
        CheckText(projectWhere, ExchangeText::CustomerField, project.Customer);
        CheckText(projectWhere, ExchangeText::CreationDateField, project.CreationDate);
        for (std::size_t i = 0; i < project.ProjectComments.size(); ++i)
            CheckText(projectWhere, ExchangeText::CommentLineField, project.ProjectComments[i],
                      std::to_string(i + 1));
    }
    for (std::size_t i = 0; i < project.Records.size(); ++i) {
        const TGPSRecord& record = project.Records[i];
        const bool fits = std::isfinite(record.Latitude) && std::fabs(record.Latitude) <= 90
                          && std::isfinite(record.Longitude) && std::fabs(record.Longitude) <= 180
                          && !FirstUnfitCharacter(record.Comments);
        if (fits)
            continue;
        const std::string where = FillText(ExchangeTextOf(ExchangeText::PointNumber), {std::to_string(i + 1)});
        CheckCoordinate(where, ExchangeText::LatitudeField, record.Latitude, 90);
        CheckCoordinate(where, ExchangeText::LongitudeField, record.Longitude, 180);
        CheckText(where, ExchangeText::CommentField, record.Comments);
    }
}

void WriteExchangeFile(const std::string& path, const TProjectType& project, ProgressSink& progress,
                       ExchangeText caption, std::string_view head, std::string_view tail,
                       void (*appendPoint)(std::string& line, const TGPSRecord& record))
{
    AtomicTextWriter writer(path);
    writer.WriteLine(head);
    ProgressScope scope(progress, TextTable::ExchangeTexts, static_cast<int>(caption));
    const auto count = static_cast<std::int64_t>(project.Records.size());
    std::int64_t done = 0;
    std::string line;
    for (const TGPSRecord& record : project.Records) {
        line.clear();
        appendPoint(line, record);
        writer.WriteLine(line);
        scope.Step(++done, count);
    }
    writer.WriteLine(tail);
    scope.Close();
    writer.Commit();
}

std::string ImportedText(std::string_view utf8)
{
    std::string text;
    text.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        // Runs that need nothing: ASCII but line breaks, and the accented Latin letters
        // U+00A0..U+00FF, which the code page always holds.
        const std::size_t start = pos;
        for (; pos < utf8.size(); ++pos) {
            const auto byte = static_cast<unsigned char>(utf8[pos]);
            if (byte < 0x80 && byte != '\r' && byte != '\n')
                continue;
            if ((byte == 0xC2 || byte == 0xC3) && pos + 1 < utf8.size()) {
                const auto next = static_cast<unsigned char>(utf8[pos + 1]);
                if ((next & 0xC0) == 0x80 && (byte == 0xC3 || next >= 0xA0)) {
                    ++pos;
                    continue;
                }
            }
            break;
        }
        text.append(utf8.substr(start, pos - start));
        if (pos == utf8.size())
            break;
        const std::size_t characterStart = pos;
        const std::optional<char32_t> c = NextUtf8Character(utf8, pos);
        if (c == U'\r' && pos < utf8.size() && utf8[pos] == '\n')
            continue;   // the LF that follows gives the one blank
        if (c == U'\r' || c == U'\n' || c == 0x2028 || c == 0x2029)
            text += ' ';
        else if (c && FitsCp1252(*c))
            text.append(utf8.substr(characterStart, pos - characterStart));
        else
            text += '?';
    }
    return text;
}

} // namespace uzuviv
