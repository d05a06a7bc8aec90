#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <variant>

namespace uzuviv {

struct StartOptions {
    // The file to open or import instead of the last project: an absolute path, its bytes as
    // the system gave them.
    std::optional<std::string> File;
};

// Reads the program's arguments before any window exists, so that --help and --version need
// no display. They are answered on `out` and a usage error on `err`; the result is then the
// exit status (0, or 2 for a usage error). Qt's own options (-platform, -style, ...) are left
// for the application object.
std::variant<StartOptions, int> ReadCommandLine(int argc, const char* const* argv,
                                                std::ostream& out, std::ostream& err);

} // namespace uzuviv
