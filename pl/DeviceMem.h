#pragma once

#include <string>

// One window of physical address space mapped through the physical-memory
// device. A window below one page maps the page holding the address (a single
// register); a larger one maps the whole length from a page-aligned address (a
// memory region). A window that failed to map stays usable: reads give 0 and
// writes are dropped, each with its error line.
class DeviceMem
{
public:
    DeviceMem(const std::string &name, unsigned int physicalAddress, unsigned int size);
    virtual ~DeviceMem();

    DeviceMem(const DeviceMem &) = delete;
    DeviceMem &operator=(const DeviceMem &) = delete;

    virtual unsigned int read() const;
    virtual bool write(unsigned int value) const;

    bool init();
    bool open();
    bool mmap(unsigned int physicalAddress);
    bool mmap(unsigned int offset, unsigned int length);
    int sync() const;
    bool munmmap();
    bool close();

    void *accessAddress() const { return m_accessAddress; }
    unsigned int size() const { return m_size; }
    unsigned int physicalAddress() const { return m_physicalAddress; }
    const std::string &name() const { return m_name; }

    static const std::string deviceName;

private:
    int m_fd = 0;
    unsigned int m_size;
    unsigned int m_physicalAddress;
    void *m_accessAddress = nullptr;
    void *m_mappingBase = nullptr;
    std::string m_name;
};
