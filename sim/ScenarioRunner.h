#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace sim {

class OutputCapture;
class VirtualBoard;

// The result of one scenario line; the exit status of the whole run is that of
// the first line that did not pass.
struct Outcome {
    enum Status { Passed = 0, Failed = 1, ScriptError = 2 };
    Status status = Passed;
    std::string message;
    bool stop = false; // the script ends here

    static Outcome passed() { return {}; }
    static Outcome quit() { return {Passed, std::string(), true}; }
    static Outcome failed(const std::string &expected, const std::string &found)
    {
        return {Failed, "expected " + expected + ", found " + found, false};
    }
    static Outcome error(const std::string &message) { return {ScriptError, message, false}; }
};

// What a command acts on: the board's backend, the application's output and,
// on the user-interface thread, its main window.
class ScenarioContext
{
public:
    ScenarioContext(VirtualBoard &board, OutputCapture &output, const std::string &shotsDir)
        : board(board), output(output), shotsDir(shotsDir)
    {
    }

    VirtualBoard &board;
    OutputCapture &output;
    const std::string shotsDir;

    // Runs work on the user-interface thread and waits for it; false when the
    // application has ended (nothing ran).
    bool onUi(const std::function<void(QWidget &window)> &work);
    // Queues work to the user-interface thread while the application runs;
    // false (dropped) once it has ended.
    bool post(std::function<void()> work);

private:
    friend class ScenarioRunner;

    QPointer<QWidget> m_window;
    std::mutex m_lifeMutex;
    bool m_applicationRunning = false;
};

// One command of the script language: its name (one word, or two for the
// "expect" family), a usage line, a syntax check of its arguments (an empty
// text when they are fine) and its action.
struct ScenarioCommand {
    std::string name;
    std::string usage;
    std::function<std::string(const std::vector<std::string> &arguments)> check;
    std::function<Outcome(ScenarioContext &context, const std::vector<std::string> &arguments)> run;
};

// The script language: every command by name.
class CommandTable
{
public:
    void add(const ScenarioCommand &command);
    // The command that the words start with (two-word names first); nameWords
    // tells how many words its name took. Null when there is none.
    const ScenarioCommand *find(const std::vector<std::string> &words, size_t &nameWords) const;
    // Checks one line of the language: the command it names and its
    // arguments, or what is wrong with it (empty when nothing is). A blank or
    // comment-only line leaves command null.
    std::string check(const std::string &line, const ScenarioCommand *&command,
                      std::vector<std::string> &arguments) const;
    std::string usage() const;

private:
    std::map<std::string, ScenarioCommand> m_commands;
};

// Reads a scenario script (one command a line, '#' starts a comment, double
// quotes group words), checks every line before anything runs, then drives the
// board from its own thread while the application runs.
class ScenarioRunner
{
public:
    ScenarioRunner(const CommandTable &commands, VirtualBoard &board, OutputCapture &output,
                   const std::string &shotsDir);
    ~ScenarioRunner();

    // Reads and checks the script; on a script error returns false with the
    // message (naming the line) in error.
    bool load(const std::string &path, std::string &error);

    // Starts the script against the shown window (attaching to it unless
    // that is done); when it ends, the application is asked to exit with the
    // script's status.
    void start(QWidget &window);
    // Commands act on the shown window from now on, from the script or from
    // the command line.
    void attach(QWidget &window);
    ScenarioContext &context() { return m_context; }
    // The loaded script's lines with their numbers.
    std::vector<std::pair<int, std::string>> scriptLines() const;
    // Told, on the script's thread, when a line starts (outcome null) and
    // how it ended. Set before start().
    void onLine(std::function<void(int number, const Outcome *outcome)> observer);
    // From the application's last moments on, nothing is queued to it.
    void applicationEnded();
    // Waits for the script to end; its exit status.
    int join();

    // Splits one line into words; false on an unterminated quote.
    static bool split(const std::string &line, std::vector<std::string> &words);

private:
    struct Line {
        int number;
        std::string text;
        const ScenarioCommand *command;
        std::vector<std::string> arguments;
    };

    void run();

    const CommandTable &m_commands;
    ScenarioContext m_context;
    std::vector<Line> m_lines;
    std::string m_scriptName;
    std::thread m_thread;
    int m_status = 0;
    std::function<void(int number, const Outcome *outcome)> m_observer;
};

// The commands every board has: time, registers, widgets, files, settings,
// output, USB stick, screenshots.
void addCoreCommands(CommandTable &commands);

// Looks a widget up by object name (the window itself included), or by a
// path of names ("ResetSystem/msgOk") where names repeat, on the
// user-interface thread and hands it to inspect; the outcome says when there
// is no such widget or no application.
Outcome withWidget(ScenarioContext &context, const std::string &name,
                   const std::function<Outcome(QWidget &widget)> &inspect);

// A decimal integer within [min, max].
bool parseInteger(const std::string &text, long min, long max, long &value);

// The window as the panel shows it: the interface plane over an empty (black)
// picture.
QImage osdImage(QWidget &window);

} // namespace sim
