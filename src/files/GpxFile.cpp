#include "files/GpxFile.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "files/Exchange.h"
#include "files/FileFields.h"
#include "files/XmlReader.h"
#include "files/XmlText.h"
#include "model/NumberText.h"
#include "model/RoundTripText.h"
#include "text/text.h"

namespace uzuviv {

namespace {

constexpr std::string_view GpxNamespacePrefix = "http://www.topografix.com/GPX/";
constexpr std::string_view OwnNamespace = "http://www.ovra.example/xmlns/davuzuviv/1";

// ---------------------------------------------------------------------------------------
// Writing

void AppendProperty(std::string& xml, std::string_view indent, std::string_view name,
                    std::string_view value)
{
    xml += indent;
    AppendXmlElement(xml, name, value);
    xml += "\r\n";
}

std::string MetadataLines(const TProjectType& project)
{
    std::string xml = "  <metadata>\r\n";
    AppendProperty(xml, "    ", "name", project.ProjectName);
    AppendProperty(xml, "    ", "desc", project.Subject);
    xml += "    <author>";
    AppendXmlElement(xml, "name", project.Author);
    xml += "</author>\r\n    <copyright";
    AppendXmlAttribute(xml, "author", project.Copyright);
    xml += "/>\r\n    <extensions>\r\n";
    AppendProperty(xml, "      ", "uzuviv:customer", project.Customer);
    AppendProperty(xml, "      ", "uzuviv:creationDate", project.CreationDate);
    // Every line is an element of its own, so that none, one empty line and many all come back.
    xml += "      <uzuviv:comments>";
    if (!project.ProjectComments.empty()) {
        xml += "\r\n";
        for (const std::string& line : project.ProjectComments)
            AppendProperty(xml, "        ", "uzuviv:line", line);
        xml += "      ";
    }
    xml += "</uzuviv:comments>\r\n    </extensions>\r\n  </metadata>";
    return xml;
}

void AppendPoint(std::string& xml, const TGPSRecord& record)
{
    xml += "  <wpt lat=\"";
    AppendRoundTripText(xml, record.Latitude);
    xml += "\" lon=\"";
    AppendRoundTripText(xml, record.Longitude);
    xml += "\">";
    AppendXmlElement(xml, "name", record.Comments);
    xml += "<extensions><uzuviv:point tolerance=\"";
    AppendPaddedInteger(xml, record.Tolerance, 1);
    xml += "\" mode=\"";
    AppendPaddedInteger(xml, record.Mode, 1);
    xml += "\" file=\"";
    AppendPaddedInteger(xml, record.FileRef, 1);
    xml += "\"/></extensions></wpt>";
}

// ---------------------------------------------------------------------------------------
// Reading

// What an element means where it stands.
enum class Node : std::uint8_t {
    Other, Gpx, Metadata, ProjectName, ProjectDesc, ProjectAuthor, AuthorName, Copyright,
    PropertyExtensions, Customer, CreationDate, Comments, CommentLine,
    Route, Track, TrackSegment, Point, PointName, PointDesc, PointCmt, PointExtensions, PointData
};

bool HoldsText(Node node)
{
    switch (node) {
    case Node::ProjectName: case Node::ProjectDesc: case Node::ProjectAuthor: case Node::AuthorName:
    case Node::Customer: case Node::CreationDate: case Node::CommentLine:
    case Node::PointName: case Node::PointDesc: case Node::PointCmt:
        return true;
    default:
        return false;
    }
}

// A value quoted in a message: long values are cut.
std::string Quoted(std::string_view value)
{
    constexpr std::size_t Longest = 40;
    return value.size() <= Longest ? ImportedText(value)
                                   : ImportedText(value.substr(0, Longest)) + "...";
}

const char* Attribute(const char** attributes, const char* name)
{
    for (; attributes[0] != nullptr; attributes += 2)
        if (std::strcmp(name, attributes[0]) == 0)
            return attributes[1];
    return nullptr;
}

class GpxReader : public XmlContentHandler {
public:
    std::optional<std::string> Name, Subject, Author, Copyright, Customer, CreationDate;
    std::optional<std::vector<std::string>> Comments;
    std::vector<TGPSRecord> Records;

