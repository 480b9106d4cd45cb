#include "SimOptions.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace sim {

namespace {

// The Qt options that take a value, and those that do not.
const char *const qtValueOptions[] = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                      "-qwindowgeometry", "-qwindowtitle", "-qwindowicon", "-display",
                                      "-geometry", "-style", "-stylesheet", "-session"};
const char *const qtFlagOptions[] = {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"};

template <size_t N>
bool among(const std::string &word, const char *const (&list)[N])
{
    for (const char *entry : list) {
        if (word == entry)
            return true;
    }
    return false;
}

bool connects(const sockaddr_un &address, socklen_t length)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0;
    ::close(fd);
    return ok;
}

// A local X server answers on its socket, in the file system or in the
// abstract namespace.
bool localDisplayAnswers(int number)
{
    const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    if (connects(address, sizeof(address)))
        return true;
    sockaddr_un abstract{};
    abstract.sun_family = AF_UNIX;
    std::memcpy(abstract.sun_path + 1, path.data(), path.size());
    return connects(abstract, static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size()));
}

} // namespace

const char *SimOptions::usage()
{
    return "usage: fieldmon-sim [--root DIR] [--workdir DIR] [--script FILE] [--shots DIR] [--headless] [Qt options]\n"
           "\n"
           "Runs the monitor application on the virtual board: the panel window and, beside\n"
           "it, the board's control window.\n"
           "  --root DIR     hardware root to build the board in (default: a fresh temporary one)\n"
           "  --workdir DIR  working directory of the application; an existing one is used as it\n"
           "                 is (settings persist), a new one is seeded with the runtime files\n"
           "                 (default: a fresh seeded temporary one)\n"
           "  --script FILE  run a scenario script, then exit: 0 every check passed, 1 a check\n"
           "                 failed, 2 script error\n"
           "  --shots DIR    where relative screenshot names go, created if missing (default:\n"
           "                 the current directory)\n"
           "  --headless     no display: the offscreen platform, no control window\n"
           "  Qt options     -platform NAME, -display NAME, -geometry GEOMETRY, -style NAME, ...\n"
           "\n"
           "Scenario commands:\n";
}

bool SimOptions::parse(int argc, char **argv, std::string &error)
{
    qtArguments.assign(1, argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool ours = word == "--root" || word == "--workdir" || word == "--script" || word == "--shots";
        if (ours || among(word, qtValueOptions)) {
            if (i + 1 >= argc) {
                error = word + " needs a value";
                return false;
            }
            if (!ours) {
                qtArguments.push_back(argv[i]);
                qtArguments.push_back(argv[++i]);
                continue;
            }
            std::string &target = word == "--root"      ? root
                                  : word == "--workdir" ? workDir
                                  : word == "--script"  ? script
                                                        : shotsDir;
            target = argv[++i];
            if (target.empty()) {
                error = word + " needs a value";
                return false;
            }
        } else if (among(word, qtFlagOptions)) {
            qtArguments.push_back(argv[i]);
        } else if (word == "--headless") {
            headless = true;
        } else if (word == "--help" || word == "-h") {
            help = true;
        } else {
            error = (word.size() > 1 && word[0] == '-' ? "unknown option " : "unexpected argument ") + word;
            return false;
        }
    }
    qtArguments.push_back(nullptr);
    return true;
}

std::string displayProblem()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0')
        return std::string();
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland != nullptr && *wayland != '\0')
        return std::string();
    const char *display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return "no display: use --headless";
    // ":N", ":N.S" or "unix:N" are local; a remote display is taken on trust.
    std::string name = display;
    if (name.rfind("unix:", 0) == 0)
        name.erase(0, 4);
    if (name.size() < 2 || name[0] != ':')
        return std::string();
    char *end = nullptr;
    const long number = std::strtol(name.c_str() + 1, &end, 10);
    if (end == name.c_str() + 1 || (*end != '\0' && *end != '.'))
        return std::string();
    if (localDisplayAnswers(static_cast<int>(number)))
        return std::string();
    return "no display (DISPLAY=" + std::string(display) + " does not answer): use --headless";
}

} // namespace sim
