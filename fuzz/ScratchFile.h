#pragma once

#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The file a file-reading fuzzer writes each input to: in memory, so that no
// run leaves one behind, and reachable by path for the reader under test.
class ScratchFile
{
public:
    explicit ScratchFile(const char *name)
        : m_fd(memfd_create(name, 0)), m_path("/proc/self/fd/" + std::to_string(m_fd))
    {
    }

    const std::string &path() const { return m_path; }

    bool write(const std::string &text) const
    {
        return ftruncate(m_fd, 0) == 0
            && pwrite(m_fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size());
    }

private:
    int m_fd;
    std::string m_path;
};
