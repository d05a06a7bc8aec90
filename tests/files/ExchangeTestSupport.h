#pragma once

#include <expat.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/Cp1252.h"
#include "files/FileTestSupport.h"
#include "files/GpxFile.h"

namespace uzuviv::filetest {

// Every character a model text holds that GPX and KML can carry: tab and 0x20..0xFF of
// Windows-1252 (C1 characters of its undefined bytes included), as UTF-8.
inline std::string ExchangeableCharacters()
{
    std::string bytes = "\t";
    for (int b = 0x20; b < 0x100; ++b)
        bytes.push_back(static_cast<char>(b));
    return Cp1252ToUtf8(bytes);
}

// Reads a GPX file of these bytes into `project`; the failure's text, empty when read.
inline std::string ReadGpxBytes(const std::string& bytes, TProjectType& project)
{
    TempFolder folder;
    WriteBytes(folder / "in.gpx", bytes);
    RecordingProgress progress;
    try {
        ReadGpxFile(folder / "in.gpx", project, progress);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

// An element tree (local names) of what the writers or GPSBabel produced.
struct XmlElement {
    std::string Name, Text;
    std::vector<std::pair<std::string, std::string>> Attributes;
    std::vector<std::unique_ptr<XmlElement>> Children;

    std::vector<const XmlElement*> All(std::string_view name) const
    {
        std::vector<const XmlElement*> found;
        for (const auto& child : Children)
            if (child->Name == name)
                found.push_back(child.get());
        return found;
    }
    const XmlElement& operator[](std::string_view name) const
    {
        static const XmlElement missing{"<missing>", "<missing>", {}, {}};
        const auto found = All(name);
        return found.empty() ? missing : *found.front();
    }
    std::string Attribute(std::string_view name) const
    {
        for (const auto& [key, value] : Attributes)
            if (key == name)
                return value;
        return "<missing>";
    }
};

inline std::unique_ptr<XmlElement> ParseXml(const std::string& bytes)
{
    struct State {
        std::unique_ptr<XmlElement> Root;
        std::vector<XmlElement*> Open;
    } state;
    XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            auto& s = *static_cast<State*>(data);
            auto element = std::make_unique<XmlElement>();
            element->Name = std::strrchr(name, '|') ? std::strrchr(name, '|') + 1 : name;
            for (; *attributes != nullptr; attributes += 2)
                element->Attributes.emplace_back(attributes[0], attributes[1]);
            XmlElement* raw = element.get();
            (s.Open.empty() ? s.Root : s.Open.back()->Children.emplace_back()) = std::move(element);
            s.Open.push_back(raw);
        },
        [](void* data, const XML_Char*) { static_cast<State*>(data)->Open.pop_back(); });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
        static_cast<State*>(data)->Open.back()->Text.append(text, static_cast<std::size_t>(length));
    });
    const bool parsed = XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return parsed ? std::move(state.Root) : nullptr;
}

} // namespace uzuviv::filetest
