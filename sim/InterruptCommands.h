#pragma once

namespace sim {

class CommandTable;

// The interrupt lines and front keys of the script language: key, keys, irq
// and expect irq-armed.
void addInterruptCommands(CommandTable &commands);

} // namespace sim
