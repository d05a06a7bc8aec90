#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "files/Exchange.h"
#include "files/ProgressSink.h"

namespace uzuviv {

// What an XML file's content means is decided by a handler; ReadXmlFile streams the file
// through expat and calls it, holding no tree. Names come split into their namespace (empty
// when there is none) and local part.
class XmlContentHandler {
public:
    virtual ~XmlContentHandler() = default;
    // `attributes` are name/value pairs ended by a null name; each name is "uri\x01local" or
    // "local" (XmlName splits it).
    virtual void StartElement(std::string_view uri, std::string_view local, const char** attributes) = 0;
    virtual void EndElement() = 0;
    // Character data of the innermost element, possibly in several pieces.
    virtual void Text(std::string_view text) = 0;
};

// The namespace and local part of an expanded name as the handler receives it.
struct XmlName {
    std::string_view Uri;
    std::string_view Local;
};
XmlName SplitXmlName(std::string_view expanded);

// Thrown by a handler to refuse the file at the element or text being handled; `Reason` is the
// text shown after the position.
class XmlRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Limits for files from anywhere.
constexpr int MaxXmlDepth = 256;
// A start tag (with its attributes), a comment or a declaration is held whole while it is
// read; the text between tags is not, and has no limit here.
constexpr std::size_t MaxXmlTokenBytes = 16u << 20;

// Reads the file at `path` through `handler`, showing the progress window with `caption` by
// the share of bytes read. Any encoding expat reads (UTF-8, UTF-16 with or without byte-order
// mark, ISO-8859-1, US-ASCII) and Windows-1252 are accepted. Entity declarations are refused
// (nothing is ever expanded or fetched), as are nesting deeper than MaxXmlDepth and tokens
// longer than MaxXmlTokenBytes. Throws InOutError for the file system, and ConversionError
// for the content: ExchangeText `frame` filled with the line, the column (both from 1) and
// the reason.
void ReadXmlFile(const std::string& path, XmlContentHandler& handler, ProgressSink& progress,
                 ExchangeText caption, ExchangeText frame);

} // namespace uzuviv
