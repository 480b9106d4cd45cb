#pragma once

namespace sim {

class CommandTable;

// The radio band around the board as the scan receiver hears it: rf levels
// and rf level.
void addRfCommands(CommandTable &commands);

} // namespace sim
