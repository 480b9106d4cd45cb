#pragma once

namespace sim {

class CommandTable;

// The video sources of the script language: sdi, hdmi, whdi, audio and
// timecode.
void addVideoCommands(CommandTable &commands);

} // namespace sim
