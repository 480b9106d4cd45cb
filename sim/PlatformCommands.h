#pragma once

#include <string>

namespace sim {

class CommandTable;

// The platform services of the script language: temp, power-button hold,
// fifo, mcu power, expect gpio, expect reboot, usb put and upgrade.
void addPlatformCommands(CommandTable &commands);

// Writes the whole text into the service FIFO and waits until the application
// has taken it out, so that the next line is a read of its own; false, with
// the reason, when no one reads the pipe or the text is not taken in time.
bool writeServiceFifo(const std::string &text, std::string &problem);

} // namespace sim
