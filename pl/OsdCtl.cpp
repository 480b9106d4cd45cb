#include "OsdCtl.h"

#include "Bit.h"
#include "PLControl.h"
#include "ThreadName.h"
#include "UartAPI.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace {

// OSD_CTL fields.
constexpr unsigned char planeBit = 0;
constexpr unsigned char mainLayerBit = 4;
constexpr unsigned char assistLayerBit = 5;
constexpr unsigned char opacityLow = 16;
constexpr unsigned char opacityHigh = 25;
constexpr unsigned int opacityFull = 1023;
constexpr float opacityLeast = 0.1f;

constexpr int assistLayer = 1;
constexpr uint8_t mcuShowCommand = 7;
constexpr auto showDelay = std::chrono::milliseconds(600);

} // namespace

OsdCtl::OsdCtl() : pl(PLControl::getInstance())
{
    setEnable(false);
    writeVideoEnable(0, false);
    writeVideoEnable(assistLayer, false);
}

void OsdCtl::init()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (threadStarted)
        return;
    threadStarted = true;
    std::thread(&OsdCtl::showWait, this).detach();
}

void OsdCtl::setBit(unsigned char bit, bool on)
{
    unsigned int value = pl->getValue(OSD_CTL);
    Bit::bitSetValue(value, bit, on);
    pl->setValue(OSD_CTL, value);
}

void OsdCtl::setEnable(bool on)
{
    setBit(planeBit, on);
}

void OsdCtl::writeVideoEnable(int layer, bool on)
{
    setBit(layer == assistLayer ? assistLayerBit : mainLayerBit, on);
}

void OsdCtl::setVideoEnable(int layer, bool on)
{
    std::lock_guard<std::mutex> lock(mutex);
    (layer == assistLayer ? assistVideo : mainVideo) = on;
    writeVideoEnable(layer, on);
}

void OsdCtl::setOpactiy(float opacity)
{
    unsigned int field;
    if (opacity > 1.0f)
        field = opacityFull;
    else if (opacity >= opacityLeast)
        field = static_cast<unsigned int>(opacity * opacityFull);
    else // below the least, or not a number
        field = static_cast<unsigned int>(opacityLeast * opacityFull);
    unsigned int value = pl->getValue(OSD_CTL);
    Bit::bitClear(value, opacityLow, opacityHigh);
    value |= field << opacityLow;
    pl->setValue(OSD_CTL, value);
}

void OsdCtl::start(bool mainVideo, bool assistVideo)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        this->mainVideo = mainVideo;
        this->assistVideo = assistVideo;
        started = true;
    }
    condition.notify_all();
}

void OsdCtl::clearFrameCompareMemory()
{
    void *memory = pl->getMemAddr(PLMemory::FRAME_LOAD);
    if (memory == nullptr)
        return;
    std::memset(memory, 0xFF, pl->getMemSize(PLMemory::FRAME_LOAD));
    pl->SyncMem(PLMemory::FRAME_LOAD);
}

// Runs once: waits for the first paint, then brings the screen up. The delay
// is slept without the lock, so that the input detection can change a layer
// meanwhile; the layers shown are the latest requested ones.
void OsdCtl::showWait()
{
    nameThread("osd-show");
    {
        std::unique_lock<std::mutex> lock(mutex);
        condition.wait(lock, [this] { return started; });
    }
    const uint8_t off = 0;
    UartSendValue(mcuShowCommand, &off, 1);
    std::this_thread::sleep_for(showDelay);
    {
        std::lock_guard<std::mutex> lock(mutex);
        setEnable(true);
        writeVideoEnable(0, mainVideo);
        writeVideoEnable(assistLayer, assistVideo);
    }
    clearFrameCompareMemory();
}
