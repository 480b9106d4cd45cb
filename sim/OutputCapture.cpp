#include "OutputCapture.h"

#include "ThreadName.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

OutputCapture::~OutputCapture()
{
    stop();
}

bool OutputCapture::start()
{
    std::fflush(stdout);
    std::fflush(stderr);
    m_running = capture(m_out, STDOUT_FILENO) && capture(m_err, STDERR_FILENO);
    return m_running;
}

bool OutputCapture::capture(Stream &stream, int target)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    stream.target = target;
    stream.original = fcntl(target, F_DUPFD_CLOEXEC, 3);
    stream.readEnd = ends[0];
    if (stream.original < 0 || dup2(ends[1], target) < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    ::close(ends[1]);
    stream.reader = std::thread(&OutputCapture::pump, this, std::ref(stream));
    return true;
}

void OutputCapture::pump(Stream &stream)
{
    nameThread("board-output");
    char buffer[4096];
    for (;;) {
        ssize_t count = ::read(stream.readEnd, buffer, sizeof(buffer));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        for (ssize_t done = 0; done < count;) {
            ssize_t written = ::write(stream.original, buffer + done, static_cast<size_t>(count - done));
            if (written <= 0)
                break;
            done += written;
        }
        stream.partial.append(buffer, static_cast<size_t>(count));
        size_t end;
        while ((end = stream.partial.find('\n')) != std::string::npos) {
            keepLine(stream.partial.substr(0, end));
            stream.partial.erase(0, end + 1);
        }
    }
    if (!stream.partial.empty())
        keepLine(stream.partial);
}

void OutputCapture::keepLine(const std::string &line)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(line);
    if (m_listener)
        m_listener(line);
}

void OutputCapture::setListener(std::function<void(const std::string &line)> listener)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listener = std::move(listener);
    if (m_listener) {
        for (const std::string &line : m_lines)
            m_listener(line);
    }
}

void OutputCapture::stop()
{
    if (!m_running)
        return;
    m_running = false;
    std::fflush(stdout);
    std::fflush(stderr);
    for (Stream *stream : {&m_out, &m_err}) {
        // Pointing the stream back closes the pipe's last write end: the reader
        // drains what is left and sees the end.
        dup2(stream->original, stream->target);
        if (stream->reader.joinable())
            stream->reader.join();
        ::close(stream->readEnd);
        ::close(stream->original);
    }
}

bool OutputCapture::contains(const std::string &text) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const std::string &line : m_lines) {
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace sim
