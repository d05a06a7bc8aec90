#include "ui/Icons.h"

#include <QDir>
#include <QPixmap>
#include <QStandardPaths>
#include <QStringList>

// The ui library is static: without this reference the linker drops the compiled resource
// file, and with it every bundled drawing. Q_INIT_RESOURCE must be used outside a namespace.
static void InitCommandIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace uzuviv {

namespace {

// Once per process: the bundled drawings, and a theme Qt can search. Without a desktop
// platform theme (the offscreen platform) Qt knows neither a theme name nor any folder but
// its own resources.
void PrepareIconTheme()
{
    static const bool prepared = [] {
        InitCommandIconResources();
        if (QIcon::themeName().isEmpty())
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        // A bare X11 session names "hicolor", which holds no action icons; let such a theme
        // (and any theme without parents) fall back on Adwaita before our own drawings.
        const QString fallbackTheme = QIcon::fallbackThemeName();
        if (fallbackTheme.isEmpty() || fallbackTheme == QStringLiteral("hicolor"))
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        QStringList searchPaths = QIcon::themeSearchPaths();
        QStringList standardPaths = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
            QStringLiteral("icons"), QStandardPaths::LocateDirectory);
        standardPaths.prepend(QDir::homePath() + QStringLiteral("/.icons"));
        bool added = false;
        for (const QString& path : standardPaths) {
            if (QDir(path).exists() && !searchPaths.contains(QDir::cleanPath(path))
                && !searchPaths.contains(QDir::cleanPath(path) + QLatin1Char('/'))) {
                searchPaths << QDir::cleanPath(path);
                added = true;
            }
        }
        if (added)
            QIcon::setThemeSearchPaths(searchPaths);
        return true;
    }();
    (void)prepared;
}

// A theme may name an icon it cannot draw (an SVG-only entry without Qt's SVG plugin, a
// damaged file); such an icon would leave a blank button, so it does not count.
QIcon DrawableThemeIcon(const IconName& names)
{
    for (const char* name : {names.theme, names.themeAlternative}) {
        if (name == nullptr)
            continue;
        const QString themeName = QString::fromLatin1(name);
        if (!QIcon::hasThemeIcon(themeName))
            continue;
        QIcon icon = QIcon::fromTheme(themeName);
        if (!icon.isNull() && !icon.pixmap(16, 16).isNull())
            return icon;
    }
    return {};
}

QIcon IconFromTheme(const IconName& icon)
{
    PrepareIconTheme();
    const QIcon themed = DrawableThemeIcon(icon);
    return themed.isNull() ? BundledIconFor(icon) : themed;
}

} // namespace

QIcon BundledIconFor(const IconName& icon)
{
    PrepareIconTheme();
    const QString base = QStringLiteral(":/uzuviv/commands/") + QString::fromLatin1(icon.bundled);
    QIcon bundled;
    // The double sizes keep the drawings sharp on screens scaled by two.
    for (int side : {16, 24, 32, 48})
        bundled.addFile(base + QStringLiteral("-%1.png").arg(side), QSize(side, side));
    return bundled;
}

QIcon IconFor(const IconName& icon)
{
    return IconFromTheme(icon);
}

// The same artwork as the menus: both the theme icons and our drawings carry a 24 px
// version, which QIcon picks at toolbar size.
QIcon ToolbarIconFor(const IconName& icon)
{
    return IconFromTheme(icon);
}

} // namespace uzuviv
