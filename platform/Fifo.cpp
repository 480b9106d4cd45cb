#include "Fifo.h"

#include "Console.h"
#include "ThreadName.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Only without a stop event does the reader look at the running flag on a
// time-out.
constexpr long selectWaitUs = 30000;
constexpr std::chrono::milliseconds idleWait(30);
constexpr mode_t fifoMode = 0777;

} // namespace

Fifo::Fifo(const std::string &path, FifoType type)
    : path(path), type(type), stopEvent(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

Fifo::~Fifo()
{
    stop();
    if (stopEvent >= 0)
        ::close(stopEvent);
}

void Fifo::start()
{
    thread = std::thread(&Fifo::loop, this);
}

void Fifo::stop()
{
    close();
    if (thread.joinable())
        thread.join();
    const int descriptor = fd.exchange(-1);
    if (descriptor >= 0)
        ::close(descriptor);
}

void Fifo::close()
{
    running = false;
    const uint64_t one = 1;
    if (stopEvent >= 0 && ::write(stopEvent, &one, sizeof(one)) < 0 && errno != EAGAIN)
        console::error("fifo %s stop failed\n", path.c_str());
}

void Fifo::loop()
{
    nameThread(type == FIFO_READ ? "fifo-reader" : "fifo-writer");
    if (type == FIFO_READ)
        loopRead();
    else
        loopWrite();
}

// Both ends open without blocking: the read end needs no writer to be there,
// and the write end waits for a reader by trying again, so that either can be
// stopped at any time. The pipe is made unless the name is there already; the
// other end may be making it at the same moment, so a name that appeared
// meanwhile is no failure as long as it is a pipe.
bool Fifo::open()
{
    struct stat info;
    const bool there = ::mkfifo(path.c_str(), fifoMode) == 0 || errno == EEXIST;
    const bool isPipe = there && ::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    if (there && !isPipe)
        errno = EEXIST; // something else has the name
    if (!isPipe) {
        console::warning("creat %s fif0 failed\n", path.c_str());
        return false;
    }
    const int flags = (type == FIFO_READ ? O_RDONLY : O_WRONLY) | O_NONBLOCK | O_CLOEXEC;
    const int descriptor = ::open(path.c_str(), flags);
    if (descriptor < 0) {
        // A write end without a reader yet is no failure.
        if (!(type == FIFO_WRITE && errno == ENXIO))
            console::warning("creat %s fif0 failed\n", path.c_str());
        return false;
    }
    fd = descriptor;
    if (type == FIFO_READ)
        keeper = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    return true;
}

bool Fifo::select() const
{
    const int descriptor = fd;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(descriptor, &readable);
    if (stopEvent >= 0)
        FD_SET(stopEvent, &readable);
    timeval fallback{0, selectWaitUs};
    const bool waitForever = stopEvent >= 0 && keeper >= 0;
    return ::select(std::max(descriptor, stopEvent) + 1, &readable, nullptr, nullptr,
                    waitForever ? nullptr : &fallback)
               > 0
           && FD_ISSET(descriptor, &readable);
}

void Fifo::loopRead()
{
    if (!open())
        return;
    std::signal(SIGPIPE, SIG_IGN);
    char buffer[readSize + 1];
    while (running) {
        if (!select())
            continue;
        const ssize_t count = ::read(fd, buffer, readSize);
        if (count >= 1) {
            buffer[count] = '\0';
            if (!readAction(buffer, static_cast<int>(count)))
                help();
        } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
            // No writer, or nothing to read after all.
            std::this_thread::sleep_for(idleWait);
        }
    }
    const int descriptor = fd.exchange(-1);
    if (descriptor >= 0)
        ::close(descriptor);
    if (keeper >= 0)
        ::close(keeper);
    keeper = -1;
}

void Fifo::loopWrite()
{
    while (running && !open()) {
        if (errno != ENXIO)
            return;
        std::this_thread::sleep_for(idleWait);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

int Fifo::writeAction(char *data, unsigned &length)
{
    if (type != FIFO_WRITE) {
        console::error("fifo %s is only write\n", path.c_str());
        return 0;
    }
    const int descriptor = fd;
    if (descriptor < 0) {
        console::error("fifo %s error\n", path.c_str());
        return 0;
    }
    return static_cast<int>(::write(descriptor, data, length));
}
