#include <filesystem>
#include <optional>

#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <unistd.h>

#include "TempFolder.h"
#include "files/SettingsFile.h"
#include "text/text.h"
#include "ui/Main.h"
#include "ui/ModalHelper.h"

namespace uzuviv {
namespace {

using testing::TempFolder;
using testing::WhenModal;

struct StartupCase {
    const char* name;     // the file given on the command line
    const char* content;  // a sample file, "" for none, "/" for a folder, "binary", "locked"
    const char* error;    // the error box's text; nullptr: none
    const char* title;    // after the prefix "DAV Uzuviv V1.0 - "
    int rows;             // -1: no project
    bool recentFile;
};

const StartupCase StartupCases[] = {
    {"tour.gps", "sample-project.gps", nullptr, "Sample", 1, true},
    {"points.CSV", "sample-gps.csv", nullptr, "Imported Project", 2, false},
    {"tour.GPX", "sample-project.gpx", nullptr, "Sample", 1, false},
    {"caf\xE9.gps", "sample-project.gps", nullptr, "Sample", 1, true},
    {"missing.gps", "", "Fichier introuvable.", "", 0, false},
    {"missing.csv", "", "Fichier introuvable.", "", -1, false},
    {"folder.gps", "/", "Accès au fichier refusé.", "", 0, false},
    {"locked.gps", "locked", "Accès au fichier refusé.", "", 0, false},
    {"binary.gps", "binary", "'ü' n'est pas une valeur entière correcte.", "", 0, false},
};

std::string Make(const TempFolder& folder, const std::string& name, const std::string& content)
{
    const std::string path = folder / name;
    if (content == "/") {
        std::filesystem::create_directory(path);
    } else if (content == "binary") {
        std::string bytes;
        for (int i = 0; i < 4096; ++i)
            bytes.push_back(static_cast<char>((i * 7919) % 256));
        testing::WriteBytes(path, bytes);
    } else if (!content.empty()) {
        std::filesystem::copy_file(std::string(UZUVIV_TEST_DATA) + "/"
                                       + (content == "locked" ? "sample-project.gps" : content),
                                   path);
    }
    return path;
}

// Runs the first activation with `path` as the start-up file; returns the error box's text,
// answered when `errorBox` (a box that is not expected fails the test).
std::optional<QString> Start(TForm1& window, const std::string& path, bool unreadable, bool errorBox)
{
    std::optional<QString> shown;
    if (errorBox)
        WhenModal([&shown](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown = box->text();
                EXPECT_EQ(box->windowTitle(), "Erreur") << box->text().toStdString();
            }
            modal->close();
        });
    window.Commands().SetStartupFile(path);
    // Root reads any file: it gives up that right while the file is read.
    const bool dropRoot = unreadable && ::geteuid() == 0;
    if (unreadable)
        std::filesystem::permissions(path, std::filesystem::perms::none);
    if (dropRoot) {
        EXPECT_EQ(::seteuid(65534), 0);
    }
    window.FormActivate();
    if (dropRoot) {
        EXPECT_EQ(::seteuid(0), 0);
    }
    return shown;
}

TEST(StartupFileTest, FileArgumentOpensOrImportsInsteadOfTheLastProject)
{
    LanguageIndex = 2;
    for (const StartupCase& c : StartupCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        // The settings name another existing project as the last one used.
        Settings settings;
        settings.LastProject = Make(folder, "last.gps", "sample-project.gps");
        WriteSettingsFile(folder / "DAVUzuviv.cfg", settings);
        TForm1 window(QString::fromStdString(folder / "DAVUzuviv.cfg"));
        const std::string path = Make(folder, c.name, c.content);

        const std::optional<QString> error = Start(window, path, std::string(c.content) == "locked", c.error != nullptr);

        EXPECT_EQ(error.value_or("no error box").toStdString(), c.error ? c.error : "no error box");
        const QString title = QStringLiteral("DAV Uzuviv V1.0 - ") + QString::fromUtf8(c.title);
        EXPECT_EQ(window.windowTitle(), title);
        const TProjectType* project = window.CurrentDocument().CurrentProject();
        EXPECT_EQ(project ? static_cast<int>(project->Records.size()) : -1, c.rows);
        const auto& recent = window.Commands().Recent.Entries();
        EXPECT_EQ(!recent.empty() && recent.back() == path, c.recentFile);
        EXPECT_FALSE(project && window.CurrentDocument().CurrentFileName == settings.LastProject);
        // Activating again opens nothing more.
        window.FormActivate();
        EXPECT_EQ(window.windowTitle(), title);
    }
}

struct OptionCase {
    QStringList arguments;
    int exitCode;
    const char* standardOutput;   // its start, when nothing goes to standard error
    const char* standardError;    // a line it holds
};

TEST(CommandLineTest, OptionsAnswerWithoutADisplay)
{
    const OptionCase cases[] = {
        {{"--help"}, 0, "Usage: davuzuviv [OPTION]... [FILE]\n", ""},
        {{"tour.gps", "-h"}, 0, "Usage: davuzuviv [OPTION]... [FILE]\n", ""},
        {{"--version"}, 0, "davuzuviv (DAV Uzuviv) " UZUVIV_VERSION "\n", ""},
        {{"--unknown-option"}, 2, nullptr, "davuzuviv: unrecognized option '--unknown-option'\n"
                                      "Usage: davuzuviv [OPTION]... [FILE]\n"},
        {{"-x"}, 2, nullptr, "davuzuviv: invalid option -- 'x'\n"},
        {{"one.gps", "two.gps"}, 2, nullptr, "davuzuviv: extra operand 'two.gps'\n"},
        {{"-platform"}, 2, nullptr, "davuzuviv: option '-platform' requires an argument\n"},
    };
    // Any attempt to reach a display fails at once here.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(UZUVIV_PROGRAM), c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        if (*c.standardError == '\0') {
            EXPECT_TRUE(out.startsWith(QString::fromUtf8(c.standardOutput))) << out.toStdString();
            EXPECT_TRUE(out.endsWith('\n'));
            EXPECT_EQ(err, "");
        } else {
            EXPECT_EQ(out, "");
            EXPECT_TRUE(err.contains(QString::fromUtf8(c.standardError))) << err.toStdString();
            EXPECT_TRUE(err.endsWith("Try 'davuzuviv --help' for more information.\n"));
        }
    }
}

} // namespace
} // namespace uzuviv
