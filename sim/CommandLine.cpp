#include "CommandLine.h"

#include "Console.h"
#include "ThreadName.h"

#include <QCoreApplication>

namespace sim {

CommandLine::CommandLine(const CommandTable &commands, ScenarioContext &context)
    : m_commands(commands), m_context(context), m_thread(&CommandLine::run, this)
{
}

CommandLine::~CommandLine()
{
    stop();
    if (m_thread.joinable())
        m_thread.join();
}

std::string CommandLine::submit(const std::string &line, Done done)
{
    const ScenarioCommand *command = nullptr;
    std::vector<std::string> arguments;
    const std::string problem = m_commands.check(line, command, arguments);
    if (!problem.empty())
        return problem;
    if (command == nullptr)
        return "no command";
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping)
        return "the board has stopped";
    m_queue.push_back({command, std::move(arguments), std::move(done)});
    m_wake.notify_one();
    return std::string();
}

void CommandLine::stop()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
    m_queue.clear();
    m_wake.notify_one();
}

void CommandLine::run()
{
    nameThread("board-commands");
    for (;;) {
        Entry entry;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping)
                return;
            entry = std::move(m_queue.front());
            m_queue.pop_front();
        }
        const Outcome outcome = entry.command->run(m_context, entry.arguments);
        if (outcome.status != Outcome::Passed)
            console::print("[command line] %s\n", outcome.message.c_str());
        if (entry.done)
            m_context.post([done = std::move(entry.done), outcome] { done(outcome); });
        // "quit" ends the application, as it ends a script.
        if (outcome.stop)
            m_context.post([] { QCoreApplication::exit(0); });
    }
}

} // namespace sim
