#pragma once

#include "PLControl.h"
#include "PLFunction.h"
#include "RegisterTable.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

// The programmable logic's side of the register map. It maps the same
// physical-memory file as the application, so it sees every register the
// application writes and the application sees every word it sets. Registers are
// found through the one register table the application uses.
class PLModel
{
public:
    explicit PLModel(const std::string &memoryFile);
    ~PLModel();
    PLModel(const PLModel &) = delete;
    PLModel &operator=(const PLModel &) = delete;

    bool ok() const { return m_ok; }

    uint32_t get(FunctionTypeIndex identifier) const;
    void set(FunctionTypeIndex identifier, uint32_t value);
    // An inclusive bit field, high bit first as registers are written down.
    uint32_t field(FunctionTypeIndex identifier, int high, int low) const;
    void setField(FunctionTypeIndex identifier, int high, int low, uint32_t value);

    // A shared memory region as the logic sees it; null when unknown.
    void *memory(PLMemory::MemoryIndex index) const;

    // The identifier of a register name of the table, and the other way.
    static bool lookup(const std::string &name, FunctionTypeIndex &identifier);
    static std::string nameOf(FunctionTypeIndex identifier);

    // The application's register writes, by register name, in the order they
    // happened, from startWriteLog on until stopWriteLog.
    struct Write {
        std::string name;
        uint32_t value;
    };
    void startWriteLog();
    void stopWriteLog();
    std::vector<Write> writeLog() const;

private:
    volatile uint32_t *word(FunctionTypeIndex identifier) const;
    void *mapPage(uint32_t pageAddress);

    int m_fd = -1;
    bool m_ok = false;
    std::map<uint32_t, void *> m_pages;        // page address -> mapping
    std::map<int, volatile uint32_t *> m_words; // identifier -> word
    std::map<int, std::pair<void *, size_t>> m_regions;
    struct WriteLog {
        std::mutex mutex;
        std::vector<Write> writes;
    };
    mutable std::mutex m_logMutex;
    std::shared_ptr<WriteLog> m_log;
};

// The mask of an inclusive bit field.
uint32_t fieldMask(int high, int low);

} // namespace sim
