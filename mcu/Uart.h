#pragma once

#include "ThreadName.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <termios.h>
#include <thread>

// The serial line to the MCU: a raw terminal at a given speed and framing, block
// writes, and one detached reader thread that hands every block it reads to a
// byte consumer. The device path is the platform's ("/dev/ttyPS1"); the file
// opened is that path under the hardware root.
class Uart
{
public:
    Uart();
    Uart(const std::string &path, int speed, char parity, int dataBits, int stopBits);
    virtual ~Uart();
    Uart(const Uart &) = delete;
    Uart &operator=(const Uart &) = delete;

    bool init(const std::string &path, int speed, char parity, int dataBits, int stopBits);
    bool open();
    bool set(int speed, char parity, int dataBits, int stopBits);
    // The raw configuration set() applies, built from nothing.
    static struct termios lineSettings(int speed, char parity, int dataBits, int stopBits);
    int write(const void *buffer, size_t length);
    int operator()(const void *buffer, size_t length) { return write(buffer, length); }
    // Waits for input; true when the line is readable. Returns false at
    // once when the port is opened, closed or stopped meanwhile, so that the
    // reader looks at it again.
    bool select();
    bool close();

    // Starts the reader thread once; the consumer is called as
    // consumer(const unsigned char *bytes, int count) on that thread and must
    // outlive it.
    template <class Consumer>
    bool start(Consumer &consumer);

    template <class Consumer>
    void loop(Consumer &consumer);

private:
    bool isOpen() const { return m_fd > 0; }
    // Wakes a reader waiting in select().
    void wakeReader();
    // Prints that the port is not open; false.
    bool notOpen() const;
    // One read() into buffer; the count, or 0 or less when nothing came.
    long readSome(unsigned char *buffer, size_t capacity);

    static constexpr size_t readSize = 128;

    std::atomic<int> m_fd{-1};
    std::atomic<bool> m_running{false};
    // Signalled when the descriptor or the running flag changes.
    const int m_wake;
    std::string m_path;
    std::mutex m_startMutex;
};

template <class Consumer>
bool Uart::start(Consumer &consumer)
{
    if (!isOpen())
        return notOpen();
    std::lock_guard<std::mutex> lock(m_startMutex);
    if (m_running)
        return true;
    m_running = true;
    std::thread([this, &consumer] { loop(consumer); }).detach();
    return true;
}

template <class Consumer>
void Uart::loop(Consumer &consumer)
{
    nameThread("mcu-reader");
    unsigned char buffer[readSize];
    while (m_running) {
        if (!select())
            continue;
        const long count = readSome(buffer, sizeof(buffer));
        if (count > 0)
            consumer(buffer, static_cast<int>(count));
    }
}
