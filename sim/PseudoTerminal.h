#pragma once

#include <string>

namespace sim {

// A raw pseudo-terminal pair. The application opens the slave through its path
// (a device file of the virtual board links to it); the model reads and writes
// the master. A second slave descriptor stays open here, so that the master
// never sees EIO while the application has its end closed.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool open();
    int master() const { return m_master; }
    const std::string &slavePath() const { return m_slavePath; }

    // Writes every byte or fails; true when all were written.
    bool send(const void *data, size_t length) const;
    // Reads what is there within timeoutMs; the count read, 0 on time-out,
    // -1 on failure.
    long receive(void *data, size_t capacity, int timeoutMs) const;

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace sim
