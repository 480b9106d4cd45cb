#include "VirtualBoard.h"

#include "HardwarePath.h"
#include "System.h"

#include <cstdlib>
#include <unistd.h>

namespace sim {

VirtualBoard::VirtualBoard(const std::string &root)
    : m_tree(root), m_pl(std::make_unique<PLModel>(m_tree.path("/dev/mem"))), m_scanReceiver(m_tree),
      m_platform(m_tree),
      m_interrupts(std::make_unique<InterruptModel>(m_tree)),
      m_mcu(std::make_unique<McuModel>(m_tree.serial())),
      m_video(std::make_unique<VideoModel>(m_tree, *m_pl, *m_interrupts))
{
    m_system.onSpiMessage([this](const std::vector<uint8_t> &message) { m_scanReceiver.receive(message); });
    // Power off (0x0D): the MCU removes the power.
    m_mcu->onCommand(0x0D, [this](const McuModel::Frame &) { m_platform.cutPower(); });
    if (m_tree.ok()) {
        m_interrupts->start();
        m_mcu->start();
        m_video->start();
    }
}

VirtualBoard::~VirtualBoard()
{
    if (&hw::system() == &m_system)
        hw::installSystem(nullptr);
}

bool VirtualBoard::ok() const
{
    return m_tree.ok() && m_pl->ok() && m_interrupts->ok() && m_mcu->ok() && m_video->ok();
}

std::string VirtualBoard::error() const
{
    if (!m_tree.ok())
        return m_tree.error();
    if (!m_pl->ok())
        return "the logic model cannot map dev/mem";
    if (!m_interrupts->ok())
        return "the interrupt lines cannot be served";
    if (!m_mcu->ok())
        return "the MCU line cannot be served";
    return m_video->ok() ? std::string() : "the video sources cannot map dev/mem";
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
