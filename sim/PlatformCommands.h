#pragma once

namespace sim {

class CommandTable;

// The platform services of the script language: temp, power-button hold,
// fifo, mcu power, expect gpio, expect reboot, usb put and upgrade.
void addPlatformCommands(CommandTable &commands);

} // namespace sim
