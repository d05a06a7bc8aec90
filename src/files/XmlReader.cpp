#include "files/XmlReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <expat.h>

#include "files/Cp1252.h"
#include "files/FileFields.h"
#include "files/TextFile.h"
#include "model/NumberText.h"
#include "text/text.h"

namespace uzuviv {

namespace {

constexpr char NamespaceSeparator = '\x01';
constexpr std::size_t ChunkBytes = 256 * 1024;

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() { ::close(descriptor_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return descriptor_; }

private:
    int descriptor_;
};

struct ParserDeleter {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<XML_ParserStruct, ParserDeleter>;

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// Windows-1252 is not among expat's own encodings; its table gives every byte a character.
int XMLCALL UnknownEncoding(void*, const XML_Char* name, XML_Encoding* info)
{
    const std::string_view encoding(name);
    if (!EqualsIgnoringCase(encoding, "windows-1252") && !EqualsIgnoringCase(encoding, "cp1252")
        && !EqualsIgnoringCase(encoding, "x-cp1252"))
        return XML_STATUS_ERROR;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
        std::size_t pos = 0;
        info->map[byte] = static_cast<int>(NextUtf8Character(utf8, pos).value_or(U'?'));
    }
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

// Runs the handler between expat's C frames, which an exception must not cross: the first
// failure is kept, the parser stopped, and the failure thrown once expat has returned.
class Session {
public:
    Session(XML_Parser parser, XmlContentHandler& handler) : parser_(parser), handler_(handler) {}

    bool Failed() const { return failure_ || reason_; }
    bool ElementSeen() const { return elementSeen_; }
    std::exception_ptr Failure() const { return failure_; }
    const std::optional<std::string>& Reason() const { return reason_; }
    std::uint64_t Line() const { return line_; }
    std::uint64_t Column() const { return column_; }

    // Refuses the file at the parser's current position.
    void Refuse(const std::string& reason)
    {
        if (Failed())
            return;
        reason_ = reason;
        line_ = XML_GetCurrentLineNumber(parser_);
        column_ = XML_GetCurrentColumnNumber(parser_) + 1;
        XML_StopParser(parser_, XML_FALSE);
    }

    template <typename Call>
    void Guarded(Call call)
    {
        if (Failed())
            return;
        try {
            call();
        } catch (const XmlRefusal& refusal) {
            Refuse(refusal.what());
        } catch (...) {
            failure_ = std::current_exception();
            XML_StopParser(parser_, XML_FALSE);
        }
    }

    static void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        auto& session = *static_cast<Session*>(data);
        session.elementSeen_ = true;
        if (++session.depth_ > MaxXmlDepth) {
            session.Refuse(FillText(ExchangeTextOf(ExchangeText::NestedTooDeep),
                                    {std::to_string(MaxXmlDepth)}));
            return;
        }
        session.Guarded([&] {
            const XmlName split = SplitXmlName(name);
            session.handler_.StartElement(split.Uri, split.Local, attributes);
        });
    }

    static void XMLCALL End(void* data, const XML_Char*)
    {
        auto& session = *static_cast<Session*>(data);
        --session.depth_;
        session.Guarded([&] { session.handler_.EndElement(); });
    }

    static void XMLCALL Characters(void* data, const XML_Char* text, int length)
    {
        auto& session = *static_cast<Session*>(data);
        session.Guarded([&] {
            session.handler_.Text(std::string_view(text, static_cast<std::size_t>(length)));
        });
    }

    // An entity, internal or external, is never expanded: its declaration refuses the file,
    // which stops "billion laughs" and external entities alike before any use.
    static void XMLCALL EntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int,
                                          const XML_Char*, const XML_Char*, const XML_Char*,
                                          const XML_Char*)
    {
        auto& session = *static_cast<Session*>(data);
        session.Refuse(ExchangeTextOf(ExchangeText::EntityDeclaration));
    }

