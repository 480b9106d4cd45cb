#include "KeyCtl.h"

#include "Bit.h"
#include "PLControl.h"
#include "ThreadName.h"
#include "UartAPI.h"

#include <chrono>
#include <thread>

namespace {

constexpr int keyCount = 3;
constexpr uint8_t mcuKeyCommand = 5;
// FPGA_INIT_CTL bits of the key-line pulse.
constexpr unsigned char keyF3EnableBit = 12;
constexpr unsigned char keyLineHoldBit = 14;
constexpr unsigned char keyLineBit = 15;
constexpr auto pulseHalfPeriod = std::chrono::milliseconds(200);

} // namespace

KeyCtl::KeyCtl() : pl(PLControl::getInstance()), interrupts(InterruptsCtl::getInstance())
{
    using namespace std::placeholders;
    interrupts->attach(InterruptsCtl::KEY_F1, std::bind(&KeyCtl::interruptsHandleKeyF1, this, _1, _2));
    interrupts->attach(InterruptsCtl::KEY_F2, std::bind(&KeyCtl::interruptsHandleKeyF2, this, _1, _2));
    interrupts->attach(InterruptsCtl::KEY_F3, std::bind(&KeyCtl::interruptsHandleKeyF3, this, _1, _2));
    interrupts->attach(InterruptsCtl::KEY_F1, InterruptsCtl::KEY_F3,
                       std::bind(&KeyCtl::interruptsHandleKeyF1F3, this, _1, _2));
}

void KeyCtl::registerFunction(KeyType type, KeyValue value)
{
    // Only the three keys have a slot; any other number would index past the table.
    if (type < 0 || type >= keyCount)
        return;
    functions[type] = value;
}

void KeyCtl::disableKey(bool disable)
{
    disabled = disable;
}

void KeyCtl::interruptsHandleKeyF1(InterruptsCtl::KeyHandle handle, int)
{
    keyEvent(F1, handle);
}

void KeyCtl::interruptsHandleKeyF2(InterruptsCtl::KeyHandle handle, int)
{
    keyEvent(F2, handle);
}

void KeyCtl::interruptsHandleKeyF3(InterruptsCtl::KeyHandle handle, int)
{
    keyEvent(F3, handle);
}

void KeyCtl::keyEvent(KeyType type, InterruptsCtl::KeyHandle handle)
{
    if (disabled)
        return;
    if (handle == InterruptsCtl::KEY_CLICKED) {
        const int value = functions[type];
        if (value == FUNC_OFF)
            return;
        if (value == FUNC_SWAP_AB)
            emit swapMainAndAssistSrc();
        emit clicked(value);
    } else if (handle == InterruptsCtl::KEY_LONG_CLICKED) {
        emit longClicked(type + 1);
    }
}

void KeyCtl::interruptsHandleKeyF1F3(InterruptsCtl::KeyHandle handle, int)
{
    if (disabled || handle != InterruptsCtl::KEY_LONG_CLICKED)
        return;
    const uint8_t on = 1;
    UartSendValue(mcuKeyCommand, &on, 1);
}

// The dispatcher re-arms lines in the same register under its class mutex;
// holding it here keeps either side from undoing the other's bits.
void KeyCtl::changeInitControl(unsigned int setMask, unsigned int clearMask)
{
    std::lock_guard<std::mutex> lock(Singleton<InterruptsCtl>::classMutex());
    const unsigned int value = pl->getValue(FPGA_INIT_CTL);
    pl->setValue(FPGA_INIT_CTL, (value & ~clearMask) | setMask);
}

void KeyCtl::closeKeyF3Interrupts()
{
    changeInitControl(Bit::bitSet(keyLineHoldBit), Bit::bitSet(keyF3EnableBit));
    // One pulse thread at a time.
    if (!pressing.exchange(true))
        std::thread(&KeyCtl::startPressKeyF3, this).detach();
}

void KeyCtl::startPressKeyF3()
{
    nameThread("key-pulse");
    while (pressing) {
        changeInitControl(Bit::bitSet(keyLineBit), 0);
        std::this_thread::sleep_for(pulseHalfPeriod);
        changeInitControl(0, Bit::bitSet(keyLineBit));
        std::this_thread::sleep_for(pulseHalfPeriod);
    }
}

void KeyCtl::stopPressKeyF3()
{
    pressing = false;
}
