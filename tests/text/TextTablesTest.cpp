#include "text/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace uzuviv {
namespace {

constexpr std::uint8_t French = 1, English = 2, Spanish = 3, German = 4, Italian = 5;

constexpr TextTable AllTables[] = {TextTable::AboutTexts, TextTable::FileMenuTexts,
    TextTable::EditMenuTexts, TextTable::OptionsMenuTexts, TextTable::LanguageMenuTexts,
    TextTable::HelpMenuTexts, TextTable::ProjectNameTexts, TextTable::MessageTexts,
    TextTable::ListTexts, TextTable::EditorPanelTexts, TextTable::PropertiesTexts,
    TextTable::ProgressTexts, TextTable::ButtonTexts, TextTable::ToolbarHintTexts,
    TextTable::PopupMenuTexts, TextTable::CheckTexts, TextTable::ExchangeTexts,
    TextTable::MapTexts};

class TextTablesTest : public ::testing::Test {
protected:
    void SetUp() override { savedLanguage = LanguageIndex; }
    void TearDown() override { LanguageIndex = savedLanguage; }

    static std::string TextIn(std::uint8_t language, TextTable table, int item)
    {
        LanguageIndex = language;
        return LanguageText(table, item);
    }

private:
    std::uint8_t savedLanguage = 2;
};

TEST_F(TextTablesTest, SampleItemsReadExactlyAsShipped)
{
    struct Case {
        TextTable table;
        std::uint8_t language;
        int item;
        const char* expected;
    };
    const Case cases[] = {
        {TextTable::AboutTexts, French, 1, "A propos de OVRA DAV Uzuviv"},
        {TextTable::AboutTexts, German, 1, "Über OVRA DAV Uzuviv"},
        {TextTable::AboutTexts, Italian, 1, "Informazioni sul Software \"DAV Uzuviv\" della OVRA"},
        {TextTable::AboutTexts, Spanish, 3, "Versión V1.0"},
        {TextTable::AboutTexts, French, 4, "www.ovra.example"},
        {TextTable::AboutTexts, Italian, 4, "www.ovra.example"},
        {TextTable::FileMenuTexts, English, 1, "&File"},
        {TextTable::FileMenuTexts, French, 3, "&Propriétés du Projet..."},
        {TextTable::FileMenuTexts, Spanish, 3, "Propiedades de Proyecto"},
        {TextTable::FileMenuTexts, German, 3, "Projekteingeschaften..."},
        {TextTable::FileMenuTexts, German, 4, "Öffnen"},
        {TextTable::FileMenuTexts, English, 7, "E&xit"},
        {TextTable::FileMenuTexts, Italian, 10, "Print..."},
        {TextTable::EditMenuTexts, Italian, 1, "Modifica"},
        {TextTable::EditMenuTexts, French, 7, "Sélectionner &Tout"},
        {TextTable::EditMenuTexts, Italian, 7, "Select &All"},
        {TextTable::EditMenuTexts, German, 6, "Einfügen"},
        {TextTable::EditMenuTexts, Spanish, 8, "Undo"},
        {TextTable::OptionsMenuTexts, Spanish, 1, "&Options"},
        {TextTable::OptionsMenuTexts, German, 1, "Möglichkeiten"},
        {TextTable::OptionsMenuTexts, Italian, 1, "Opzioni"},
        {TextTable::LanguageMenuTexts, Italian, 1, "&Lingua"},
        {TextTable::LanguageMenuTexts, German, 2, "English"},
        {TextTable::LanguageMenuTexts, French, 3, "&Français"},
        {TextTable::LanguageMenuTexts, English, 4, "E&spañol"},
        {TextTable::HelpMenuTexts, Spanish, 1, "A&yuda"},
        {TextTable::HelpMenuTexts, Italian, 1, "Aiuto"},
        {TextTable::HelpMenuTexts, French, 4, "Page d'&accueil de OVRA"},
        {TextTable::HelpMenuTexts, English, 5, "&Send Email to OVRA's Technical Support"},
        {TextTable::ProjectNameTexts, English, 1, "New Project"},
        {TextTable::ProjectNameTexts, French, 2, "Projet Importé"},
        {TextTable::MessageTexts, French, 1,
            "Le projet actuel a été modifié. Voulez-vous sauvegarder ces changements?"},
        {TextTable::MessageTexts, Spanish, 1,
            "El proyecto actual has sido modificado. ¿Desea guardar los cambios?"},
        {TextTable::MessageTexts, Italian, 1,
            "The current project has been modified. Do you want to save these changes?"},
        {TextTable::MessageTexts, French, 6, "Référence de Fichier incorrecte!"},
        {TextTable::MessageTexts, English, 7,
            "The Windows Clipboard does not contain usefull data!"},
        {TextTable::ListTexts, French, 1, "N°"},
        {TextTable::ListTexts, French, 4, "Tolérance"},
        {TextTable::ListTexts, German, 7, "Comments"},
        {TextTable::ListTexts, Italian, 10, "Free Tour"},
        {TextTable::EditorPanelTexts, English, 6, "Comments"},
        {TextTable::EditorPanelTexts, French, 6, "Commentaires :"},
        {TextTable::EditorPanelTexts, French, 11, "de +90 à -90 degrées"},
        {TextTable::EditorPanelTexts, French, 15, "Secondes.d :"},
        {TextTable::EditorPanelTexts, Spanish, 15, "Secondes.d:"},
        {TextTable::EditorPanelTexts, French, 18, "Minutes.d:"},
        {TextTable::EditorPanelTexts, Italian, 19, "Free Tour"},
        {TextTable::PropertiesTexts, Italian, 1, "Proprietà del Progetto:"},
        {TextTable::PropertiesTexts, German, 2, " Projektname : "},
        {TextTable::PropertiesTexts, German, 3, " Thema : "},
        {TextTable::PropertiesTexts, German, 4, " Autor : "},
        {TextTable::PropertiesTexts, German, 7, " Erzeugungsdatum : "},
        {TextTable::PropertiesTexts, Spanish, 7, " Fecha de Creación:"},
        {TextTable::PropertiesTexts, English, 2, " Name of Project :"},
        {TextTable::ProgressTexts, English, 4, "Unkown project file version!"},
        {TextTable::ProgressTexts, Italian, 4, "Unkown project file version!"},
        {TextTable::ProgressTexts, French, 6, "Création du fichier GPS..."},
        {TextTable::ProgressTexts, Spanish, 2, "Esta versión de Archivo Proyecto"},
        {TextTable::ButtonTexts, Italian, 1, "Ok"},
        {TextTable::ButtonTexts, German, 2, "Abbruch"},
        {TextTable::ToolbarHintTexts, French, 2, "Supprimer le(s) point(s) GPS sélectionnés"},
        {TextTable::ToolbarHintTexts, German, 8, "Speichern aktuelles Projekt"},
        {TextTable::ToolbarHintTexts, French, 10, "Défaire l'édition précédente"},
        {TextTable::PopupMenuTexts, Spanish, 2, "Cortar"},
        {TextTable::PopupMenuTexts, Italian, 5, "Show in Google Maps"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextIn(c.language, c.table, c.item), c.expected)
            << "table " << static_cast<int>(c.table) << ", language " << int{c.language}
            << ", item " << c.item;
    }
}

TEST_F(TextTablesTest, IncompatibleVersionMessageJoinsItemsTwoAndThree)
{
    struct Case {
        std::uint8_t language;
        const char* expected;
    };
    const Case cases[] = {
        {English, "This project file version 2.0.0 is not compatible with your current version "
                  "of program!"},
        {French, "Cette version de fichier projet 2.0.0 n'est pas compatible avec la version "
                 "actuelle du programme!"},
        // The Spanish start has no trailing blank, so the version runs into it.
        {Spanish, "Esta versión de Archivo Proyecto2.0.0 no es compatible con la versión actual "
                  "de este programa"},
    };
    for (const Case& c : cases) {
        LanguageIndex = c.language;
        EXPECT_EQ(LanguageText(TextTable::ProgressTexts, 2) + "2.0.0"
                      + LanguageText(TextTable::ProgressTexts, 3),
            c.expected);
    }
}

TEST_F(TextTablesTest, ItemCountsPerLanguage)
{
    struct Case {
        TextTable table;
        int count;
    };
    const Case cases[] = {{TextTable::AboutTexts, 4}, {TextTable::FileMenuTexts, 13},
        {TextTable::EditMenuTexts, 11}, {TextTable::OptionsMenuTexts, 3},
        {TextTable::LanguageMenuTexts, 6}, {TextTable::HelpMenuTexts, 5},
        {TextTable::ProjectNameTexts, 2}, {TextTable::MessageTexts, 8},
        {TextTable::ListTexts, 10}, {TextTable::EditorPanelTexts, 19},
        {TextTable::PropertiesTexts, 8}, {TextTable::ProgressTexts, 6},
        {TextTable::ButtonTexts, 2}, {TextTable::ToolbarHintTexts, 11},
        {TextTable::PopupMenuTexts, 5}, {TextTable::CheckTexts, 8}, {TextTable::ExchangeTexts, 30},
        {TextTable::MapTexts, 15}};
    for (const Case& c : cases)
        EXPECT_EQ(TableItemCount(c.table), c.count) << static_cast<int>(c.table);
}

// The first and last entry of every language group sit at the edges of the language-major
// layout, where an off-by-one in the position would show first.
TEST_F(TextTablesTest, LookupFindsGroupEdges)
{
    struct Case {
        TextTable table;
        std::uint8_t language;
        int item;
        const char* expected;
    };
    const Case cases[] = {
        {TextTable::FileMenuTexts, French, 1, "&Fichier"},
        {TextTable::FileMenuTexts, French, 10, "Imprimer..."},
        {TextTable::FileMenuTexts, English, 1, "&File"},
        {TextTable::FileMenuTexts, Spanish, 1, "Archivo"},
        {TextTable::FileMenuTexts, Spanish, 10, "Print..."},
        {TextTable::FileMenuTexts, German, 1, "Datei"},
        {TextTable::FileMenuTexts, Italian, 1, "File"},
        {TextTable::OptionsMenuTexts, French, 1, "&Options"},
        {TextTable::OptionsMenuTexts, Italian, 1, "Opzioni"},
        {TextTable::ButtonTexts, French, 2, "Annuler"},
        {TextTable::ButtonTexts, English, 1, "OK"},
        {TextTable::ButtonTexts, Italian, 2, "Cancella"},
        {TextTable::EditorPanelTexts, German, 1, "Latitude:"},
        {TextTable::EditorPanelTexts, Italian, 19, "Free Tour"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextIn(c.language, c.table, c.item), c.expected)
            << "table " << static_cast<int>(c.table) << ", language " << int{c.language}
            << ", item " << c.item;
    }
}

TEST_F(TextTablesTest, OutOfRangeLookupsStayInBounds)
{
    LanguageIndex = French;
    EXPECT_EQ(LanguageText(TextTable::FileMenuTexts, 0), "");
    EXPECT_EQ(LanguageText(TextTable::FileMenuTexts, 14), "");
    EXPECT_EQ(LanguageText(TextTable::FileMenuTexts, -1), "");
    // The French group's successor must not leak through the item number.
    EXPECT_EQ(LanguageText(TextTable::OptionsMenuTexts, 4), "");

    for (std::uint8_t badLanguage : {std::uint8_t{0}, std::uint8_t{6}, std::uint8_t{255}}) {
        LanguageIndex = badLanguage;
        EXPECT_EQ(LanguageText(TextTable::FileMenuTexts, 1), "&File") << int{badLanguage};
        EXPECT_EQ(LanguageText(TextTable::PopupMenuTexts, 5), "Show in Google Maps")
            << int{badLanguage};
    }
}

// Decodes one UTF-8 sequence at text[pos]; returns the code point and advances pos, or
// returns -1 for a malformed or overlong sequence.
long DecodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length = 0;
    if (lead < 0x80)
        length = 1;
    else if ((lead & 0xE0) == 0xC0)
        length = 2;
    else if ((lead & 0xF0) == 0xE0)
        length = 3;
    else if ((lead & 0xF8) == 0xF0)
        length = 4;
    if (length == 0 || pos + length > text.size())
        return -1;
    long codePoint = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return -1;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    constexpr long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length])
        return -1;
    pos += length;
    return codePoint;
}

