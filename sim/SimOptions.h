#pragma once

#include <string>
#include <vector>

namespace sim {

// The simulator's command line: its own options and the Qt options it hands
// on to the application. Anything else is refused.
struct SimOptions {
    std::string root;
    std::string workDir;
    std::string script;
    std::string shotsDir;
    bool headless = false;
    bool help = false;
    // argv[0] and the Qt options, ending with a null pointer.
    std::vector<char *> qtArguments;

    // False with the reason on an unknown option, a stray word or a missing value.
    bool parse(int argc, char **argv, std::string &error);

    static const char *usage();
};

// Why there is no display to open a window on (empty when there is one):
// no DISPLAY and no WAYLAND_DISPLAY, or a local X display that does not
// answer. A platform chosen through QT_QPA_PLATFORM is taken as it is.
std::string displayProblem();

} // namespace sim
