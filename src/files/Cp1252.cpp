#include "files/Cp1252.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace uzuviv {

namespace {

// The characters of bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t ByteCharacter(unsigned byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : char32_t(byte);
}

struct Utf8Sequence {
    std::array<char, 3> Bytes{};
    std::uint8_t Length = 0;
};
static_assert(sizeof(Utf8Sequence) == 4 && offsetof(Utf8Sequence, Bytes) == 0);

constexpr Utf8Sequence EncodeUtf8(char32_t c)
{
    Utf8Sequence s;
    if (c < 0x80) {
        s.Bytes[0] = char(c);
        s.Length = 1;
    } else if (c < 0x800) {
        s.Bytes[0] = char(0xC0 | (c >> 6));
        s.Bytes[1] = char(0x80 | (c & 0x3F));
        s.Length = 2;
    } else {
        s.Bytes[0] = char(0xE0 | (c >> 12));
        s.Bytes[1] = char(0x80 | ((c >> 6) & 0x3F));
        s.Bytes[2] = char(0x80 | (c & 0x3F));
        s.Length = 3;
    }
    return s;
}

constexpr std::array<Utf8Sequence, 256> MakeDecodeTable()
{
    std::array<Utf8Sequence, 256> table{};
    for (unsigned b = 0; b < 256; ++b)
        table[b] = EncodeUtf8(ByteCharacter(b));
    return table;
}

constexpr std::array<Utf8Sequence, 256> DecodeTable = MakeDecodeTable();

std::optional<char> CharacterByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (unsigned i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == c)
            return char(0x80 + i);
    return std::nullopt;
}

// Decodes one character at `pos` and moves past it; an invalid sequence yields nothing and
// moves past its first byte only.
std::optional<char32_t> NextCharacter(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length;
    char32_t c;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (text.size() - pos < length) {
        ++pos;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += length;
    return c;
}

constexpr std::uint64_t Highs = 0x8080808080808080u;

std::uint64_t EightBytes(const char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

std::string DecodeByTable(std::string_view bytes)
{
    std::size_t length = 0;
    for (const char byte : bytes)
        length += DecodeTable[static_cast<unsigned char>(byte)].Length;
    std::string result(length, '\0');
    char* out = result.data();
    char* const end = out + length;
    for (const char byte : bytes) {
        const Utf8Sequence& s = DecodeTable[static_cast<unsigned char>(byte)];
        // Four bytes in one store where there is room; the bytes beyond the sequence are
        // overwritten by the next characters.
        if (end - out >= 4)
            std::memcpy(out, &s, sizeof s);
        else
            std::memcpy(out, s.Bytes.data(), s.Length);
        out += s.Length;
    }
    return result;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes)
{
    // A field of a line is short: decode it on the stack, then allocate once. One table step
    // per byte and no branch, which mixed accented text would mispredict.
    constexpr std::size_t ShortField = 256;
    if (bytes.size() > ShortField)
        return DecodeByTable(bytes);
    // Three bytes at most per byte, and room for the last four-byte store.
    char buffer[3 * ShortField + 4];
    char* out = buffer;
    for (const char byte : bytes) {
        const Utf8Sequence& sequence = DecodeTable[static_cast<unsigned char>(byte)];
        std::memcpy(out, &sequence, sizeof sequence);
        out += sequence.Length;
    }
    return std::string(buffer, static_cast<std::size_t>(out - buffer));
}

namespace {

// With BlankLineBreaks, CR and LF become blanks on the way.
template <bool BlankLineBreaks>
char* EncodeCp1252(char* out, std::string_view utf8)
{
    const char* const data = utf8.data();
    const std::size_t size = utf8.size();
    std::size_t pos = 0;
    while (pos < size) {
        // Copy sixteen or eight bytes and keep those before the first that needs a look: a high
        // byte or, when line breaks go, a control. Every character gives one byte, so the room
        // left is at least the input left.
#if defined(__SSE2__)
        if (pos + 16 <= size) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
            // As signed bytes the high ones are negative: one comparison finds them and the controls.
            const __m128i special = BlankLineBreaks ? _mm_cmplt_epi8(block, _mm_set1_epi8(0x20)) : block;
            const auto mask = static_cast<unsigned>(_mm_movemask_epi8(special));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
            const std::size_t plain = mask == 0 ? 16 : static_cast<std::size_t>(std::countr_zero(mask));
            out += plain;
            pos += plain;
            if (plain == 16)
                continue;
        } else
#endif
        if (pos + 8 <= size) {
            const std::uint64_t word = EightBytes(data + pos);
            std::uint64_t special = word & Highs;
            if constexpr (BlankLineBreaks)
                special |= (word - 0x2020202020202020u) & ~word & Highs;
            std::memcpy(out, data + pos, 8);
            const std::size_t plain = special == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(special)) / 8;
            out += plain;
            pos += plain;
            if (plain == 8)
                continue;
        }
        const unsigned char lead = static_cast<unsigned char>(data[pos]);
        if (lead < 0x80) {
            *out++ = BlankLineBreaks && (lead == '\r' || lead == '\n') ? ' ' : static_cast<char>(lead);
            ++pos;
            continue;
        }
        // The accented Latin letters U+00A0..U+00FF are their own byte.
        if ((lead == 0xC2 || lead == 0xC3) && pos + 1 < size) {
            const unsigned char next = static_cast<unsigned char>(data[pos + 1]);
            const unsigned character = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
            if ((next & 0xC0) == 0x80 && character >= 0xA0) {
                *out++ = static_cast<char>(character);
                pos += 2;
                continue;
            }
        }
        const std::optional<char32_t> c = NextCharacter(utf8, pos);
        const std::optional<char> byte = c ? CharacterByte(*c) : std::nullopt;
        *out++ = byte ? *byte : '?';
    }
    return out;
}

} // namespace

char* PutUtf8AsCp1252(char* out, std::string_view utf8)
{
    return EncodeCp1252<false>(out, utf8);
}

char* PutUtf8AsCp1252BlankingLineBreaks(char* out, std::string_view utf8)
{
    return EncodeCp1252<true>(out, utf8);
}

std::string Utf8ToCp1252(std::string_view utf8)
{
    std::string result(utf8.size(), '\0');
    result.resize(static_cast<std::size_t>(PutUtf8AsCp1252(result.data(), utf8) - result.data()));
    return result;
}

std::optional<char32_t> NextUtf8Character(std::string_view utf8, std::size_t& pos)
{
    return NextCharacter(utf8, pos);
}

bool FitsCp1252(char32_t character)
{
    return CharacterByte(character).has_value();
}

bool FitsCp1252(std::string_view utf8)
{
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::optional<char32_t> c = NextCharacter(utf8, pos);
        if (!c || !FitsCp1252(*c))
            return false;
    }
    return true;
}

std::string FieldText(std::string_view utf8, bool multiLine)
{
    std::string text;
    text.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const std::optional<char32_t> c = NextCharacter(utf8, pos);
        if (!c)
            continue;
        if (*c == U'\r' || *c == U'\n' || *c == 0x2028 || *c == 0x2029) {
            // CR LF is one line break.
            if (*c == U'\r' && pos < utf8.size() && utf8[pos] == '\n')
                ++pos;
            text += multiLine ? '\n' : ' ';
        } else if (FitsCp1252(*c)) {
            text.append(utf8.substr(start, pos - start));
        }
    }
    return text;
}

} // namespace uzuviv
