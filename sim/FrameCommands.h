#pragma once

#include <QImage>

namespace sim {

class CommandTable;
class ScenarioContext;

// Frame capture and the panel picture in the script language: capture
// format, expect capture, expect capture-size, expect panel-pixel.
void addFrameCommands(CommandTable &commands);

// The panel as it shows now: the picture with the application's window over
// it as its interface plane (10-bit RGB); false when the application ended.
bool grabPanel(ScenarioContext &context, QImage &panel);

} // namespace sim
