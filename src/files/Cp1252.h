#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace uzuviv {

// Windows-1252 <-> UTF-8. Every byte has a character: the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same value, so
// any file decodes and encodes back byte for byte.
std::string Cp1252ToUtf8(std::string_view bytes);

// A character the code page cannot hold, and each byte of invalid UTF-8, becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);
// The same bytes written at `out`, which has room for utf8.size() bytes; returns the end.
char* PutUtf8AsCp1252(char* out, std::string_view utf8);
// The same, with every CR and LF turned into a blank.
char* PutUtf8AsCp1252BlankingLineBreaks(char* out, std::string_view utf8);

bool FitsCp1252(char32_t character);

// Decodes the UTF-8 character at `pos` and moves past it; an invalid sequence gives nothing
// and moves past its first byte only.
std::optional<char32_t> NextUtf8Character(std::string_view utf8, std::size_t& pos);
// True when the text is valid UTF-8 and every character fits.
bool FitsCp1252(std::string_view utf8);

// What a one-line text field may hold: line breaks become blanks (or stay, with `multiLine`, as
// LF), characters the code page cannot hold and invalid bytes are dropped.
std::string FieldText(std::string_view utf8, bool multiLine = false);

} // namespace uzuviv
