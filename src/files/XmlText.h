#pragma once

#include <string>
#include <string_view>

namespace uzuviv {

// Building XML 1.0 text (UTF-8) for the exchange files, with the escaping every reader needs.

constexpr std::string_view XmlDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

// Element content: "&", "<" and ">" (so that "]]>" never appears) become references.
void AppendXmlText(std::string& xml, std::string_view utf8);
// An attribute value in double quotes: also '"', and tab, LF and CR as character references,
// which a reader's attribute-value normalisation would otherwise turn into blanks.
void AppendXmlAttribute(std::string& xml, std::string_view utf8);
// <name>text</name>, also when the text is empty.
void AppendXmlElement(std::string& xml, std::string_view name, std::string_view utf8);
// ` name="value"`
void AppendXmlAttribute(std::string& xml, std::string_view name, std::string_view utf8);

} // namespace uzuviv
