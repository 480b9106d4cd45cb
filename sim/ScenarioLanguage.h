#pragma once

namespace sim {

class CommandTable;

// Every command of the script language, as the simulator, its command line
// and the tests know it.
void addScenarioLanguage(CommandTable &commands);

} // namespace sim
