#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>

// One end of a named pipe, served by a thread of its own. The read end hands
// every read to readAction; the write end only opens and then writes through
// writeAction.
class Fifo
{
public:
    enum FifoType { FIFO_READ = 0, FIFO_WRITE = 1 };

    // The most bytes one read hands to readAction.
    static constexpr size_t readSize = 256;

    virtual ~Fifo();
    Fifo(const Fifo &) = delete;
    Fifo &operator=(const Fifo &) = delete;

    virtual void help() = 0;
    // text holds length bytes and a terminating zero; false asks for help().
    virtual bool readAction(char *text, int length) = 0;
    virtual int writeAction(char *data, unsigned &length);

    // Asks the thread to end, and wakes it.
    void close();

protected:
    Fifo(const std::string &path, FifoType type);
    // The thread calls the virtual operations: the most derived constructor
    // starts it last, and its destructor stops it first.
    void start();
    void stop();

private:
    void loop();
    void loopRead();
    void loopWrite();
    bool open();
    // Waits until the pipe is readable (true) or the thread is asked to end.
    bool select() const;

    std::atomic<bool> running{true};
    const std::string path;
    const FifoType type;
    std::atomic<int> fd{-1};
    // The read end's own writer: while it is open a reader never sees the end
    // of the pipe between two writers, and so never has to poll for the next.
    int keeper = -1;
    // Signalled by close().
    const int stopEvent;
    std::thread thread;
};
