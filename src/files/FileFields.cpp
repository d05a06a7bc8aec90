#include "files/FileFields.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include <sys/mman.h>

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

char* PutFieldBytes(char* out, std::string_view utf8)
{
    return PutUtf8AsCp1252BlankingLineBreaks(out, utf8);
}

void AppendFieldBytes(std::string& line, std::string_view utf8)
{
    const std::size_t start = line.size();
    line.resize(start + utf8.size());
    line.resize(static_cast<std::size_t>(PutFieldBytes(line.data() + start, utf8) - line.data()));
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

void ReserveRecords(std::vector<TGPSRecord>& records, std::size_t count)
{
    records.reserve(count);
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t LargePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(records.data());
    const std::uintptr_t end = begin + records.capacity() * sizeof(TGPSRecord);
    const std::uintptr_t first = (begin + LargePage - 1) & ~(LargePage - 1);
    const std::uintptr_t last = end & ~(LargePage - 1);
    // Only a hint: without large pages the records simply take small ones.
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
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
