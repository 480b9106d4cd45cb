#include "UartAPI.h"

#include "Console.h"
#include "McuUpdate.h"
#include "Protocol.h"
#include "ThreadName.h"
#include "Uart.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using std::chrono::milliseconds;

constexpr const char *portPath = "/dev/ttyPS1";
constexpr int portSpeed = 115200;
constexpr char portParity = 'n';
constexpr int portDataBits = 8;
constexpr int portStopBits = 1;

constexpr uint8_t readEncryptionModeCommand = 0x95;
constexpr uint8_t readVersionCommand = 0x80;
constexpr auto heldValueSpacing = milliseconds(20);

struct WaitData {
    uint8_t command;
    uint8_t length;
    uint8_t data[128];
};

// Created once by UartInit and kept until the process ends.
std::atomic<Uart *> port{nullptr};
std::atomic<Protocol *> protocol{nullptr};
std::atomic<bool> initialised{false};
std::mutex initMutex;

// Values sent before the link worked, in call order. Once the held-value
// thread has taken them (heldTaken), every value goes straight to the protocol.
std::vector<WaitData> heldValues;
bool heldTaken = false;
std::mutex heldMutex;

// The wireless-input choices, also those made before the protocol existed;
// guarded by initMutex together with the protocol pointer.
bool WHDIused[2] = {false, false};

// Started by UartInit once the link is initialised; it waits for the MCU's
// first frame rather than polling for it.
void sendWatiDataThread()
{
    nameThread("mcu-held");
    Protocol &link = *protocol.load();
    link.waitUntilWorking();

    std::vector<WaitData> values;
    {
        std::lock_guard<std::mutex> lock(heldMutex);
        values = heldValues;
        heldTaken = true;
    }
    if (values.empty())
        return;
    for (const WaitData &value : values) {
        link.send(value.command, value.data, value.length);
        std::this_thread::sleep_for(heldValueSpacing);
    }
    const uint8_t encryption[1] = {0};
    link.send(readEncryptionModeCommand, encryption, sizeof(encryption));
    std::this_thread::sleep_for(heldValueSpacing);
    const uint8_t version[3] = {0, 0, 0};
    link.send(readVersionCommand, version, sizeof(version));
}

} // namespace

void UartInit()
{
    std::lock_guard<std::mutex> lock(initMutex);
    if (port == nullptr)
        port = new Uart(portPath, portSpeed, portParity, portDataBits, portStopBits);
    if (protocol == nullptr) {
        protocol = new Protocol(true);
        for (int index = 0; index < 2; ++index)
            protocol.load()->setWHDIused(index, WHDIused[index]);
    }
    if (initialised)
        return;
    Protocol &link = *protocol.load();
    Uart &line = *port.load();
    if (link.markRunning()) {
        std::thread([&link, &line] { link.sendLoop(line); }).detach();
        if (link.resendEnabled())
            std::thread([&link, &line] { link.reSendLoop(line); }).detach();
    }
    line.start(link);
    initialised = true;
    std::thread(sendWatiDataThread).detach();
}

int UartSendValue(uint8_t command, const uint8_t *data, uint8_t length)
{
    if (length > Protocol::dataSize) {
        console::error("mcu value 0x%02x of %d bytes refused\n", command, length);
        return 0;
    }
    std::lock_guard<std::mutex> lock(heldMutex);
    if (initialised && heldTaken && protocol.load()->isWorking())
        return protocol.load()->send(command, data, length);
    WaitData value = {command, length, {}};
    if (length > 0)
        std::memcpy(value.data, data, length);
    heldValues.push_back(value);
    return 0;
}

void UartWrite(const uint8_t *data, int length)
{
    Uart *line = port;
    if (line == nullptr || length < 0)
        return;
    if ((*line)(data, static_cast<size_t>(length)) < 0) {
        console::error("send uart data error: ");
        console::print("\n");
    }
}

void UartSetWHDIStatus(int index, bool used)
{
    if (index < 0 || index >= 2)
        return;
    std::lock_guard<std::mutex> lock(initMutex);
    WHDIused[index] = used;
    if (protocol != nullptr)
        protocol.load()->setWHDIused(index, used);
}

void UartEnterMcuUpgradeMode()
{
    std::lock_guard<std::mutex> lock(initMutex);
    if (protocol != nullptr)
        protocol.load()->mcuUpgrade(McuUpgradeEnter, McuUpdateParse);
}

bool UartUpdateMcu(void (*progress)(int percent), bool apply)
{
    if (!initialised)
        return false;
    UartEnterMcuUpgradeMode();
    McuUpdateInit(UartWrite, progress);
    return McuUpdateStart(apply);
}
