#include "ScenarioRunner.h"

#include "Console.h"
#include "ThreadName.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <fstream>
#include <future>
#include <memory>

namespace sim {

namespace {

constexpr std::chrono::milliseconds uiPollInterval(50);

} // namespace

bool ScenarioContext::post(std::function<void()> work)
{
    std::lock_guard<std::mutex> lock(m_lifeMutex);
    if (!m_applicationRunning)
        return false;
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
    return true;
}

bool ScenarioContext::onUi(const std::function<void(QWidget &window)> &work)
{
    auto done = std::make_shared<std::promise<bool>>();
    std::future<bool> result = done->get_future();
    QPointer<QWidget> window = m_window;
    const bool posted = post([done, window, work] {
        if (window)
            work(*window);
        done->set_value(!window.isNull());
    });
    if (!posted)
        return false;
    while (result.wait_for(uiPollInterval) != std::future_status::ready) {
        std::lock_guard<std::mutex> lock(m_lifeMutex);
        if (!m_applicationRunning)
            return false;
    }
    return result.get();
}

ScenarioRunner::ScenarioRunner(const CommandTable &commands, VirtualBoard &board, OutputCapture &output,
                               const std::string &shotsDir)
    : m_commands(commands), m_context(board, output, shotsDir)
{
}

ScenarioRunner::~ScenarioRunner()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CommandTable::add(const ScenarioCommand &command)
{
    m_commands[command.name] = command;
}

std::string CommandTable::usage() const
{
    std::string text;
    for (const auto &entry : m_commands)
        text += "  " + entry.second.usage + "\n";
    return text;
}

bool ScenarioRunner::split(const std::string &line, std::vector<std::string> &words)
{
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size())
                    ++i;
                word += line[i];
            }
            if (i >= line.size())
                return false;
            ++i;
            words.push_back(word);
        } else {
            size_t end = line.find_first_of(" \t\r", i);
            if (end == std::string::npos)
                end = line.size();
            words.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return true;
}

const ScenarioCommand *CommandTable::find(const std::vector<std::string> &words, size_t &nameWords) const
{
    if (words.size() >= 2) {
        auto found = m_commands.find(words[0] + " " + words[1]);
        if (found != m_commands.end()) {
            nameWords = 2;
            return &found->second;
        }
    }
    auto found = m_commands.find(words[0]);
    if (found == m_commands.end())
        return nullptr;
    nameWords = 1;
    return &found->second;
}

std::string CommandTable::check(const std::string &line, const ScenarioCommand *&command,
                                std::vector<std::string> &arguments) const
{
    command = nullptr;
    arguments.clear();
    std::vector<std::string> words;
    if (!ScenarioRunner::split(line, words))
        return "unterminated quote";
    if (words.empty())
        return std::string();
    size_t nameWords = 0;
    const ScenarioCommand *found = find(words, nameWords);
    if (found == nullptr)
        return "unknown command '" + words[0] + "'";
    std::vector<std::string> rest(words.begin() + static_cast<long>(nameWords), words.end());
    const std::string problem = found->check(rest);
    if (!problem.empty())
        return problem + " (usage: " + found->usage + ")";
    command = found;
    arguments = std::move(rest);
    return std::string();
}

bool ScenarioRunner::load(const std::string &path, std::string &error)
{
    std::ifstream file(path);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    m_scriptName = path;
    m_lines.clear();
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        const ScenarioCommand *command = nullptr;
        std::vector<std::string> arguments;
        const std::string problem = m_commands.check(text, command, arguments);
        if (!problem.empty()) {
            error = path + " line " + std::to_string(number) + ": " + problem;
            return false;
        }
        if (command == nullptr)
            continue;
        m_lines.push_back({number, text, command, arguments});
    }
    return true;
}

void ScenarioRunner::start(QWidget &window)
{
    if (m_context.m_window != &window)
        attach(window);
    m_thread = std::thread(&ScenarioRunner::run, this);
}

void ScenarioRunner::attach(QWidget &window)
{
    m_context.m_window = &window;
    {
        std::lock_guard<std::mutex> lock(m_context.m_lifeMutex);
        m_context.m_applicationRunning = true;
    }
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [this] { applicationEnded(); });
}

std::vector<std::pair<int, std::string>> ScenarioRunner::scriptLines() const
{
    std::vector<std::pair<int, std::string>> lines;
    for (const Line &line : m_lines)
        lines.emplace_back(line.number, line.text);
    return lines;
}

void ScenarioRunner::onLine(std::function<void(int number, const Outcome *outcome)> observer)
{
    m_observer = std::move(observer);
}

void ScenarioRunner::applicationEnded()
{
    std::lock_guard<std::mutex> lock(m_context.m_lifeMutex);
    m_context.m_applicationRunning = false;
}

int ScenarioRunner::join()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_status;
}

void ScenarioRunner::run()
{
    nameThread("board-script");
    for (const Line &line : m_lines) {
        console::print("[scenario] %d: %s\n", line.number, line.text.c_str());
        if (m_observer)
            m_observer(line.number, nullptr);
        const Outcome outcome = line.command->run(m_context, line.arguments);
        if (m_observer)
            m_observer(line.number, &outcome);
        if (outcome.status == Outcome::Passed) {
            if (outcome.stop)
                break;
            continue;
        }
        m_status = outcome.status;
        console::print("[scenario] %s line %d: %s: %s\n", m_scriptName.c_str(), line.number, line.text.c_str(),
                       outcome.message.c_str());
        break;
    }
    if (m_status == Outcome::Passed)
        console::print("[scenario] %s: every check passed\n", m_scriptName.c_str());
    const int status = m_status;
    m_context.post([status] { QCoreApplication::exit(status); });
}

} // namespace sim
