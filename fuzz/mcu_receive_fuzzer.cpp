// The application's receive path from the MCU: reassembly, checksums,
// acknowledgements and the dispatch of every command to its controller. The
// first input byte sets the size of the pieces the rest arrives in, as the
// serial reader hands over whatever one read brought.

#include "FuzzBoard.h"
#include "McuModel.h"
#include "Protocol.h"
#include "UartAPI.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

sim::VirtualBoard *board = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    board = startFuzzBoard();
    if (board == nullptr)
        return 1;
    // A working link, so that what the dispatch sends back (a reset MCU
    // clock, a flip request) goes out instead of piling up held back.
    board->mcu().setBootDelay(0);
    UartInit();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (board->mcu().count(0x0F) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = data[0] % 17 + 1;
    Protocol protocol(true);
    for (size_t offset = 1; offset < size; offset += piece) {
        const size_t count = size - offset < piece ? size - offset : piece;
        protocol(data + offset, static_cast<int>(count));
    }
    return 0;
}
