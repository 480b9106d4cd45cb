#include "VirtualBoard.h"

#include "HardwarePath.h"

#include <cstdlib>
#include <unistd.h>

namespace sim {

VirtualBoard::VirtualBoard(const std::string &root)
    : m_tree(root), m_pl(std::make_unique<PLModel>(m_tree.path("/dev/mem")))
{
}

bool VirtualBoard::ok() const
{
    return m_tree.ok() && m_pl->ok();
}

std::string VirtualBoard::error() const
{
    if (!m_tree.ok())
        return m_tree.error();
    return m_pl->ok() ? std::string() : "the logic model cannot map dev/mem";
}

void VirtualBoard::install()
{
    hw::setRoot(m_tree.root());
    hw::installSystem(&m_system);
}

std::string VirtualBoard::makeTemporaryRoot()
{
    // Register writes flush their page: keep dev/mem in memory when possible.
    const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/fieldmon-board-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return std::string();
    return pattern;
}

} // namespace sim
