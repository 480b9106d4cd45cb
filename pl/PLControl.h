#pragma once

#include "PLFunction.h"
#include "RegisterTable.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

// The single access point to the programmable logic: one window per register
// of the register table and one per shared memory region, created at first use
// and handed out by identifier. The maps never change after construction, so
// lookups are safe from any thread; register accesses take no lock.
class PLControl
{
public:
    virtual ~PLControl();

    static PLControl *getInstance();
    static void releaseInstance();

    bool setValue(const FunctionTypeIndex &identifier, unsigned int value);
    unsigned int getValue(const FunctionTypeIndex &identifier) const;

    void *getMemAddr(const PLMemory::MemoryIndex &index) const;
    unsigned int getMemSize(const PLMemory::MemoryIndex &index) const;
    void SyncMem(const PLMemory::MemoryIndex &index) const;

    // Told of every register write after it happened, on the writing thread:
    // a trace of what the application programs, for whoever services the
    // logic (the virtual board logs it by register name). Nothing watches on
    // the device. The observer must outlive every write made while it is set.
    using WriteObserver = std::function<void(FunctionTypeIndex identifier, unsigned int value)>;
    static void setWriteObserver(const WriteObserver *observer);

private:
    PLControl();
    void init();

    std::map<FunctionTypeIndex, std::unique_ptr<PLFunction>> m_functions;
    std::map<PLMemory::MemoryIndex, std::unique_ptr<PLMemory>> m_memories;

    static std::atomic<PLControl *> s_instance;
    static std::atomic<const WriteObserver *> s_writeObserver;
    static std::mutex s_mutex;
};
