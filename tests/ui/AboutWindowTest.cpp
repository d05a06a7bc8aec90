#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "text/text.h"
#include "ui/Help.h"

namespace uzuviv {
namespace {

TEST(AboutWindowTest, TextsFollowTheLanguageAndEnterCloses)
{
    TForm2 about;
    EXPECT_EQ(about.size(), QSize(441, 124));
    const struct { std::uint8_t language; const char* caption; const char* version; } cases[] = {
        {4, "Über OVRA DAV Uzuviv", "Version V1.0"},
        {5, "Informazioni sul Software \"DAV Uzuviv\" della OVRA", "Versione V1.0"},
        {3, "Sobre el OVRA DAV Uzuviv", "Versión V1.0"},
        {1, "A propos de OVRA DAV Uzuviv", "Version V1.0"},
    };
    for (const auto& c : cases) {
        LanguageIndex = c.language;
        about.show();
        about.FormActivate();
        EXPECT_EQ(about.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(about.findChild<QLabel*>("StaticText1")->text(), "OVRA DAV Uzuviv");
        EXPECT_EQ(about.findChild<QLabel*>("StaticText2")->text(), QString::fromUtf8(c.version));
        EXPECT_EQ(about.findChild<QPushButton*>("OKBtn")->text(), "OK");
        QTest::keyClick(&about, Qt::Key_Return);
        EXPECT_FALSE(about.isVisible()) << c.language;
    }
    LanguageIndex = 2;
}

} // namespace
} // namespace uzuviv
