#include "app/CommandLine.h"

#include <filesystem>
#include <ostream>
#include <string_view>
#include <system_error>
#include <vector>

#ifndef UZUVIV_VERSION
#error "UZUVIV_VERSION must name the program's version"
#endif

namespace uzuviv {

namespace {

constexpr std::string_view Program = "davuzuviv";

// The options QGuiApplication and QApplication take for themselves, with "-" or "--".
constexpr std::string_view QtOptionsWithValue[] = {"platform", "platformpluginpath",
    "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
    "display", "geometry", "name", "style", "stylesheet", "qmljsdebugger"};
constexpr std::string_view QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void PrintHelp(std::ostream& out)
{
    out << "Usage: " << Program << " [OPTION]... [FILE]\n"
        << "Edit GPS projects and build OVRA GPS files.\n"
        << "\n"
        << "With FILE, open that project file (*.gps), or import that GPS file (*.csv) or GPX\n"
        << "file (*.gpx) as a new project, instead of reopening the last project used.\n"
        << "\n"
        << "  -h, --help     display this help and exit\n"
        << "      --version  output version information and exit\n"
        << "\n"
        << "Qt's own options (-platform, -style, ...) are accepted as well.\n"
        << "\n"
        << "Report bugs to: support@ovra.example\n"
        << "DAV Uzuviv home page: <https://www.ovra.example/>\n";
}

void PrintVersion(std::ostream& out)
{
    out << Program << " (DAV Uzuviv) " << UZUVIV_VERSION << "\n"
        << "Copyright (C) 2026 OVRA. All rights reserved.\n";
}

int UsageError(std::ostream& err, const std::string& problem)
{
    err << Program << ": " << problem << "\n"
        << "Usage: " << Program << " [OPTION]... [FILE]\n"
        << "Try '" << Program << " --help' for more information.\n";
    return 2;
}

template <std::size_t N>
bool Contains(const std::string_view (&names)[N], std::string_view name)
{
    for (std::string_view known : names)
        if (known == name)
            return true;
    return false;
}

// The path from the working folder of this start, so the recent files and the settings name
// it from anywhere. "." parts are dropped; ".." stays, since a symbolic link may lie before it.
std::string AbsolutePath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return path;
    std::filesystem::path result;
    for (const std::filesystem::path& part : absolute)
        if (part != ".")
            result /= part;
    return result.string();
}

} // namespace

std::variant<StartOptions, int> ReadCommandLine(int argc, const char* const* argv,
                                                std::ostream& out, std::ostream& err)
{
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            PrintHelp(out);
            return 0;
        } else if (argument == "--version") {
            PrintVersion(out);
            return 0;
        } else {
            // Qt reads "--style" as "-style", and "-style=fusion" as the option and its value.
            std::string_view name(argument);
            name.remove_prefix(name.starts_with("--") ? 2 : 1);
            const bool valueAttached = name.find('=') != std::string_view::npos;
            name = name.substr(0, name.find('='));
            if (Contains(QtOptionsWithValue, name)) {
                if (!valueAttached && ++i >= argc)
                    return UsageError(err, "option '" + argument + "' requires an argument");
            } else if (!Contains(QtFlags, name) || valueAttached) {
                return UsageError(err, argument.size() == 2
                                           ? "invalid option -- '" + argument.substr(1) + "'"
                                           : "unrecognized option '" + argument + "'");
            }
        }
    }
    if (files.size() > 1)
        return UsageError(err, "extra operand '" + files[1] + "'");
    StartOptions options;
    if (!files.empty())
        options.File = AbsolutePath(files.front());
    return options;
}

} // namespace uzuviv
