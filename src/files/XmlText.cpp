#include "files/XmlText.h"

#include "files/TextFile.h"

namespace uzuviv {

namespace {

std::string_view Reference(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\t': return "&#9;";
    case '\n': return "&#10;";
    case '\r': return "&#13;";
    default: return {};
    }
}

// Copies runs without a special byte whole: most texts have none.
template <char... Special>
void AppendEscaped(std::string& xml, std::string_view utf8)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = FindAnyByte<Special...>(utf8, start);
        xml.append(utf8.substr(start, at - start));
        if (at == utf8.size())
            return;
        xml.append(Reference(utf8[at]));
        start = at + 1;
    }
}

} // namespace

void AppendXmlText(std::string& xml, std::string_view utf8)
{
    AppendEscaped<'&', '<', '>'>(xml, utf8);
}

void AppendXmlAttribute(std::string& xml, std::string_view utf8)
{
    AppendEscaped<'&', '<', '>', '"', '\t', '\n', '\r'>(xml, utf8);
}

void AppendXmlElement(std::string& xml, std::string_view name, std::string_view utf8)
{
    xml += '<';
    xml += name;
    xml += '>';
    AppendXmlText(xml, utf8);
    xml += "</";
    xml += name;
    xml += '>';
}

void AppendXmlAttribute(std::string& xml, std::string_view name, std::string_view utf8)
{
    xml += ' ';
    xml += name;
    xml += "=\"";
    AppendXmlAttribute(xml, utf8);
    xml += '"';
}

} // namespace uzuviv
