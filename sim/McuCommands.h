#pragma once

namespace sim {

class CommandTable;

// The MCU of the script language: mcu send, raw, ack, noise, baud, silent,
// report, request-update and firmware; expect mcu, mcu-count and mcu-image.
void addMcuCommands(CommandTable &commands);

} // namespace sim