    void StartElement(std::string_view uri, std::string_view local, const char** attributes) override
    {
        const Node node = Classify(uri, local);
        stack_.push_back(node);
        if (HoldsText(node))
            text_.clear();
        switch (node) {
        case Node::Point:
            StartPoint(local, attributes);
            break;
        case Node::PointData:
            ReadPointData(attributes);
            break;
        case Node::AuthorName:
            authorHasName_ = true;
            break;
        case Node::ProjectAuthor:
            authorHasName_ = false;
            break;
        case Node::Copyright:
            if (const char* author = Attribute(attributes, "author"))
                Copyright = ImportedText(author);
            break;
        case Node::Comments:
            Comments.emplace();
            break;
        default:
            break;
        }
    }

    void EndElement() override
    {
        const Node node = stack_.back();
        stack_.pop_back();
        switch (node) {
        case Node::ProjectName: Name = ImportedText(text_); break;
        case Node::ProjectDesc: Subject = ImportedText(text_); break;
        case Node::AuthorName: Author = ImportedText(text_); break;
        // GPX 1.0 has the author's name as the element's text; 1.1 has it in <name>.
        case Node::ProjectAuthor:
            if (!authorHasName_)
                Author = ImportedText(text_);
            break;
        case Node::Customer: Customer = ImportedText(text_); break;
        case Node::CreationDate: CreationDate = ImportedText(text_); break;
        case Node::CommentLine:
            if (Comments)
                Comments->push_back(ImportedText(text_));
            break;
        // A point's comment is its name, else its description, else its comment.
        case Node::PointName: TakeComment(3); break;
        case Node::PointDesc: TakeComment(2); break;
        case Node::PointCmt: TakeComment(1); break;
        case Node::Point: Records.push_back(std::move(point_)); break;
        default: break;
        }
    }

    void Text(std::string_view text) override
    {
        if (!stack_.empty() && HoldsText(stack_.back()))
            text_.append(text);
    }

private:
    bool IsGpx(std::string_view uri) const
    {
        return uri.empty() || uri == rootUri_ || uri.starts_with(GpxNamespacePrefix);
    }

    Node Classify(std::string_view uri, std::string_view local)
    {
        if (stack_.empty()) {
            if (local != "gpx")
                throw XmlRefusal(FillText(ExchangeTextOf(ExchangeText::RootNotGpx), {Quoted(local)}));
            rootUri_ = uri;
            return Node::Gpx;
        }
        const Node parent = stack_.back();
        if (uri == OwnNamespace)
            return ClassifyOwn(parent, local);
        if (!IsGpx(uri))
            return Node::Other;
        switch (parent) {
        case Node::Gpx:
            if (local == "wpt") return Node::Point;
            if (local == "trk") return Node::Track;
            if (local == "rte") return Node::Route;
            if (local == "metadata") return Node::Metadata;
            if (local == "extensions") return Node::PropertyExtensions;
            [[fallthrough]];   // GPX 1.0 keeps the properties in <gpx> itself
        case Node::Metadata:
            if (local == "name") return Node::ProjectName;
            if (local == "desc") return Node::ProjectDesc;
            if (local == "author") return Node::ProjectAuthor;
            if (local == "copyright" && parent == Node::Metadata) return Node::Copyright;
            if (local == "extensions") return Node::PropertyExtensions;
            return Node::Other;
        case Node::ProjectAuthor:
            return local == "name" ? Node::AuthorName : Node::Other;
        case Node::Route:
            return local == "rtept" ? Node::Point : Node::Other;
        case Node::Track:
            return local == "trkseg" ? Node::TrackSegment : Node::Other;
        case Node::TrackSegment:
            return local == "trkpt" ? Node::Point : Node::Other;
        case Node::Point:
            if (local == "name") return Node::PointName;
            if (local == "desc") return Node::PointDesc;
            if (local == "cmt") return Node::PointCmt;
            if (local == "extensions") return Node::PointExtensions;
            return Node::Other;
        default:
            return Node::Other;
        }
    }

