#include <iostream>
#include <variant>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/CommandLine.h"
#include "ui/Main.h"

namespace {

// Beside the program when that folder is writable, else the per-user configuration folder.
// An installed program's folder (/usr/bin) is no place for settings, even for root: the file
// would outlive the package.
QString SettingsPath()
{
    const QString besideProgram = QCoreApplication::applicationDirPath();
    const QString installFolder = QFileInfo(QStringLiteral(UZUVIV_INSTALL_BINDIR)).canonicalFilePath();
    const bool installed = !installFolder.isEmpty()
                           && QFileInfo(besideProgram).canonicalFilePath() == installFolder;
    if (!installed && QFileInfo(besideProgram).isWritable())
        return QDir(besideProgram).filePath(QStringLiteral("DAVUzuviv.cfg"));
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userFolder);
    return QDir(userFolder).filePath(QStringLiteral("DAVUzuviv.cfg"));
}

} // namespace

int main(int argc, char* argv[])
{
    const auto command = uzuviv::ReadCommandLine(argc, argv, std::cout, std::cerr);
    if (const int* exitStatus = std::get_if<int>(&command))
        return *exitStatus;
    const uzuviv::StartOptions& options = std::get<uzuviv::StartOptions>(command);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DAVUzuviv"));
    QApplication::setOrganizationName(QStringLiteral("OVRA"));
    QApplication::setApplicationVersion(QStringLiteral(UZUVIV_VERSION));
    // Ties the window to its desktop entry (the icon and name in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("example.ovra.DAVUzuviv"));
    uzuviv::TForm1 window(SettingsPath());
    if (options.File)
        window.Commands().SetStartupFile(*options.File);
    window.show();
    // Without a window manager nothing else gives the window the focus, and the first
    // activation is what opens the file named on the command line or reopens the last project.
    window.activateWindow();
    return application.exec();
}
