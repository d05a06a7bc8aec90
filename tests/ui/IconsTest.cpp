#include "ui/Icons.h"

#include <QColor>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace uzuviv {
namespace {

// The icons of the command table, each once (a menu item and its pop-up twin share one).
std::vector<IconName> AllIcons()
{
    std::vector<IconName> icons;
    for (const CommandRow& row : CommandTable())
        if (row.icon.bundled != nullptr)
            icons.push_back(row.icon);
    return icons;
}

const IconName& IconOf(CommandId id)
{
    return CommandOf(id).icon;
}

bool HasVisiblePixel(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

class IconsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Let IconFor's one-time preparation run before a test changes the theme name.
        IconFor(IconOf(CommandId::About));
        savedTheme_ = QIcon::themeName();
        savedFallbackTheme_ = QIcon::fallbackThemeName();
    }
    void TearDown() override
    {
        QIcon::setThemeName(savedTheme_);
        QIcon::setFallbackThemeName(savedFallbackTheme_);
    }

    // Both the menu icon and the toolbar icon draw something at menu and toolbar sizes.
    static void ExpectAllIconsDrawn()
    {
        for (const IconName& icon : AllIcons()) {
            SCOPED_TRACE(icon.bundled);
            for (const QIcon& drawn : { IconFor(icon), ToolbarIconFor(icon) }) {
                ASSERT_FALSE(drawn.isNull());
                for (int size : { 16, 24 }) {
                    const QPixmap pixmap = drawn.pixmap(size, size);
                    ASSERT_FALSE(pixmap.isNull()) << size << " px";
                    EXPECT_TRUE(HasVisiblePixel(pixmap)) << size << " px";
                }
            }
        }
    }

private:
    QString savedTheme_;
    QString savedFallbackTheme_;
};

TEST_F(IconsTest, EveryIconDrawsWithTheDesktopTheme)
{
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    ExpectAllIconsDrawn();
}

TEST_F(IconsTest, EveryIconDrawsFromOurOwnArtworkWhenTheThemeIsMissing)
{
    QIcon::setThemeName(QStringLiteral("no-such-theme-uzuviv"));
    QIcon::setFallbackThemeName(QStringLiteral("no-such-fallback-uzuviv"));
    ExpectAllIconsDrawn();
    for (const IconName& icon : AllIcons()) {
        SCOPED_TRACE(icon.bundled);
        const QIcon fallback = IconFor(icon);
        EXPECT_TRUE(fallback.name().isEmpty()) << fallback.name().toStdString();
        // Both drawings exist, so neither size is a blurred rescale of the other.
        const QList<QSize> sizes = fallback.availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        EXPECT_TRUE(sizes.contains(QSize(24, 24)));
    }
}

// Without a desktop session (offscreen, a bare window manager) Qt searches no system icon
// folder on its own; an installed theme must still be found.
TEST_F(IconsTest, FindsTheInstalledThemeWithoutADesktopSession)
{
    if (!QDir(QStringLiteral("/usr/share/icons/Adwaita")).exists())
        GTEST_SKIP() << "Adwaita is not installed";
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    EXPECT_EQ(IconFor(IconOf(CommandId::Save)).name(), QStringLiteral("document-save"));
    EXPECT_EQ(ToolbarIconFor(IconOf(CommandId::Undo)).name(), QStringLiteral("edit-undo"));
}

TEST_F(IconsTest, OurDrawingsAreAllDifferent)
{
    const std::vector<IconName> icons = AllIcons();
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const QImage first = BundledIconFor(icons[i]).pixmap(24, 24).toImage();
        for (std::size_t j = i + 1; j < icons.size(); ++j) {
            const QImage second = BundledIconFor(icons[j]).pixmap(24, 24).toImage();
            EXPECT_NE(first, second) << icons[i].bundled << " and " << icons[j].bundled;
        }
    }
}

// UZUVIV_ICON_SHEET=<file.png> writes every icon into one picture for a look by eye: rows are
// the theme at 16 and 24 px, then our own drawings at 16 and 24 px.
TEST_F(IconsTest, WritesAContactSheetOnRequest)
{
    const QString sheetPath = qEnvironmentVariable("UZUVIV_ICON_SHEET");
    if (sheetPath.isEmpty())
        GTEST_SKIP() << "UZUVIV_ICON_SHEET not set";
    const int cell = 28;
    const std::vector<IconName> icons = AllIcons();
    const int count = static_cast<int>(icons.size());
    QImage sheet(count * cell, 4 * cell, QImage::Format_ARGB32);
    sheet.fill(QColor(240, 240, 240));
    QPainter painter(&sheet);
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    for (int i = 0; i < count; ++i) {
        const IconName& icon = icons[static_cast<std::size_t>(i)];
        painter.drawPixmap(i * cell + 6, 6, IconFor(icon).pixmap(16, 16));
        painter.drawPixmap(i * cell + 2, cell + 2, ToolbarIconFor(icon).pixmap(24, 24));
        painter.drawPixmap(i * cell + 6, 2 * cell + 6, BundledIconFor(icon).pixmap(16, 16));
        painter.drawPixmap(i * cell + 2, 3 * cell + 2, BundledIconFor(icon).pixmap(24, 24));
    }
    painter.end();
    EXPECT_TRUE(sheet.scaled(sheet.size() * 3).save(sheetPath));
}

} // namespace
} // namespace uzuviv
