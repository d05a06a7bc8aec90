#include "editing/RecentFiles.h"

#include <algorithm>

namespace uzuviv {

namespace {

// Above every code point, so that an invalid byte never equals a character.
constexpr char32_t InvalidByteBase = 0x110000;

struct Decoded {
    char32_t Value;
    std::size_t Length;
};

// One character from the front of `text` (not empty); an invalid or overlong sequence yields
// its first byte alone, marked.
Decoded DecodeUtf8(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    }
    if (length == 0 || text.size() < length)
        return {InvalidByteBase + lead, 1};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u)
            return {InvalidByteBase + lead, 1};
        value = (value << 6) | (byte(i) & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {InvalidByteBase + lead, 1};
    return {value, length};
}

char32_t FoldCase(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c < 0xC0)
        return c;
    // À..Þ except the multiplication sign.
    if (c <= 0xDE)
        return c == 0xD7 ? c : c + 0x20;
    if (c == 0x178)   // Ÿ, whose small letter ÿ is in Latin-1
        return 0xFF;
    // Latin Extended-A pairs capital and small letter as even/odd, with a shift of one
    // between Ĺ and Ň. İ and ı (U+0130, U+0131) are no such pair.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) != 0 ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    return c;
}

} // namespace

void RecentFiles::Add(const std::string& path)
{
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const std::string& entry) {
        return SamePathIgnoringCase(entry, path);
    });
    if (same != entries_.end())
        entries_.erase(same);
    else if (entries_.size() >= MaxRecentFiles)
        entries_.erase(entries_.begin());
    entries_.push_back(path);
}

std::vector<RecentFiles::Slot> RecentFiles::Slots() const
{
    std::vector<Slot> slots;
    const std::size_t count = entries_.size();
    slots.reserve(count);
    for (std::size_t k = 1; k <= count; ++k) {
        const std::size_t position = count - k + 1;
        slots.push_back({std::to_string(k) + " " + entries_[position - 1], position});
    }
    return slots;
}

bool SamePathIgnoringCase(std::string_view a, std::string_view b)
{
    while (!a.empty() && !b.empty()) {
        const Decoded left = DecodeUtf8(a);
        const Decoded right = DecodeUtf8(b);
        if (FoldCase(left.Value) != FoldCase(right.Value))
            return false;
        a.remove_prefix(left.Length);
        b.remove_prefix(right.Length);
    }
    return a.empty() && b.empty();
}

} // namespace uzuviv
