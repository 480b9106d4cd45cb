#include "Version.h"

#include "PLControl.h"


namespace {

constexpr const char *softVersion = "0348";

} // namespace

Version::Version() : m_pl(PLControl::getInstance())
{
}

void Version::getSoftVersion(std::string &version) const
{
    version = softVersion;
}

void Version::getFPGAVersion(std::string &version) const
{
    // Eight 4-bit groups, most significant first, each as a decimal number.
    const unsigned int value = m_pl->getValue(FPGA_VER_NUM);
    version.clear();
    for (int shift = 28; shift >= 0; shift -= 4)
        version += std::to_string((value >> shift) & 0xF);
}

void Version::getMcuVersion(std::string &version) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    version = m_mcuVersion;
}

void Version::setMcuVersion(const std::string &version)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_mcuVersion = version;
}

void Version::mcuApplyUpgrade()
{
    emit signalMcuUpgrade();
}
