#include "PLModel.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr uint32_t pageSize = 4096;

} // namespace

uint32_t fieldMask(int high, int low)
{
    if (low < 0 || high > 31 || low > high)
        return 0;
    const uint32_t upTo = high == 31 ? 0xFFFFFFFFu : (1u << (high + 1)) - 1u;
    return upTo & ~((1u << low) - 1u);
}

PLModel::PLModel(const std::string &memoryFile)
{
    m_fd = ::open(memoryFile.c_str(), O_RDWR | O_CLOEXEC);
    if (m_fd < 0)
        return;
    m_ok = true;
    for (size_t i = 0; i < plRegisterCount; ++i) {
        const PLRegisterRecord &record = plRegisterTable[i];
        void *page = mapPage(record.physicalAddress & ~(pageSize - 1));
        if (page == nullptr) {
            m_ok = false;
            continue;
        }
        m_words[record.identifier] = reinterpret_cast<volatile uint32_t *>(
            static_cast<char *>(page) + (record.physicalAddress & (pageSize - 1)));
    }
    for (int i = 0; i < PLMemory::memoryCount; ++i) {
        const auto index = static_cast<PLMemory::MemoryIndex>(i);
        const size_t size = PLMemory::getPhyicsSize(index);
        void *region = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd,
                              static_cast<off_t>(PLMemory::getPhyicsAddr(index)));
        if (region == MAP_FAILED) {
            m_ok = false;
            continue;
        }
        m_regions[i] = {region, size};
    }
}

PLModel::~PLModel()
{
    stopWriteLog();
    for (auto &page : m_pages)
        ::munmap(page.second, pageSize);
    for (auto &region : m_regions)
        ::munmap(region.second.first, region.second.second);
    if (m_fd >= 0)
        ::close(m_fd);
}

void *PLModel::mapPage(uint32_t pageAddress)
{
    auto found = m_pages.find(pageAddress);
    if (found != m_pages.end())
        return found->second;
    void *page = ::mmap(nullptr, pageSize, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd,
                        static_cast<off_t>(pageAddress));
    if (page == MAP_FAILED)
        return nullptr;
    m_pages[pageAddress] = page;
    return page;
}

volatile uint32_t *PLModel::word(FunctionTypeIndex identifier) const
{
    auto found = m_words.find(identifier);
    return found != m_words.end() ? found->second : nullptr;
}

uint32_t PLModel::get(FunctionTypeIndex identifier) const
{
    volatile uint32_t *w = word(identifier);
    return w != nullptr ? *w : 0;
}

void PLModel::set(FunctionTypeIndex identifier, uint32_t value)
{
    if (volatile uint32_t *w = word(identifier))
        *w = value;
}

uint32_t PLModel::field(FunctionTypeIndex identifier, int high, int low) const
{
    const uint32_t mask = fieldMask(high, low);
    return mask == 0 ? 0 : (get(identifier) & mask) >> low;
}

void PLModel::setField(FunctionTypeIndex identifier, int high, int low, uint32_t value)
{
    const uint32_t mask = fieldMask(high, low);
    if (mask != 0)
        set(identifier, (get(identifier) & ~mask) | ((value << low) & mask));
}

void *PLModel::memory(PLMemory::MemoryIndex index) const
{
    auto found = m_regions.find(index);
    return found != m_regions.end() ? found->second.first : nullptr;
}

bool PLModel::lookup(const std::string &name, FunctionTypeIndex &identifier)
{
    for (size_t i = 0; i < plRegisterCount; ++i) {
        if (name == plRegisterTable[i].name) {
            identifier = static_cast<FunctionTypeIndex>(plRegisterTable[i].identifier);
            return true;
        }
    }
    return false;
}

std::string PLModel::nameOf(FunctionTypeIndex identifier)
{
    const PLRegisterRecord *record = plRegister(identifier);
    return record != nullptr ? std::string(record->name) : "register " + std::to_string(static_cast<int>(identifier));
}

void PLModel::startWriteLog()
{
    auto log = std::make_shared<WriteLog>();
    {
        std::lock_guard<std::mutex> lock(m_logMutex);
        m_log = log;
    }
    // The application's threads write until the process ends, so the
    // observer is never destroyed: one stays behind for each log started.
    auto *observer = new PLControl::WriteObserver([log](FunctionTypeIndex identifier, unsigned int value) {
        const std::string name = nameOf(identifier);
        std::lock_guard<std::mutex> lock(log->mutex);
        log->writes.push_back({name, value});
    });
    PLControl::setWriteObserver(observer);
}

void PLModel::stopWriteLog()
{
    PLControl::setWriteObserver(nullptr);
}

std::vector<PLModel::Write> PLModel::writeLog() const
{
    std::shared_ptr<WriteLog> log;
    {
        std::lock_guard<std::mutex> lock(m_logMutex);
        log = m_log;
    }
    if (!log)
        return {};
    std::lock_guard<std::mutex> lock(log->mutex);
    return log->writes;
}

} // namespace sim
