#pragma once

#include "DeviceTree.h"
#include "InterruptModel.h"
#include "McuModel.h"
#include "PLModel.h"
#include "PlatformModel.h"
#include "ScanReceiverModel.h"
#include "SimSystem.h"
#include "VideoModel.h"

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
    // Takes its system effects back from the application: a thread still
    // running afterwards meets refusals rather than a board that is gone.
    ~VirtualBoard();

    bool ok() const;
    std::string error() const;
    void install();

    DeviceTree &tree() { return m_tree; }
    PLModel &pl() { return *m_pl; }
    SimSystem &system() { return m_system; }
    InterruptModel &interrupts() { return *m_interrupts; }
    McuModel &mcu() { return *m_mcu; }
    VideoModel &video() { return *m_video; }
    PlatformModel &platform() { return m_platform; }
    ScanReceiverModel &scanReceiver() { return m_scanReceiver; }

    // A fresh, empty hardware root in memory-backed storage where there is some.
    static std::string makeTemporaryRoot();

private:
    DeviceTree m_tree;
    std::unique_ptr<PLModel> m_pl;
    // Before the system effects, which hand it the SPI messages.
    ScanReceiverModel m_scanReceiver;
    SimSystem m_system;
    // Before the MCU model, which reports to it from its own thread.
    PlatformModel m_platform;
    // After the tree, so that it stops before the devices it drives go away.
    std::unique_ptr<InterruptModel> m_interrupts;
    std::unique_ptr<McuModel> m_mcu;
    // After the interrupt model, whose lines it raises.
    std::unique_ptr<VideoModel> m_video;
};

} // namespace sim
