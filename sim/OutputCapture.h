#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

// Tees the process's standard output and standard error through pipes: every
// byte still reaches the original streams, and every line is kept so that a
// scenario can ask whether the application printed something.
class OutputCapture
{
public:
    OutputCapture() = default;
    ~OutputCapture();
    OutputCapture(const OutputCapture &) = delete;
    OutputCapture &operator=(const OutputCapture &) = delete;

    bool start();
    // Restores the original streams after everything written so far arrived.
    void stop();

    bool contains(const std::string &text) const;
    // Every line kept so far, then each new one as it comes (on a reader
    // thread, one at a time); an empty listener stops that.
    void setListener(std::function<void(const std::string &line)> listener);

private:
    struct Stream {
        int target = -1;   // the stream being captured (1 or 2)
        int original = -1; // a copy of where it went before
        int readEnd = -1;
        std::thread reader;
        std::string partial;
    };

    bool capture(Stream &stream, int target);
    void pump(Stream &stream);
    void keepLine(const std::string &line);

    Stream m_out;
    Stream m_err;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::function<void(const std::string &line)> m_listener;
    bool m_running = false;
};

} // namespace sim
