#pragma once

#include "DeviceTree.h"
#include "PLModel.h"
#include "SimSystem.h"

#include <memory>
#include <string>

namespace sim {

// The whole virtual board: the device tree under a hardware root, the logic
// model on its physical memory, and the system effects. install() points the
// application's hardware root and system effects at it; it must run before any
// application code touches a device.
class VirtualBoard
{
public:
    explicit VirtualBoard(const std::string &root);

    bool ok() const;
    std::string error() const;
    void install();

    DeviceTree &tree() { return m_tree; }
    PLModel &pl() { return *m_pl; }
    SimSystem &system() { return m_system; }

    // A fresh, empty hardware root in memory-backed storage where there is some.
    static std::string makeTemporaryRoot();

private:
    DeviceTree m_tree;
    std::unique_ptr<PLModel> m_pl;
    SimSystem m_system;
};

} // namespace sim
