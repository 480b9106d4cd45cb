#include "DeviceMem.h"

#include "Console.h"
#include "HardwarePath.h"

#include <cstdint>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

// Physical addresses above 2 GiB (the reset register) need 64-bit file offsets
// on 32-bit ARM as well.
static_assert(sizeof(off_t) == 8, "build with -D_FILE_OFFSET_BITS=64");

namespace {

constexpr unsigned int pageSize = 4096;
constexpr unsigned int pageOffsetMask = pageSize - 1;

} // namespace

const std::string DeviceMem::deviceName = "/dev/mem";

DeviceMem::DeviceMem(const std::string &name, unsigned int physicalAddress, unsigned int size)
    : m_size(size), m_physicalAddress(physicalAddress), m_name(name)
{
    init();
}

DeviceMem::~DeviceMem()
{
    munmmap();
    close();
}

bool DeviceMem::init()
{
    if (!open())
        return false;
    bool mapped = m_size < pageSize ? mmap(m_physicalAddress) : mmap(m_physicalAddress, m_size);
    close();
    return mapped;
}

bool DeviceMem::open()
{
    m_fd = ::open(hw::path(deviceName).c_str(), O_RDWR | O_SYNC);
    if (m_fd < 0) {
        m_fd = 0;
        console::error("open %s failed\n", deviceName.c_str());
        return false;
    }
    return true;
}

bool DeviceMem::mmap(unsigned int physicalAddress)
{
    const unsigned int pageStart = physicalAddress & ~pageOffsetMask;
    void *base = ::mmap(nullptr, pageSize, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd,
                        static_cast<off_t>(pageStart));
    if (base == MAP_FAILED) {
        console::error("module[%s] mmap phyics[0x%08x] failed\n", m_name.c_str(), physicalAddress);
        return false;
    }
    m_mappingBase = base;
    m_accessAddress = static_cast<char *>(base) + (physicalAddress & pageOffsetMask);
    return true;
}

bool DeviceMem::mmap(unsigned int offset, unsigned int length)
{
    void *base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd,
                        static_cast<off_t>(offset));
    if (base == MAP_FAILED) {
        console::error("module[%s] mmap phyics[0x%08x] size:%d failed\n", m_name.c_str(),
                       m_physicalAddress, static_cast<int>(length));
        return false;
    }
    m_mappingBase = base;
    m_accessAddress = base;
    return true;
}

unsigned int DeviceMem::read() const
{
    if (m_accessAddress == nullptr) {
        console::error("read [%s]:: phyicsAddr:0x%08x failed,virAddr is null\n", m_name.c_str(),
                       m_physicalAddress);
        return 0;
    }
    return *static_cast<volatile uint32_t *>(m_accessAddress);
}

bool DeviceMem::write(unsigned int value) const
{
    if (m_accessAddress == nullptr) {
        console::error("write [%s]:: phyicsAddr:0x%08x failed,virAddr is null\n", m_name.c_str(),
                       m_physicalAddress);
        return false;
    }
    *static_cast<volatile uint32_t *>(m_accessAddress) = value;
    sync();
    return true;
}

int DeviceMem::sync() const
{
    if (m_mappingBase == nullptr)
        return -1;
    // msync wants a page-aligned start: flush from the mapping base through the
    // end of the window.
    const size_t lead = static_cast<char *>(m_accessAddress) - static_cast<char *>(m_mappingBase);
    return ::msync(m_mappingBase, lead + m_size, MS_SYNC);
}

bool DeviceMem::munmmap()
{
    // A register's recorded size is 4 but its mapping is the whole page.
    const unsigned int mapped = m_size < pageSize ? pageSize : m_size;
    if (m_mappingBase != nullptr && ::munmap(m_mappingBase, mapped) == 0) {
        m_mappingBase = nullptr;
        m_accessAddress = nullptr;
        m_size = 0;
    }
    return true;
}

bool DeviceMem::close()
{
    if (m_fd >= 1) {
        ::close(m_fd);
        m_fd = 0;
    }
    return true;
}
