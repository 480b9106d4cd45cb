// fieldmon-sim: the monitor application on the virtual board.

#include "Application.h"
#include "Console.h"
#include "FrameCommands.h"
#include "InterruptCommands.h"
#include "MainWindow.h"
#include "McuCommands.h"
#include "OutputCapture.h"
#include "PanelView.h"
#include "PlatformCommands.h"
#include "RfCommands.h"
#include "ScenarioRunner.h"
#include "TouchCommands.h"
#include "VideoCommands.h"
#include "VirtualBoard.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int exitBoardFailure = 3;

struct Options {
    std::string root;
    std::string workDir;
    std::string script;
    std::string shotsDir;
    bool headless = false;
    bool help = false;
    std::vector<char *> qtArguments;
};

const char *usageText =
    "usage: fieldmon-sim [--root DIR] [--workdir DIR] [--script FILE] [--shots DIR] [--headless] [Qt options]\n"
    "\n"
    "Runs the monitor application on the virtual board.\n"
    "  --root DIR     hardware root to build the board in (default: a fresh temporary one)\n"
    "  --workdir DIR  working directory of the application; an existing one is used as it\n"
    "                 is (settings persist), a new one is seeded with the runtime files\n"
    "                 (default: a fresh seeded temporary one)\n"
    "  --script FILE  run a scenario script, then exit: 0 every check passed, 1 a check\n"
    "                 failed, 2 script error\n"
    "  --shots DIR    where relative screenshot names go (default: the current directory)\n"
    "  --headless     no display: the offscreen platform\n"
    "\n"
    "Scenario commands:\n";

bool parse(int argc, char **argv, Options &options, std::string &error)
{
    options.qtArguments.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        auto value = [&](std::string &target) {
            if (i + 1 >= argc) {
                error = word + " needs a value";
                return false;
            }
            target = argv[++i];
            return true;
        };
        if (word == "--root" || word == "--workdir" || word == "--script" || word == "--shots") {
            std::string &target = word == "--root"      ? options.root
                                  : word == "--workdir" ? options.workDir
                                  : word == "--script"  ? options.script
                                                        : options.shotsDir;
            if (!value(target))
                return false;
        } else if (word == "--headless") {
            options.headless = true;
        } else if (word == "--help" || word == "-h") {
            options.help = true;
        } else {
            options.qtArguments.push_back(argv[i]);
        }
    }
    options.qtArguments.push_back(nullptr);
    return true;
}

std::string makeTemporaryDir(const char *name)
{
    std::string pattern = (fs::temp_directory_path() / name).string() + "-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// A new working directory gets the runtime files; an existing one is kept as
// it is, so that settings persist between runs.
bool prepareWorkDir(const std::string &dir, std::string &error)
{
    std::error_code failure;
    const bool fresh = !fs::exists(dir) || fs::is_empty(dir);
    fs::create_directories(dir, failure);
    if (fresh && !failure)
        fs::copy(FIELDMON_SEED_DIR, dir, fs::copy_options::recursive | fs::copy_options::skip_existing, failure);
    if (failure)
        error = dir + ": " + failure.message();
    return !failure;
}

std::string absolute(const std::string &path)
{
    if (path.empty())
        return path;
    std::string normal = fs::absolute(path).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    std::string error;
    sim::CommandTable commands;
    sim::addCoreCommands(commands);
    sim::addMcuCommands(commands);
    sim::addInterruptCommands(commands);
    sim::addPlatformCommands(commands);
    sim::addRfCommands(commands);
    sim::addVideoCommands(commands);
    sim::addTouchCommands(commands);
    sim::addFrameCommands(commands);
    if (!parse(argc, argv, options, error)) {
        std::fprintf(stderr, "fieldmon-sim: %s\n%s%s", error.c_str(), usageText, commands.usage().c_str());
        return 2;
    }
    if (options.help) {
        std::printf("%s%s", usageText, commands.usage().c_str());
        return 0;
    }
    if (options.headless)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string script = absolute(options.script);

    // Temporary root and working directory unless given; both go at exit.
    const bool ownRoot = options.root.empty();
    const bool ownWorkDir = options.workDir.empty();
    const std::string root = ownRoot ? sim::VirtualBoard::makeTemporaryRoot() : absolute(options.root);
    const std::string workDir = ownWorkDir ? makeTemporaryDir("fieldmon-work") : absolute(options.workDir);
    const std::string shotsDir = absolute(options.shotsDir.empty() ? "." : options.shotsDir);
    auto cleanUp = [&] {
        std::error_code ignored;
        if (ownRoot && !root.empty())
            fs::remove_all(root, ignored);
        if (ownWorkDir && !workDir.empty())
            fs::remove_all(workDir, ignored);
    };
    if (root.empty() || workDir.empty() || !prepareWorkDir(workDir, error)) {
        std::fprintf(stderr, "fieldmon-sim: cannot prepare the board: %s\n", error.c_str());
        cleanUp();
        return exitBoardFailure;
    }

    sim::VirtualBoard board(root);
    if (!board.ok()) {
        std::fprintf(stderr, "fieldmon-sim: cannot build the board in %s: %s\n", root.c_str(),
                     board.error().c_str());
        cleanUp();
        return exitBoardFailure;
    }
    board.install();
    // Files a scenario hands to the board by relative name come from its folder.
    board.platform().setHostDirectory(script.empty() ? fs::current_path().string()
                                                     : fs::path(script).parent_path().string());
    if (chdir(workDir.c_str()) != 0) {
        std::fprintf(stderr, "fieldmon-sim: cannot enter %s\n", workDir.c_str());
        cleanUp();
        return exitBoardFailure;
    }

    sim::OutputCapture output;
    sim::ScenarioRunner runner(commands, board, output, shotsDir);
    if (!script.empty() && !runner.load(script, error)) {
        std::fprintf(stderr, "fieldmon-sim: %s\n", error.c_str());
        cleanUp();
        return 2;
    }
    output.start();
    console::print("[virtual board] hardware root %s, working directory %s\n", root.c_str(), workDir.c_str());

    // A restart of the machine, or the MCU cutting the power, ends the
    // application, as it would on the monitor.
    const auto endApplication = [] {
        if (QCoreApplication *application = QCoreApplication::instance())
            QMetaObject::invokeMethod(application, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    };
    board.system().onRestart(endApplication);
    board.platform().onPowerCut(endApplication);

    int qtArgc = static_cast<int>(options.qtArguments.size()) - 1;
    const int applicationStatus = runApplication(qtArgc, options.qtArguments.data(), [&](MainWindow &window) {
        // With a display, the panel's picture is shown live beside the window.
        if (!options.headless)
            (new sim::PanelView(board, window))->show();
        if (!script.empty())
            runner.start(window);
    });
    const int status = script.empty() ? applicationStatus : runner.join();
    console::print("[virtual board] the application ended with status %d\n", applicationStatus);
    output.stop();
    cleanUp();
    // The application's controller threads live until the process ends, as on
    // the monitor; end it here rather than tear the board down under them.
    std::fflush(nullptr);
    _exit(status);
}
