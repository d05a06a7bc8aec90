#include <gtest/gtest.h>

#include "editing/FakeView.h"
#include "editing/PointCommands.h"
#include "editing/WebLinks.h"
#include "editing/PanelLogic.h"
#include "text/text.h"

namespace uzuviv {
namespace {

using testing::FakeView;

TEST(WebLinksTest, MapUrlCarriesThePointTwiceAndTheLanguage)
{
    TGPSRecord point;
    point.Latitude = 45.5L;
    point.Longitude = -0.25L;
    const std::string path = "/maps?ll=45.5,-0.25&spn=0.005,0.005&q=45.5,-0.25";
    const struct { int language; const char* suffix; } cases[] = {
        {1, "&hl=fr"}, {2, ""}, {3, "&hl=es"}, {4, "&hl=de"}, {5, "&hl=it"}};
    for (const auto& c : cases)
        EXPECT_EQ(GoogleMapsUrl(point, c.language), "https://maps.google.com" + path + c.suffix);
    point.Latitude = 0.00005L;
    point.Longitude = 12.345678901234567L;
    EXPECT_EQ(GoogleMapsUrl(point, 2),
              "https://maps.google.com/maps?ll=5E-5,12.3456789012346&spn=0.005,0.005&q=5E-5,12.3456789012346");
    EXPECT_EQ(SupportMailLink(),
              "mailto:support@ovra.example?subject=Subject : OVRA Support Request&body=");
    EXPECT_EQ(HomePageUrl().substr(0, 8), "https://");
    EXPECT_EQ(HomePageUrl().back(), '/');
}

TEST(WebLinksTest, MapTextSidesKeepOnlyStandaloneHemisphereLetters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"45.764043", "45.764043"}, {" 4.835659", "4.835659"}, {"S33.86", "-33.86"},
        {"E151.21", "151.21"},      {"45.5S", "45.5-"},        {"4.83,15z", "4.83.15"},
        {"N45.5 W0.25", "45.5-0.25"},
        // Blanks and degree or minute marks may stand between the letter and its number.
        {"S 33.86", "-33.86"},      {"33.86 s", "33.86-"},     {"45\xC2\xB0" "30'S", "4530-"},
        {"45.5\xC2\xB0 W", "45.5-"},
        // Inside a word, or far from any number, a letter is no hemisphere.
        {"Paris 48.85", "48.85"},   {"Kansas 38.5", "38.5"},   {"Wien 48.2", "48.2"},
        {"S\xC3\xA8te 43.4", "43.4"}, {"Gare S\xC3\xBC" "d 7", "7"}, {"Route W", ""},
        {"W", ""},                  {"", ""},
    };
    for (const auto& [side, expected] : cases)
        EXPECT_EQ(MapCoordinateText(side), expected) << side;
}

class MapTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LanguageIndex = 2;
        view.SelectionChanged = [this]() { points.ListView1SelectItem(); };
        document.ResetProject();
        document.CurrentProject()->Records.resize(1);
    }

    Document document;
    FakeView view;
    PointCommands points{document, view, view};
};

TEST_F(MapTextTest, ClipboardTextsBecomePointsInEveryDisplayMode)
{
    const std::string useless = "The Windows Clipboard does not contain usefull data!";
    struct Case {
        std::optional<std::string> clipboard;
        bool added;
        Extended latitude, longitude;
        const char* comment;
        const char* message;
    };
    const Case cases[] = {
        {"45.764043, 4.835659", true, 45.764043L, 4.835659L, "...", nullptr},
        {"Home@45.764043,4.835659", true, 45.764043L, 4.835659L, "Home", nullptr},
        {"@1,2", true, 1, 2, "", nullptr},
        {"Gare\r\nPart-Dieu@1,2", true, 1, 2, "Gare Part-Dieu", nullptr},
        {"S33.86,E151.21", true, -33.86L, 151.21L, "...", nullptr},
        {"45.5S,0.25", true, 0, 0.25L, "...", "Wrong Latitude value!"},
        {"45.76,4.83,15z", true, 45.76L, 0, "...", "Wrong Longitude value!"},
        // A letter inside a word is no hemisphere: the "s" of Paris, the "S" of Sète.
        {"Paris 48.85,2.35", true, 48.85L, 2.35L, "...", nullptr},
        {"Sète 43.4, W 3.7", true, 43.4L, -3.7L, "...", nullptr},
        {"N45.5 W0.25", false, 0, 0, nullptr, "The Windows Clipboard does not contain usefull data!"},
        {"Home@ ,4", false, 0, 0, nullptr, "The Windows Clipboard does not contain usefull data!"},
        {std::nullopt, false, 0, 0, nullptr, "The Windows Clipboard does not contain usefull data!"},
    };
    for (int mode = 1; mode <= 4; ++mode) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " " << c.clipboard.value_or("(none)"));
            points.SwitchDisplayMode(mode);
            document.CurrentProject()->Records.resize(1);
            view.Messages.clear();
            view.Clipboard = c.clipboard;
            points.NewGPSFromGoogleMapsClipboard1Click();
            auto& records = document.CurrentProject()->Records;
            ASSERT_EQ(records.size(), c.added ? 2u : 1u);
            EXPECT_EQ(points.DisplayMode(), mode);
            if (c.message) {
                ASSERT_EQ(view.Messages.size(), 1u);
                EXPECT_EQ(view.Messages[0].Text, c.message);
            } else {
                EXPECT_TRUE(view.Messages.empty());
            }
            if (!c.added)
                continue;
            EXPECT_EQ(records[1].Latitude, c.latitude);
            EXPECT_EQ(records[1].Longitude, c.longitude);
            EXPECT_EQ(records[1].Comments, c.comment);
            EXPECT_EQ(records[1].Tolerance, 0);
            EXPECT_EQ(records[1].FileRef, 1);
            EXPECT_EQ(records[1].Mode, 1);
            // The panel ends showing the new point laid out for the restored mode.
            EXPECT_EQ(view.Panel, LoadPanel(records[1], mode));
        }
    }
}

TEST_F(MapTextTest, ShowInGoogleMapsOpensTheRightClickedRow)
{
    auto& records = document.CurrentProject()->Records;
    records.resize(2);
    records[1].Latitude = 45.5L;
    view.Selected = RowSelection::Single(0);
    points.ShowInGoogleMap1Click(1);
    points.ShowInGoogleMap1Click(std::nullopt);
    points.ShowInGoogleMap1Click(7);
    ASSERT_EQ(view.OpenedUrls.size(), 1u);
    EXPECT_NE(view.OpenedUrls[0].find("ll=45.5,0&"), std::string::npos);
}

} // namespace
} // namespace uzuviv
