#include "PLControl.h"

std::atomic<PLControl *> PLControl::s_instance{nullptr};
std::atomic<const PLControl::WriteObserver *> PLControl::s_writeObserver{nullptr};
std::mutex PLControl::s_mutex;

PLControl::PLControl()
{
    init();
}

PLControl::~PLControl() = default;

PLControl *PLControl::getInstance()
{
    PLControl *instance = s_instance.load(std::memory_order_acquire);
    if (instance == nullptr) {
        std::lock_guard<std::mutex> lock(s_mutex);
        instance = s_instance.load(std::memory_order_relaxed);
        if (instance == nullptr) {
            instance = new PLControl;
            s_instance.store(instance, std::memory_order_release);
        }
    }
    return instance;
}

void PLControl::releaseInstance()
{
    std::lock_guard<std::mutex> lock(s_mutex);
    delete s_instance.exchange(nullptr);
}

void PLControl::init()
{
    for (size_t i = 0; i < plRegisterCount; ++i) {
        const PLRegisterRecord &record = plRegisterTable[i];
        if (record.enabled == 0)
            continue;
        const auto identifier = static_cast<FunctionTypeIndex>(record.identifier);
        if (m_functions.count(identifier) == 0)
            m_functions[identifier] = std::make_unique<PLFunction>(record.name, record.physicalAddress);
    }
    for (int i = 0; i < PLMemory::memoryCount; ++i) {
        const auto index = static_cast<PLMemory::MemoryIndex>(i);
        m_memories[index] = std::make_unique<PLMemory>(index);
    }
}

bool PLControl::setValue(const FunctionTypeIndex &identifier, unsigned int value)
{
    auto found = m_functions.find(identifier);
    if (found == m_functions.end() || !found->second->write(value))
        return false;
    if (const WriteObserver *observer = s_writeObserver.load(std::memory_order_acquire))
        (*observer)(identifier, value);
    return true;
}

void PLControl::setWriteObserver(const WriteObserver *observer)
{
    s_writeObserver.store(observer, std::memory_order_release);
}

unsigned int PLControl::getValue(const FunctionTypeIndex &identifier) const
{
    auto found = m_functions.find(identifier);
    return found != m_functions.end() ? found->second->read() : 0;
}

void *PLControl::getMemAddr(const PLMemory::MemoryIndex &index) const
{
    auto found = m_memories.find(index);
    return found != m_memories.end() ? found->second->accessAddress() : nullptr;
}

unsigned int PLControl::getMemSize(const PLMemory::MemoryIndex &index) const
{
    auto found = m_memories.find(index);
    return found != m_memories.end() ? found->second->size() : 0;
}

void PLControl::SyncMem(const PLMemory::MemoryIndex &index) const
{
    auto found = m_memories.find(index);
    if (found != m_memories.end())
        found->second->sync();
}
