#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/RecentFiles.h"

namespace uzuviv {
namespace {

using Paths = std::vector<std::string>;

RecentFiles Opened(const Paths& paths)
{
    RecentFiles recent;
    for (const std::string& path : paths)
        recent.Add(path);
    return recent;
}

std::vector<std::string> Captions(const RecentFiles& recent)
{
    std::vector<std::string> captions;
    for (const RecentFiles::Slot& slot : recent.Slots()) {
        captions.push_back(slot.Caption);
        // A slot must open the file its caption names.
        EXPECT_EQ(slot.Caption.substr(slot.Caption.find(' ') + 1), recent.Entries().at(slot.Position - 1));
    }
    return captions;
}

TEST(RecentFiles, OpeningOrder)
{
    struct Case {
        std::string name;
        Paths opened;
        Paths entries;
    };
    const std::vector<Case> cases = {
        {"none", {}, {}},
        {"six push out the first", {"/A", "/B", "/C", "/D", "/E", "/F"}, {"/B", "/C", "/D", "/E", "/F"}},
        {"reopening moves to the end", {"/A", "/B", "/C", "/D", "/E", "/F", "/C"},
         {"/B", "/D", "/E", "/F", "/C"}},
        {"reopening the newest", {"/A", "/B", "/B"}, {"/A", "/B"}},
        {"reopening when full pushes nothing out", {"/A", "/B", "/C", "/D", "/E", "/A"},
         {"/B", "/C", "/D", "/E", "/A"}},
        {"new spelling wins", {"/a.gps", "/B.gps", "/A.GPS"}, {"/B.gps", "/A.GPS"}},
        {"accented case", {"/\xC3\x89t\xC3\xA9.gps", "/x", "/\xC3\xA9T\xC3\x89.GPS"},
         {"/x", "/\xC3\xA9T\xC3\x89.GPS"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Opened(c.opened).Entries(), c.entries) << c.name;
}

TEST(RecentFiles, SlotsShowTheMostRecentFirst)
{
    const RecentFiles recent = Opened({"/A", "/B", "/C", "/D", "/E", "/F"});
    EXPECT_EQ(Captions(recent), (std::vector<std::string>{"1 /F", "2 /E", "3 /D", "4 /C", "5 /B"}));
    EXPECT_EQ(recent.Slots().front().Position, 5u);
    EXPECT_EQ(recent.Slots().back().Position, 1u);

    EXPECT_EQ(Captions(Opened({"/A", "/B", "/C", "/D", "/E", "/F", "/C"})),
              (std::vector<std::string>{"1 /C", "2 /F", "3 /E", "4 /D", "5 /B"}));
    EXPECT_EQ(Captions(Opened({"/home/a b/x.gps"})), std::vector<std::string>{"1 /home/a b/x.gps"});
    EXPECT_TRUE(RecentFiles{}.Slots().empty());
}

TEST(RecentFiles, SamePathIgnoringCase)
{
    struct Case {
        std::string a;
        std::string b;
        bool same;
    };
    const std::vector<Case> cases = {
        {"/Home/A.GPS", "/home/a.gps", true},
        {"", "", true},
        {"/a", "/a ", false},
        {"/a", "/b", false},
        {"\xC3\x80\xC3\x9E", "\xC3\xA0\xC3\xBE", true},              // ÀÞ àþ
        {"\xC3\x97", "\xC3\xB7", false},                              // × ÷
        {"\xC5\xA0\xC5\xBD\xC5\x92", "\xC5\xA1\xC5\xBE\xC5\x93", true}, // ŠŽŒ šžœ
        {"\xC5\xB8", "\xC3\xBF", true},                               // Ÿ ÿ
        {"\xC5\x81\xC4\x98", "\xC5\x82\xC4\x99", true},               // ŁĘ łę
        {"\xD0\x96\xD0\x81", "\xD0\xB6\xD1\x91", true},               // ЖЁ жё
        {"\xCE\xA9", "\xCF\x89", true},                               // Ω ω
        {"\xC3\x9F", "ss", false},                                    // ß
        {"\xE4\xB8\xAD", "\xE4\xB8\xAD", true},
        {"\xE4\xB8\xAD", "\xE4\xB8\xAE", false},
        {"/\xC9", "/\xE9", false},                                    // invalid bytes compare exactly
        {"/\xC9", "/\xC9", true},
        {"/\xC3", "/\xC3\xA9", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SamePathIgnoringCase(c.a, c.b), c.same) << c.a << " | " << c.b;
        EXPECT_EQ(SamePathIgnoringCase(c.b, c.a), c.same) << c.b << " | " << c.a;
    }
}

} // namespace
} // namespace uzuviv
