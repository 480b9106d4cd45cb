#pragma once

#include "PLModel.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

// Watches one register bit from the logic's side, spinning on its own thread,
// and at the moment the bit first reads the awaited level records the
// register word and runs a capture of whatever else the test wants to see at
// that instant (a memory region, other registers). Strobes last 5 ms; a
// loaded machine may now and then keep the watcher off the processor that
// long, so callers repeat the operation until the edge was seen.
class BitWatch
{
public:
    BitWatch(sim::PLModel &pl, FunctionTypeIndex identifier, int bit, bool level,
             std::function<void(uint32_t)> capture = {})
    {
        m_thread = std::thread([this, &pl, identifier, bit, level, capture] {
            m_started = true;
            while (!m_stop) {
                const uint32_t word = pl.get(identifier);
                if (((word >> bit) & 1u) == (level ? 1u : 0u)) {
                    m_word = word;
                    if (capture)
                        capture(word);
                    m_seen = true;
                    return;
                }
            }
        });
        while (!m_started)
            std::this_thread::yield();
    }

    ~BitWatch() { finish(); }

    // Stops watching; whether the level was seen.
    bool finish()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_seen;
    }

    uint32_t word() const { return m_word; }

private:
    std::thread m_thread;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_seen{false};
    std::atomic<uint32_t> m_word{0};
};

// Runs prepare() and then action() under a fresh watch, again and again until
// a watch saw its edge (and ran capture at that instant); false when none did.
inline bool watchEdge(sim::PLModel &pl, FunctionTypeIndex identifier, int bit, bool level,
                      const std::function<void()> &prepare, const std::function<void()> &action,
                      const std::function<void(uint32_t)> &capture)
{
    constexpr int attempts = 25;
    for (int i = 0; i < attempts; ++i) {
        prepare();
        BitWatch watch(pl, identifier, bit, level, capture);
        action();
        if (watch.finish())
            return true;
    }
    return false;
}
