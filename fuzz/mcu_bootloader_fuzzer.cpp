// The boot loader's answers as the MCU firmware updater reads them, byte by
// byte. Zero bytes after each input end any frame it left open, so that every
// input starts from a clean parser.

#include "McuUpdate.h"

#include <cstddef>
#include <cstdint>

namespace {

// More than the longest frame the parser accepts (99 data bytes) can still
// need.
constexpr int drain = 105;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        McuUpdateParse(data[i]);
    for (int i = 0; i < drain; ++i)
        McuUpdateParse(0);
    return 0;
}
