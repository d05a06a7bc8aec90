#include "Generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "files/Cp1252.h"

namespace uzuviv::bench {

namespace {

// SplitMix64: small, fast and the same everywhere (the standard distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. bound-1
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }
    std::int64_t Between(std::int64_t low, std::int64_t high)
    {
        return low + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(high - low + 1)));
    }

private:
    std::uint64_t state_;
};

struct Town {
    std::int64_t Latitude, Longitude;   // micro-degrees
};

// Both hemispheres and both sides of Greenwich, so signs vary.
constexpr std::array<Town, 14> Towns{{
    {48856613, 2352222},     // Paris
    {45764043, 4835659},     // Lyon
    {45923697, 6869433},     // Chamonix
    {41385064, 2173404},     // Barcelona
    {43769562, 11255814},    // Firenze
    {48137154, 11576124},    // München
    {50850346, 4351721},     // Bruxelles
    {46204391, 6143158},     // Genève
    {37389092, -5984459},    // Sevilla
    {47218371, -1553621},    // Nantes
    {43212161, 2353663},     // Carcassonne
    {31629472, -7981084},    // Marrakech
    {46813878, -71207981},   // Québec
    {-34603684, -58381559},  // Buenos Aires
}};

constexpr std::array<std::uint16_t, 16> Tolerances{0,  5,   10,  15,  20,  25,  30,  40,
                                                   50, 75,  100, 150, 200, 300, 500, 1000};

constexpr std::array<std::string_view, 56> Words{
    "Église", "Château", "porte", "nord", "sud", "fontaine", "Rue", "de", "la", "du",
    "Cathédrale", "Notre-Dame", "Straße", "Brücke", "Kirche", "Plaza", "Mayor", "señal",
    "mirador", "Piazza", "Duomo", "città", "caffè", "rivière", "pont", "Musée", "entrée", "à",
    "gauche", "droite", "Tour", "n°", "façade", "Königsplatz", "Größe", "Weg", "año", "Niño",
    "crème", "forêt", "Œuvre", "l'été", "Zürich", "piétons", "arrêt", "bus", "(voir plan)",
    "5 €", "« halte »", "–", "vue", "sur", "le", "lac", "Señor", "Glockenspiel"};

std::size_t CharacterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char byte : utf8)
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string Comment(Random& random)
{
    const std::uint64_t kind = random.Below(100);
    if (kind < 5)
        return "...";   // the default a point gets when added
    if (kind < 10)
        return {};
    const std::size_t limit = static_cast<std::size_t>(random.Between(1, 60));
    std::string text;
    std::size_t characters = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        const std::string_view word = Words[random.Below(Words.size())];
        const std::size_t added = CharacterCount(word) + (text.empty() ? 0 : 1);
        if (characters + added > limit)
            continue;
        if (!text.empty())
            text += ' ';
        text += word;
        characters += added;
    }
    return text;
}

void AppendMicroDegrees(std::string& line, Extended value)
{
    const long long micro = std::llround(static_cast<long double>(value) * 1'000'000.0L);
    const unsigned long long magnitude = static_cast<unsigned long long>(micro < 0 ? -micro : micro);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%llu.%06llu", micro < 0 ? "-" : "",
                  magnitude / 1'000'000ULL, magnitude % 1'000'000ULL);
    line += buffer;
}

} // namespace

TProjectType GenerateProject(std::size_t count, std::uint64_t seed)
{
    Random random(seed);
    TProjectType project;
    project.ProjectName = "Visite guidée " + std::to_string(count);
    project.Subject = "Châteaux, églises et fontaines";
    project.Author = "Équipe des guides";
    project.Copyright = "(c) OVRA";
    project.Customer = "Office de tourisme";
    project.CreationDate = "2024-05-01";
    project.ProjectComments = {"Parcours à pied, environ 3 h.", "Départ devant l'Hôtel de Ville.",
                               "..."};
    project.Records.reserve(count);

    std::int64_t latitude = 0, longitude = 0;
    std::size_t tourLeft = 0;
    std::uint16_t fileRef = 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (tourLeft == 0) {
            const Town& town = Towns[random.Below(Towns.size())];
            latitude = town.Latitude + random.Between(-20000, 20000);
            longitude = town.Longitude + random.Between(-20000, 20000);
            tourLeft = static_cast<std::size_t>(random.Between(20, 400));
            fileRef = static_cast<std::uint16_t>(random.Between(1, 999));
        }
        --tourLeft;
        // About 300 m between points.
        latitude = std::clamp<std::int64_t>(latitude + random.Between(-3000, 3000), -90'000'000,
                                            90'000'000);
        longitude = std::clamp<std::int64_t>(longitude + random.Between(-4000, 4000),
                                             -180'000'000, 180'000'000);

        TGPSRecord record;
        record.Latitude = static_cast<Extended>(latitude) / 1'000'000.0L;
        record.Longitude = static_cast<Extended>(longitude) / 1'000'000.0L;
        record.Tolerance = Tolerances[random.Below(Tolerances.size())];
        const std::uint64_t mode = random.Below(10);
        record.Mode = static_cast<std::uint8_t>(mode < 7 ? 1 : mode < 9 ? 2 : 3);
        record.FileRef = fileRef;
        fileRef = static_cast<std::uint16_t>(fileRef % 999 + 1);
        record.Comments = Comment(random);
        project.Records.push_back(std::move(record));
    }
    return project;
}

std::string GPSFileText(const TProjectType& project)
{
    std::string text = "Num;Latitude(D.d);Longitude(D.d);Tolerance;Mode;File;Comments...\r\n";
    text.reserve(text.size() + project.Records.size() * 64);
    std::string line;
    std::size_t number = 0;
    for (const TGPSRecord& record : project.Records) {
        line = std::to_string(++number);
        line += ';';
        AppendMicroDegrees(line, record.Latitude);
        line += ';';
        AppendMicroDegrees(line, record.Longitude);
        char fields[48];
        std::snprintf(fields, sizeof fields, ";%u;%u;%03u;", unsigned{record.Tolerance},
                      unsigned{record.Mode}, unsigned{record.FileRef});
        line += fields;
        line += Utf8ToCp1252(record.Comments);
        line += "\r\n";
        text += line;
    }
    return text;
}

} // namespace uzuviv::bench
