#include "files/FileFields.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "files/Cp1252.h"
#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {

namespace {

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The conversions name the offending text in their message, which must be UTF-8. A number
// is all ASCII, so the bytes are converted only to word a refusal.
template <typename Parse>
auto ParseBytes(std::string_view bytes, Parse parse)
{
    try {
        return parse(bytes);
    } catch (const ConversionError&) {
        if (IsAscii(bytes))
            throw;
    }
    return parse(Cp1252ToUtf8(bytes));
}

} // namespace

ProgressScope::ProgressScope(ProgressSink& sink, int captionItem)
    : ProgressScope(sink, TextTable::ProgressTexts, captionItem)
{
}

ProgressScope::ProgressScope(ProgressSink& sink, TextTable table, int captionItem) : sink_(sink)
{
    sink_.Show(LanguageText(table, captionItem));
}

ProgressScope::~ProgressScope()
{
    if (open_) {
        try {
            sink_.Close();
        } catch (...) {
            // Already unwinding from the real failure; that one is what the user sees.
        }
    }
}

void ProgressScope::Close()
{
    open_ = false;
    sink_.Close();
}

void AppendFieldBytes(std::string& line, std::string_view utf8)
{
    const std::size_t start = line.size();
    line.append(utf8);
    // ASCII is its own Windows-1252: one pass over the copy, converting only if needed.
    bool ascii = true;
    for (auto c = line.begin() + static_cast<std::ptrdiff_t>(start); c != line.end(); ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) {
            ascii = false;
            break;
        }
        if (*c == '\r' || *c == '\n')
            *c = ' ';
    }
    if (ascii)
        return;
    line.resize(start);
    line.append(Utf8ToCp1252(utf8));
    std::replace_if(line.begin() + static_cast<std::ptrdiff_t>(start), line.end(),
                    [](char c) { return c == '\r' || c == '\n'; }, ' ');
}

std::string FieldBytes(std::string_view utf8)
{
    std::string bytes;
    AppendFieldBytes(bytes, utf8);
    return bytes;
}

Extended ReadDecimal(std::string_view bytes)
{
    return ParseBytes(bytes, [](std::string_view text) { return ParseDecimal(text); });
}

std::int32_t ReadInteger(std::string_view bytes)
{
    return ParseBytes(bytes, [](std::string_view text) { return ParseInteger(text); });
}

void AppendRecords(std::vector<TGPSRecord>& destination, std::vector<TGPSRecord>&& records)
{
    if (destination.empty())
        destination = std::move(records);
    else
        destination.insert(destination.end(), std::make_move_iterator(records.begin()),
                           std::make_move_iterator(records.end()));
}

} // namespace uzuviv
