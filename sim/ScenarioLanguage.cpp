#include "ScenarioLanguage.h"

#include "FrameCommands.h"
#include "InterruptCommands.h"
#include "McuCommands.h"
#include "PlatformCommands.h"
#include "RfCommands.h"
#include "ScenarioRunner.h"
#include "TouchCommands.h"
#include "VideoCommands.h"

namespace sim {

void addScenarioLanguage(CommandTable &commands)
{
    addCoreCommands(commands);
    addMcuCommands(commands);
    addInterruptCommands(commands);
    addPlatformCommands(commands);
    addRfCommands(commands);
    addVideoCommands(commands);
    addTouchCommands(commands);
    addFrameCommands(commands);
}

} // namespace sim
