#pragma once

#include "ScenarioRunner.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

// Lines of the scenario language typed by hand (or issued by the control
// window's buttons): each is checked as a script line is, then run on the
// command line's own thread, one after another, against the board and the
// shown window.
class CommandLine
{
public:
    using Done = std::function<void(const Outcome &outcome)>;

    CommandLine(const CommandTable &commands, ScenarioContext &context);
    // Waits for the line that runs; lines still queued are dropped.
    ~CommandLine();
    CommandLine(const CommandLine &) = delete;
    CommandLine &operator=(const CommandLine &) = delete;

    // A line that is not a command of the language (or only a comment) gives
    // the script error text and nothing runs. Otherwise the line is queued,
    // and done is told its outcome on the user-interface thread, while the
    // application runs.
    std::string submit(const std::string &line, Done done);
    // Runs nothing more; what runs goes on to its end.
    void stop();

private:
    struct Entry {
        const ScenarioCommand *command = nullptr;
        std::vector<std::string> arguments;
        Done done;
    };

    void run();

    const CommandTable &m_commands;
    ScenarioContext &m_context;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Entry> m_queue;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace sim
