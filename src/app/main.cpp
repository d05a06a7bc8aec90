#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "ui/Main.h"

namespace {

// Beside the program when that folder is writable, else the per-user configuration folder.
QString SettingsPath()
{
    const QString besideProgram = QCoreApplication::applicationDirPath();
    if (QFileInfo(besideProgram).isWritable())
        return QDir(besideProgram).filePath(QStringLiteral("DAVUzuviv.cfg"));
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userFolder);
    return QDir(userFolder).filePath(QStringLiteral("DAVUzuviv.cfg"));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DAVUzuviv"));
    QApplication::setOrganizationName(QStringLiteral("OVRA"));
    uzuviv::TForm1 window(SettingsPath());
    window.show();
    // Without a window manager nothing else gives the window the focus, and the first
    // activation is what reopens the last project.
    window.activateWindow();
    return application.exec();
}
