#pragma once

#include "UartAPI.h"
#include "VirtualBoard.h"
#include "Wait.h"

// Starts the MCU link with the board's MCU answering at once, and waits until
// the application has acknowledged the MCU's first report: from then on
// values go out at once.
inline bool startLink(sim::VirtualBoard &board)
{
    board.mcu().setBootDelay(0);
    UartInit();
    return waitUntil([&] { return board.mcu().count(0x0F) > 0; });
}
