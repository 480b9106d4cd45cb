#include "LoadStrobe.h"

#include "PLField.h"

#include <chrono>
#include <thread>

namespace {

constexpr unsigned int loadBit = 4;
constexpr auto strobeTime = std::chrono::microseconds(5000);

} // namespace

void loadStrobe(PLControl &pl, FunctionTypeIndex identifier)
{
    plfield::setBit(&pl, identifier, loadBit, true);
    std::this_thread::sleep_for(strobeTime);
    plfield::setBit(&pl, identifier, loadBit, false);
}
