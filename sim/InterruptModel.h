#pragma once

#include "DeviceTree.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

// The logic's six interrupt lines as userspace-I/O devices, and the front
// keys behind three of them.
//
// Device side, on each line's pseudo-terminal: every interrupt delivered adds
// one to the line's count and sends the new count as 4 bytes; the line is then
// masked until the application writes the 32-bit value 1 (0 masks it again).
// An event is delivered at once only while the line is unmasked and enabled
// in FPGA_INIT_CTL (bit 4n); otherwise it is remembered, and any number of
// remembered events arrive as one interrupt once the line is unmasked and
// enabled again. Acknowledge bits (4n+1) are noticed whenever the logic looks
// at the register (every unmask, every event, every tick while a line waits),
// counted and cleared. The keys hold their level in SDI_IN_INFO bits 25 to 27
// while pressed and raise their line (3 to 5) on the press.
//
// Backend side: the calls below, for tests and scenario scripts; they may come
// from any thread.
class InterruptModel
{
public:
    static constexpr int lineCount = DeviceTree::uioCount;
    enum Key { F1 = 0, F2 = 1, F3 = 2 };

    explicit InterruptModel(DeviceTree &tree);
    ~InterruptModel();
    InterruptModel(const InterruptModel &) = delete;
    InterruptModel &operator=(const InterruptModel &) = delete;

    bool start();
    void stop();
    // Started and serving its lines.
    bool ok() const;

    // The logic raises a line once.
    void raise(int line);

    void press(Key key);
    void release(Key key);
    // Pressed and released again at once, well within one key poll.
    void click(Key key);
    // Pressed together, held for the duration, released; returns after it.
    void hold(const std::vector<Key> &keys, std::chrono::milliseconds duration);

    // An event now would be delivered at once.
    bool isArmed(int line) const;
    uint32_t count(int line) const;
    int acknowledgements(int line) const;

    // Faults. The device file of a line disappears; or becomes one that
    // takes no writes (the unmask fails); or one that reads nothing (every
    // read fails). A stalled line keeps the application's unmask write
    // waiting until the stall is lifted.
    bool removeDevice(int line);
    bool refuseUnmask(int line);
    bool failReads(int line);
    void stallUnmask(int line, bool stalled);

    static bool validLine(int line) { return line >= 0 && line < lineCount; }

private:
    struct Line {
        uint32_t count = 0;
        bool masked = true;
        bool remembered = false;
        bool stalled = false;
        int acknowledgements = 0;
        int flowFd = -1;     // a slave descriptor to stop and restart the line's writes
        std::string partial; // bytes of an unmask word still incomplete
    };

    void run();
    void receive(int line);
    void wake();
    bool needsTicks() const;
    bool enabled(int line) const;
    void noticeAcknowledgements();
    void deliverWaiting();
    void deliver(int line);
    void setLevel(Key key, bool down);
    bool replaceDevice(int line, const char *target);

    DeviceTree &m_tree;
    uint32_t *m_control = nullptr; // FPGA_INIT_CTL, only touched atomically
    uint32_t *m_keys = nullptr;    // SDI_IN_INFO, likewise
    void *m_page = nullptr;
    mutable std::mutex m_mutex;
    std::array<Line, lineCount> m_lines;
    int m_wake[2] = {-1, -1};
    bool m_running = false;
    std::thread m_thread;
};

} // namespace sim