TEST_F(TextTablesTest, EveryEntryIsPrintableWindows1252Text)
{
    const std::u32string allowed = U"°¿";
    for (TextTable table : AllTables) {
        for (std::uint8_t language = French; language <= Italian; ++language) {
            for (int item = 1; item <= TableItemCount(table); ++item) {
                const std::string text = TextIn(language, table, item);
                SCOPED_TRACE(::testing::Message() << "table " << static_cast<int>(table)
                                                  << ", language " << int{language}
                                                  << ", item " << item << ": " << text);
                EXPECT_FALSE(text.empty());
                for (std::size_t pos = 0; pos < text.size();) {
                    const long codePoint = DecodeUtf8(text, pos);
                    ASSERT_NE(codePoint, -1) << "malformed UTF-8";
                    const bool printableAscii = codePoint >= 0x20 && codePoint < 0x7F;
                    const bool latinLetter = codePoint >= 0xC0 && codePoint <= 0xFF
                        && codePoint != 0xD7 && codePoint != 0xF7;
                    EXPECT_TRUE(printableAscii || latinLetter
                        || allowed.find(static_cast<char32_t>(codePoint)) != std::u32string::npos)
                        << "U+" << std::hex << codePoint;
                }
            }
        }
    }
}

} // namespace
} // namespace uzuviv