    // A reference to an entity declared nowhere the parser looked (an external DTD is never
    // read) would silently vanish from the text.
    static void XMLCALL SkippedEntity(void* data, const XML_Char*, int)
    {
        auto& session = *static_cast<Session*>(data);
        session.Refuse(FillText(ExchangeTextOf(ExchangeText::NotWellFormed),
                                {XML_ErrorString(XML_ERROR_UNDEFINED_ENTITY)}));
    }

private:
    XML_Parser parser_;
    XmlContentHandler& handler_;
    std::exception_ptr failure_;
    std::optional<std::string> reason_;
    std::uint64_t line_ = 0;
    std::uint64_t column_ = 0;
    int depth_ = 0;
    bool elementSeen_ = false;
};

std::string ExpatReason(XML_Error code, bool final, bool elementSeen)
{
    if (code == XML_ERROR_NO_ELEMENTS && !elementSeen)
        return ExchangeTextOf(ExchangeText::FileEmpty);
    if (final && (code == XML_ERROR_NO_ELEMENTS || code == XML_ERROR_UNCLOSED_TOKEN))
        return ExchangeTextOf(ExchangeText::FileEndsEarly);
    std::string_view text = XML_ErrorString(code) != nullptr ? XML_ErrorString(code) : "?";
    // "not well-formed (invalid token)": the frame says the first part already.
    constexpr std::string_view Redundant = "not well-formed (";
    if (text.starts_with(Redundant) && text.ends_with(')'))
        text = text.substr(Redundant.size(), text.size() - Redundant.size() - 1);
    return FillText(ExchangeTextOf(ExchangeText::NotWellFormed), {text});
}

[[noreturn]] void ThrowAt(ExchangeText frame, std::uint64_t line, std::uint64_t column,
                          const std::string& reason)
{
    throw ConversionError(FillText(ExchangeTextOf(frame),
                                   {std::to_string(line), std::to_string(column), reason}));
}

} // namespace

XmlName SplitXmlName(std::string_view expanded)
{
    const std::size_t separator = expanded.find(NamespaceSeparator);
    if (separator == std::string_view::npos)
        return {{}, expanded};
    return {expanded.substr(0, separator), expanded.substr(separator + 1)};
}

void ReadXmlFile(const std::string& path, XmlContentHandler& handler, ProgressSink& progress,
                 ExchangeText caption, ExchangeText frame)
{
    const Descriptor file(OpenFileForReading(path));
    struct stat info {};
    ::fstat(file.Get(), &info);
    const auto size = static_cast<std::int64_t>(info.st_size);

    const Parser parser(XML_ParserCreateNS(nullptr, NamespaceSeparator));
    if (!parser)
        throw std::bad_alloc();
    Session session(parser.get(), handler);
    XML_SetUserData(parser.get(), &session);
    XML_SetElementHandler(parser.get(), Session::Start, Session::End);
    XML_SetCharacterDataHandler(parser.get(), Session::Characters);
    XML_SetEntityDeclHandler(parser.get(), Session::EntityDeclaration);
    XML_SetSkippedEntityHandler(parser.get(), Session::SkippedEntity);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetUnknownEncodingHandler(parser.get(), UnknownEncoding, nullptr);

    ProgressScope scope(progress, TextTable::ExchangeTexts, static_cast<int>(caption));
    std::int64_t fed = 0;
    for (;;) {
        void* buffer = XML_GetBuffer(parser.get(), static_cast<int>(ChunkBytes));
        if (buffer == nullptr)
            throw std::bad_alloc();
        ssize_t count;
        do
            count = ::read(file.Get(), buffer, ChunkBytes);
        while (count < 0 && errno == EINTR);
        if (count < 0)
            throw InOutError(InOutCodeFromErrno(errno, path));
        fed += count;
        const bool final = count == 0;
        if (XML_ParseBuffer(parser.get(), static_cast<int>(count), final) != XML_STATUS_OK) {
            if (session.Failure())
                std::rethrow_exception(session.Failure());
            if (session.Reason())
                ThrowAt(frame, session.Line(), session.Column(), *session.Reason());
            ThrowAt(frame, XML_GetCurrentLineNumber(parser.get()),
                    XML_GetCurrentColumnNumber(parser.get()) + 1,
                    ExpatReason(XML_GetErrorCode(parser.get()), final, session.ElementSeen()));
        }
        if (final)
            break;
        // What expat has not parsed yet is one unfinished token, held whole in its buffer.
        const XML_Index parsed = XML_GetCurrentByteIndex(parser.get());
        if (parsed >= 0 && static_cast<std::uint64_t>(fed - parsed) > MaxXmlTokenBytes)
            ThrowAt(frame, XML_GetCurrentLineNumber(parser.get()),
                    XML_GetCurrentColumnNumber(parser.get()) + 1,
                    FillText(ExchangeTextOf(ExchangeText::TagTooLong),
                             {std::to_string(MaxXmlTokenBytes)}));
        if (size > 0)
            scope.Step(std::min(fed, size), size);
    }
    scope.Close();
}

} // namespace uzuviv
