#pragma once

namespace sim {

class CommandTable;

// The touch screen of the script language: tap, drag, pinch and click, and
// the checks on what the user sees: checked buttons, stack pages, widget
// geometry, the touch state and the pixels of the panel.
void addTouchCommands(CommandTable &commands);

} // namespace sim
