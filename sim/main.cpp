// fieldmon-sim: the monitor application on the virtual board.

#include "Application.h"
#include "CommandLine.h"
#include "Console.h"
#include "ControlWindow.h"
#include "MainWindow.h"
#include "OutputCapture.h"
#include "PanelView.h"
#include "ScenarioLanguage.h"
#include "ScenarioRunner.h"
#include "SimOptions.h"
#include "ThreadName.h"
#include "VirtualBoard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int exitBoardFailure = 3;
constexpr int exitSignalBase = 128;

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

// Qt keeps per-user runtime files under XDG_RUNTIME_DIR, which must be the
// user's own; without one, a private temporary folder (removed at exit).
std::string ensureRuntimeDir()
{
    const char *current = std::getenv("XDG_RUNTIME_DIR");
    struct stat status {};
    if (current != nullptr && *current != '\0' && ::stat(current, &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::geteuid() && (status.st_mode & 0077) == 0)
        return std::string();
    const std::string dir = makeTemporaryDir("fieldmon-runtime");
    if (!dir.empty())
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    return dir;
}

// Ctrl-C and SIGTERM: the handler only writes the signal's number into a
// pipe; a thread reads it and ends the application the ordinary way, so that
// the temporary folders go. A second signal while that hangs cleans up and
// ends the process at once.
int signalPipe[2] = {-1, -1};
std::atomic<int> caughtSignal{0};

extern "C" void onSignal(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
    (void)ignored;
}

bool watchSignals(const std::function<void(int)> &first, const std::function<void(int)> &again)
{
    if (::pipe2(signalPipe, O_CLOEXEC) != 0)
        return false;
    std::thread([first, again] {
        nameThread("board-signals");
        unsigned char byte = 0;
        while (::read(signalPipe[0], &byte, 1) == 1) {
            int expected = 0;
            if (caughtSignal.compare_exchange_strong(expected, byte))
                first(byte);
            else
                again(byte);
        }
    }).detach();
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    sim::SimOptions options;
    std::string error;
    sim::CommandTable commands;
    sim::addScenarioLanguage(commands);
    if (!options.parse(argc, argv, error)) {
        std::fprintf(stderr, "fieldmon-sim: %s\n%s%s", error.c_str(), sim::SimOptions::usage(),
                     commands.usage().c_str());
        return 2;
    }
    if (options.help) {
        std::printf("%s%s", sim::SimOptions::usage(), commands.usage().c_str());
        return 0;
    }
    if (options.headless) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        const std::string problem = sim::displayProblem();
        if (!problem.empty()) {
            std::fprintf(stderr, "fieldmon-sim: %s\n", problem.c_str());
            return 2;
        }
    }
    const std::string script = absolute(options.script);

    // Temporary root, working directory and runtime folder unless given; they
    // go at exit, and on Ctrl-C or SIGTERM.
    const bool ownRoot = options.root.empty();
    const bool ownWorkDir = options.workDir.empty();
    const std::string root = ownRoot ? sim::VirtualBoard::makeTemporaryRoot() : absolute(options.root);
    const std::string workDir = ownWorkDir ? makeTemporaryDir("fieldmon-work") : absolute(options.workDir);
    const std::string runtimeDir = ensureRuntimeDir();
    const std::string shotsDir = absolute(options.shotsDir.empty() ? "." : options.shotsDir);
    auto cleanUp = [=] {
        std::error_code ignored;
        if (ownRoot && !root.empty())
            fs::remove_all(root, ignored);
        if (ownWorkDir && !workDir.empty())
            fs::remove_all(workDir, ignored);
        if (!runtimeDir.empty())
            fs::remove_all(runtimeDir, ignored);
    };
    auto fail = [&](const std::string &message) {
        std::fprintf(stderr, "fieldmon-sim: %s\n", message.c_str());
        cleanUp();
        return exitBoardFailure;
    };
    if (root.empty() || workDir.empty() || !prepareWorkDir(workDir, error))
        return fail("cannot prepare the board: " + error);
    std::error_code shotsFailure;
    fs::create_directories(shotsDir, shotsFailure);
    if (shotsFailure)
        return fail("cannot create " + shotsDir + ": " + shotsFailure.message());

    sim::VirtualBoard board(root);
    if (!board.ok())
        return fail("cannot build the board in " + root + ": " + board.error());
    board.install();
    // Files a scenario hands to the board by relative name come from its folder.
    board.platform().setHostDirectory(script.empty() ? fs::current_path().string()
                                                     : fs::path(script).parent_path().string());
    if (chdir(workDir.c_str()) != 0)
        return fail("cannot enter " + workDir);

    sim::OutputCapture output;
    sim::ScenarioRunner runner(commands, board, output, shotsDir);
    if (!script.empty() && !runner.load(script, error)) {
        std::fprintf(stderr, "fieldmon-sim: %s\n", error.c_str());
        cleanUp();
        return 2;
    }

    const bool watching = watchSignals(
        [&runner](int number) {
            runner.context().post([number] { QCoreApplication::exit(exitSignalBase + number); });
        },
        [cleanUp](int number) {
            cleanUp();
            _exit(exitSignalBase + number);
        });
    if (!watching)
        return fail("cannot watch for signals");

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

    std::unique_ptr<sim::CommandLine> commandLine;
    int qtArgc = static_cast<int>(options.qtArguments.size()) - 1;
    const int applicationStatus = runApplication(qtArgc, options.qtArguments.data(), [&](MainWindow &window) {
        runner.attach(window);
        // A signal that came during the start ends the application now.
        if (const int number = caughtSignal.load())
            runner.context().post([number] { QCoreApplication::exit(exitSignalBase + number); });
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
            commandLine = std::make_unique<sim::CommandLine>(commands, runner.context());
            auto *control = new sim::ControlWindow(board, *commandLine, output, runner.context(), window);
            if (!script.empty())
                control->followScript(runner);
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [control] { delete control; });
            control->show();
            // The panel's picture, live beside the window.
            (new sim::PanelView(board, window))->show();
        }
        if (!script.empty())
            runner.start(window);
    });
    if (commandLine)
        commandLine->stop();
    const int signal = caughtSignal.load();
    // After a signal the script's current command is not waited for.
    const int status = signal != 0 ? exitSignalBase + signal : script.empty() ? applicationStatus : runner.join();
    console::print("[virtual board] the application ended with status %d\n", signal != 0 ? status : applicationStatus);
    output.stop();
    cleanUp();
    // The application's controller threads live until the process ends, as on
    // the monitor; end it here rather than tear the board down under them.
    std::fflush(nullptr);
    _exit(status);
}