    // The program's own elements, inside <extensions> or (as GPX 1.0 has them) directly.
    static Node ClassifyOwn(Node parent, std::string_view local)
    {
        switch (parent) {
        case Node::Gpx:
        case Node::Metadata:
        case Node::PropertyExtensions:
            if (local == "customer") return Node::Customer;
            if (local == "creationDate") return Node::CreationDate;
            if (local == "comments") return Node::Comments;
            return Node::Other;
        case Node::Comments:
            return local == "line" ? Node::CommentLine : Node::Other;
        case Node::Point:
        case Node::PointExtensions:
            return local == "point" ? Node::PointData : Node::Other;
        default:
            return Node::Other;
        }
    }

    static Extended Coordinate(std::string_view element, const char** attributes, const char* name)
    {
        const char* value = Attribute(attributes, name);
        if (value == nullptr)
            throw XmlRefusal(FillText(ExchangeTextOf(ExchangeText::MissingAttribute),
                                      {element, name}));
        try {
            return ParseDecimal(value);
        } catch (const ConversionError&) {
            throw XmlRefusal(FillText(ExchangeTextOf(ExchangeText::NotANumber), {name, Quoted(value)}));
        }
    }

    void StartPoint(std::string_view local, const char** attributes)
    {
        point_ = TGPSRecord{};
        point_.Latitude = Coordinate(local, attributes, "lat");
        point_.Longitude = Coordinate(local, attributes, "lon");
        commentRank_ = 0;
    }

    void TakeComment(int rank)
    {
        if (rank > commentRank_) {
            point_.Comments = ImportedText(text_);
            commentRank_ = rank;
        }
    }

    void ReadPointData(const char** attributes)
    {
        const auto integer = [attributes](const char* name) -> std::optional<std::int32_t> {
            const char* value = Attribute(attributes, name);
            if (value == nullptr)
                return std::nullopt;
            try {
                return ParseInteger(value);
            } catch (const ConversionError&) {
                throw XmlRefusal(FillText(ExchangeTextOf(ExchangeText::NotANumber), {name, Quoted(value)}));
            }
        };
        if (const auto tolerance = integer("tolerance"))
            point_.Tolerance = Word(*tolerance);
        if (const auto mode = integer("mode"))
            point_.Mode = Byte(*mode);
        if (const auto file = integer("file"))
            point_.FileRef = Word(*file);
    }

    std::vector<Node> stack_;
    std::string rootUri_;
    std::string text_;
    bool authorHasName_ = false;
    TGPSRecord point_;
    int commentRank_ = 0;
};

} // namespace

void WriteGpxFile(const std::string& path, const TProjectType& project, ProgressSink& progress)
{
    CheckExportable(project, true);
    std::string head(XmlDeclaration);
    head += "\r\n<gpx version=\"1.1\" creator=\"OVRA DAV Uzuviv\" xmlns=\"http://www.topografix.com/GPX/1/1\" xmlns:uzuviv=\"";
    head += OwnNamespace;
    head += "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
            " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n";
    head += MetadataLines(project);
    WriteExchangeFile(path, project, progress, ExchangeText::ExportingGpx, head, "</gpx>", AppendPoint);
}

void ReadGpxFile(const std::string& path, TProjectType& project, ProgressSink& progress)
{
    GpxReader reader;
    ReadXmlFile(path, reader, progress, ExchangeText::ImportingGpx, ExchangeText::GpxPosition);

    const auto take = [](std::optional<std::string>& from, std::string& to) {
        if (from)
            to = std::move(*from);
    };
    take(reader.Name, project.ProjectName);
    take(reader.Subject, project.Subject);
    take(reader.Author, project.Author);
    take(reader.Copyright, project.Copyright);
    take(reader.Customer, project.Customer);
    take(reader.CreationDate, project.CreationDate);
    if (reader.Comments)
        project.ProjectComments = std::move(*reader.Comments);
    AppendRecords(project.Records, std::move(reader.Records));
}

} // namespace uzuviv
