#include "SimOptions.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

bool parse(std::vector<std::string> words, sim::SimOptions &options, std::string &error)
{
    static std::vector<std::string> kept;
    kept = std::move(words);
    kept.insert(kept.begin(), "fieldmon-sim");
    std::vector<char *> argv;
    for (std::string &word : kept)
        argv.push_back(word.data());
    return options.parse(static_cast<int>(argv.size()), argv.data(), error);
}

std::vector<std::string> qtArguments(const sim::SimOptions &options)
{
    std::vector<std::string> words;
    for (char *word : options.qtArguments) {
        if (word != nullptr)
            words.emplace_back(word);
    }
    return words;
}

} // namespace

TEST(SimOptions, OwnOptionsAndQtOptionsAreTakenAnythingElseRefused)
{
    sim::SimOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--root", "/r", "-platform", "xcb", "--script", "a.scn", "--headless", "-reverse",
                       "--shots", "out", "--workdir", "w"},
                      options, error))
        << error;
    EXPECT_EQ(options.root, "/r");
    EXPECT_EQ(options.script, "a.scn");
    EXPECT_EQ(options.shotsDir, "out");
    EXPECT_EQ(options.workDir, "w");
    EXPECT_TRUE(options.headless);
    EXPECT_EQ(qtArguments(options), (std::vector<std::string>{"fieldmon-sim", "-platform", "xcb", "-reverse"}));
    EXPECT_EQ(options.qtArguments.back(), nullptr);

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--scirpt", "a.scn"}, "unknown option --scirpt"},
        {{"-x"}, "unknown option -x"},
        {{"a.scn"}, "unexpected argument a.scn"},
        {{"--headless", "--script"}, "--script needs a value"},
        {{"--shots", ""}, "--shots needs a value"},
        {{"-platform"}, "-platform needs a value"},
    };
    for (const auto &entry : refused) {
        sim::SimOptions refusing;
        EXPECT_FALSE(parse(entry.first, refusing, error)) << entry.second;
        EXPECT_EQ(error, entry.second);
    }
}

TEST(SimOptions, NoDisplayIsSaidBeforeQtWouldAbort)
{
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(sim::displayProblem(), "no display: use --headless");

    // A local display whose server is not there; then one that answers on
    // its abstract socket, as an X server does.
    setenv("DISPLAY", ":917", 1);
    EXPECT_EQ(sim::displayProblem(), "no display (DISPLAY=:917 does not answer): use --headless");
    const int server = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(server, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "/tmp/.X11-unix/X917";
    name.copy(address.sun_path + 1, name.size());
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr *>(&address),
                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())),
              0);
    ASSERT_EQ(listen(server, 1), 0);
    EXPECT_EQ(sim::displayProblem(), "");
    setenv("DISPLAY", "unix:917.0", 1);
    EXPECT_EQ(sim::displayProblem(), "");
    close(server);

    // A remote display, Wayland, or a platform chosen by hand are taken on trust.
    setenv("DISPLAY", "remotehost:10", 1);
    EXPECT_EQ(sim::displayProblem(), "");
    unsetenv("DISPLAY");
    setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    EXPECT_EQ(sim::displayProblem(), "");
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "vnc", 1);
    EXPECT_EQ(sim::displayProblem(), "");
}
