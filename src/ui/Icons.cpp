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

struct IconNames {
    // Freedesktop names, best first; the second may be null.
    const char* themeNames[2];
    // Base name of our drawings: <base>-16.png, <base>-24.png and their double sizes.
    const char* bundled;
};

IconNames NamesOf(CommandIcon icon)
{
    switch (icon) {
    case CommandIcon::NewProject: return { { "document-new", nullptr }, "new-project" };
    case CommandIcon::ProjectProperties:
        return { { "document-properties", nullptr }, "project-properties" };
    case CommandIcon::Open: return { { "document-open", nullptr }, "open" };
    case CommandIcon::Save: return { { "document-save", nullptr }, "save" };
    case CommandIcon::SaveAs: return { { "document-save-as", nullptr }, "save-as" };
    case CommandIcon::BuildGPSFile: return { { "document-export", nullptr }, "build-gps-file" };
    case CommandIcon::ImportGPSFile: return { { "document-import", nullptr }, "import-gps-file" };
    case CommandIcon::Print: return { { "document-print", nullptr }, "print" };
    case CommandIcon::Exit: return { { "application-exit", nullptr }, "exit" };
    case CommandIcon::Undo: return { { "edit-undo", nullptr }, "undo" };
    case CommandIcon::Redo: return { { "edit-redo", nullptr }, "redo" };
    case CommandIcon::NewPoint: return { { "list-add", nullptr }, "new-point" };
    // A placed pin rather than edit-paste, so it does not look like Paste beside it.
    case CommandIcon::NewFromGoogleMaps:
        return { { "mark-location", nullptr }, "new-from-google-maps" };
    case CommandIcon::DeletePoint: return { { "list-remove", "edit-delete" }, "delete-point" };
    case CommandIcon::Cut: return { { "edit-cut", nullptr }, "cut" };
    case CommandIcon::Copy: return { { "edit-copy", nullptr }, "copy" };
    case CommandIcon::Paste: return { { "edit-paste", nullptr }, "paste" };
    case CommandIcon::SelectAll: return { { "edit-select-all", nullptr }, "select-all" };
    case CommandIcon::About: return { { "help-about", nullptr }, "about" };
    case CommandIcon::HomePage: return { { "go-home", nullptr }, "home-page" };
    case CommandIcon::SendEmail: return { { "mail-send", nullptr }, "send-email" };
    case CommandIcon::ShowInGoogleMaps:
        return { { "find-location", nullptr }, "show-in-google-maps" };
    }
    return { { nullptr, nullptr }, "about" };
}

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
QIcon DrawableThemeIcon(const IconNames& names)
{
    for (const char* name : names.themeNames) {
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

QIcon IconFromTheme(CommandIcon icon)
{
    PrepareIconTheme();
    const QIcon themed = DrawableThemeIcon(NamesOf(icon));
    return themed.isNull() ? BundledIconFor(icon) : themed;
}

} // namespace

QIcon BundledIconFor(CommandIcon icon)
{
    PrepareIconTheme();
    const QString base = QStringLiteral(":/uzuviv/commands/") + QString::fromLatin1(NamesOf(icon).bundled);
    QIcon bundled;
    // The double sizes keep the drawings sharp on screens scaled by two.
    for (int side : {16, 24, 32, 48})
        bundled.addFile(base + QStringLiteral("-%1.png").arg(side), QSize(side, side));
    return bundled;
}

QIcon IconFor(CommandIcon icon)
{
    return IconFromTheme(icon);
}

// The same artwork as the menus: both the theme icons and our drawings carry a 24 px
// version, which QIcon picks at toolbar size.
QIcon ToolbarIconFor(CommandIcon icon)
{
    return IconFromTheme(icon);
}

} // namespace uzuviv
