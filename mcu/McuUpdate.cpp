#include "McuUpdate.h"

#include "Console.h"
#include "HardwarePath.h"
#include "KeyCtl.h"
#include "ThreadName.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <pthread.h>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char *firmwarePath = "/home/root/app/RX.bin";
constexpr uint16_t ringSize = 10240;
constexpr int blockSize = 1024;
constexpr uint16_t maxOutgoingData = 1500;
constexpr uint16_t maxIncomingData = 99;
constexpr uint8_t headerByte1 = 0xAA;
constexpr uint8_t headerByte2 = 0xBB;
// Header, command, two length bytes and the checksum around the data.
constexpr int frameOverhead = 6;

// The running firmware's request to enter its boot loader, in the ordinary
// frame format: command 0x0C, one data byte 0x01.
constexpr uint8_t entryFrame[] = {0xAA, 0xBB, 0x0C, 0x01, 0x01, 0x1D};

enum UpdateState : uint32_t {
    stateIdle = 0,
    stateEnter = 1,
    stateConnect = 2,
    stateErase = 3,
    stateSize = 4,
    stateBlocks = 5,
};

enum BootCommand : uint8_t {
    bootErase = 0x03,
    bootSize = 0x04,
    bootBlock = 0x05,
    bootAcknowledge = 0x0F,
    bootConnect = 0x22,
};

constexpr uint32_t commandTimeoutMs = 5000;
constexpr auto tickInterval = milliseconds(200);
constexpr auto setupPause = milliseconds(300);
constexpr auto blockPause = milliseconds(1);
constexpr auto retryPause = milliseconds(1000);
// Passes without an acknowledged block before -2 is reported, and ended
// attempts before every further end reports -1.
constexpr unsigned blockWaitLimit = 20000;
constexpr unsigned endLimit = 9;

// Shared between the serial reader (the acknowledgements) and the procedure.
struct UpdateRecord {
    std::atomic<uint32_t> state{stateIdle};
    std::atomic<uint8_t> eraseGo{0};
    std::atomic<uint8_t> sizeGo{0};
    uint32_t waitTimer = 0;
    uint32_t fileSize = 0;
    std::atomic<uint8_t> blockWanted{0};
    uint16_t block = 0;
    uint8_t progress = 0;
};

UpdateRecord m_McuUpdate;
McuByteWriter byteWriter = nullptr;
McuProgressCallback progressCallback = nullptr;
std::mutex ringMutex;
fifobyte_t txRing = {};
// Wakes the sending thread when bytes enter the ring.
std::condition_variable ringFilled;
// Wakes the procedure when the boot loader asks for the next block.
std::mutex blockMutex;
std::condition_variable blockRequested;
std::atomic<bool> applyMode{false};
// Set once the MCU waits in its boot loader: a new attempt then starts by
// connecting, as the running firmware is no longer there to be asked.
std::atomic<bool> inBootLoader{false};
std::mutex runningMutex;
bool running = false;
std::mutex initMutex;
bool initialised = false;

// A command goes into the ring whole or not at all: one that is too long, or
// finds too little room, would leave the boot loader half a frame.
void Mcu_Update_SendCmd(uint8_t command, uint16_t length, const uint8_t *data)
{
    if (length > maxOutgoingData || ringSize - 1 - Get_FifoByteLen(&txRing) < length + frameOverhead) {
        console::print("cmd bud overflow\n");
        return;
    }
    const uint8_t head[5] = {headerByte1, headerByte2, command, static_cast<uint8_t>(length >> 8),
                             static_cast<uint8_t>(length)};
    uint8_t sum = 0;
    for (uint8_t byte : head) {
        Write_FifoByte(&txRing, byte);
        sum ^= byte;
    }
    for (uint16_t i = 0; i < length; ++i) {
        Write_FifoByte(&txRing, data[i]);
        sum ^= data[i];
    }
    Write_FifoByte(&txRing, sum);
}

void sendCommand(uint8_t command, uint16_t length, const uint8_t *data)
{
    {
        std::lock_guard<std::mutex> lock(ringMutex);
        Mcu_Update_SendCmd(command, length, data);
    }
    ringFilled.notify_one();
}

void reportProgress(int percent)
{
    if (progressCallback != nullptr)
        progressCallback(percent);
}

// Drains the ring to the line; an empty ring is waited on, not polled, so
// that a block goes out the moment the procedure has put it in.
void *uart_thread(void *)
{
    nameThread("mcu-upd-tx");
    uint8_t block[blockSize];
    for (;;) {
        int count = 0;
        {
            std::unique_lock<std::mutex> lock(ringMutex);
            ringFilled.wait(lock, [] { return Get_FifoByteLen(&txRing) > 0; });
            while (count < blockSize && Read_FifoByte(&txRing, &block[count]))
                ++count;
        }
        byteWriter(block, count);
    }
    return nullptr;
}

// The pause after a pass of state 5: up to 1 ms, over as soon as the boot
// loader asks for the next block.
void awaitBlockRequest()
{
    std::unique_lock<std::mutex> lock(blockMutex);
    blockRequested.wait_for(lock, blockPause, [] { return m_McuUpdate.blockWanted != 0; });
}

// The procedure's own counters, kept between passes.
struct Procedure {
    FILE *file = nullptr;
    Clock::time_point lastTick = Clock::now();
    uint32_t bytesSent = 0;
    unsigned blockWaits = 0;
    unsigned ends = 0;
};

void tick(Procedure &procedure)
{
    const Clock::time_point now = Clock::now();
    const auto elapsed = std::chrono::duration_cast<milliseconds>(now - procedure.lastTick);
    if (elapsed <= tickInterval)
        return;
    procedure.lastTick = now;
    if (m_McuUpdate.waitTimer != 0)
        m_McuUpdate.waitTimer += static_cast<uint32_t>(elapsed.count());
}

// One block of state 5; true when the whole file has gone out.
bool sendBlock(Procedure &procedure)
{
    if (!m_McuUpdate.blockWanted) {
        if (++procedure.blockWaits > blockWaitLimit)
            reportProgress(-2);
        return false;
    }
    m_McuUpdate.blockWanted = 0;
    uint8_t payload[2 + blockSize];
    payload[0] = static_cast<uint8_t>(m_McuUpdate.block >> 8);
    payload[1] = static_cast<uint8_t>(m_McuUpdate.block);
    const size_t count = std::fread(payload + 2, 1, blockSize, procedure.file);
    if (count == 0)
        return false;
    sendCommand(bootBlock, static_cast<uint16_t>(count + 2), payload);
    m_McuUpdate.waitTimer = 1;
    procedure.blockWaits = 0;

    const int progress = static_cast<int>(static_cast<uint64_t>(procedure.bytesSent) * 100 / m_McuUpdate.fileSize);
    procedure.bytesSent += static_cast<uint32_t>(count);
    if (progress != m_McuUpdate.progress) {
        m_McuUpdate.progress = static_cast<uint8_t>(progress);
        reportProgress(progress);
        if (procedure.bytesSent < m_McuUpdate.fileSize)
            console::print("Mcu upDate >>>>>>>    %d\n", progress);
    }
    if (procedure.bytesSent < m_McuUpdate.fileSize)
        return false;
    console::print("Mcu upDate >>>>>>>    %d\n", progress);
    console::print("send end sendfilesize %u m_McuUpdate.filesize:%u\n", procedure.bytesSent, m_McuUpdate.fileSize);
    console::print("Mcu upDate >>>>>>> successful\n");
    reportProgress(100);
    return true;
}

// One pass of the procedure; true when the attempt has ended.
bool procedurePass(Procedure &procedure)
{
    switch (m_McuUpdate.state) {
    case stateIdle:
        m_McuUpdate.state = inBootLoader ? stateConnect : stateEnter;
        return false;
    case stateEnter:
        byteWriter(entryFrame, sizeof(entryFrame));
        console::print("Mcu_SetToUpdateMode\n");
        break;
    case stateConnect: {
        const uint8_t connect = 0x01;
        sendCommand(bootConnect, 1, &connect);
        console::print("Mcu_ConnectCmd\n");
        break;
    }
    case stateErase:
        if (m_McuUpdate.eraseGo) {
            m_McuUpdate.eraseGo = 0;
            m_McuUpdate.waitTimer = 1;
            const uint8_t erase = 0x01;
            sendCommand(bootErase, 1, &erase);
            console::print("Mcu erase cmd \n");
        }
        if (m_McuUpdate.waitTimer > commandTimeoutMs) {
            console::print("Mcu Erase Fail\n");
            return true;
        }
        break;
    case stateSize:
        if (m_McuUpdate.sizeGo) {
            m_McuUpdate.sizeGo = 0;
            m_McuUpdate.waitTimer = 1;
            const uint32_t size = m_McuUpdate.fileSize;
            const uint8_t announce[4] = {static_cast<uint8_t>(size >> 24), static_cast<uint8_t>(size >> 16),
                                         static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size)};
            sendCommand(bootSize, sizeof(announce), announce);
            std::rewind(procedure.file);
            procedure.bytesSent = 0;
            procedure.blockWaits = 0;
            m_McuUpdate.progress = 0;
            console::print("Mcu_SendFilesizeCmd\n");
            m_McuUpdate.blockWanted = 1;
            m_McuUpdate.block = 0;
        }
        if (m_McuUpdate.waitTimer > commandTimeoutMs) {
            console::print("Send filesize Fail\n");
            return true;
        }
        break;
    default:
        if (sendBlock(procedure))
            return true;
        awaitBlockRequest();
        return false;
    }
    std::this_thread::sleep_for(setupPause);
    return false;
}

void *Mcu_Update_Proc(void *)
{
    nameThread("mcu-upd-proc");
    console::print("Mcu update proc\n");
    Procedure procedure;
    const std::string path = hw::path(firmwarePath);
    procedure.file = std::fopen(path.c_str(), "rb");
    if (procedure.file == nullptr) {
        console::print("open %s error\n", firmwarePath);
        return nullptr;
    }
    std::fseek(procedure.file, 0, SEEK_END);
    const long size = std::ftell(procedure.file);
    m_McuUpdate.fileSize = size > 0 ? static_cast<uint32_t>(size) : 0;

    for (;;) {
        tick(procedure);
        if (!procedurePass(procedure))
            continue;
        m_McuUpdate.state = stateIdle;
        m_McuUpdate.waitTimer = 0;
        if (++procedure.ends > endLimit)
            reportProgress(-1);
        std::this_thread::sleep_for(retryPause);
    }
    return nullptr;
}

bool startThread(void *(*body)(void *))
{
    pthread_t thread;
    if (pthread_create(&thread, nullptr, body, nullptr) != 0)
        return false;
    pthread_detach(thread);
    return true;
}

// The boot loader's answers, byte by byte, on the serial reader thread.
struct Receiver {
    int step = 0;
    uint8_t command = 0;
    uint16_t length = 0;
    uint16_t index = 0;
    uint8_t data[maxIncomingData] = {};
};

Receiver receiver;

void acknowledged(uint8_t command)
{
    switch (command) {
    case bootConnect:
        if (m_McuUpdate.state == stateConnect) {
            m_McuUpdate.state = stateErase;
            m_McuUpdate.eraseGo = 1;
            if (!applyMode)
                KeyCtl::getInstance()->stopPressKeyF3();
            console::print("Mcu Connect successful\n");
        }
        break;
    case bootErase:
        if (m_McuUpdate.state == stateErase) {
            console::print("Erase successful\n");
            m_McuUpdate.state = stateSize;
            m_McuUpdate.sizeGo = 1;
        }
        break;
    case bootSize:
        if (m_McuUpdate.state == stateSize) {
            m_McuUpdate.state = stateBlocks;
            console::print("Send file size successful\n");
        }
        break;
    case bootBlock: {
        std::lock_guard<std::mutex> lock(blockMutex);
        m_McuUpdate.blockWanted = 1;
        blockRequested.notify_one();
        break;
    }
    default:
        break;
    }
}

} // namespace

bool Init_FifoByte(fifobyte_t *fifo, uint16_t size)
{
    if (size < 2)
        return false;
    fifo->buffer = new uint8_t[size];
    fifo->size = size;
    fifo->write = 0;
    fifo->read = 0;
    return true;
}

bool Write_FifoByte(fifobyte_t *fifo, uint8_t byte)
{
    const uint16_t next = static_cast<uint16_t>((fifo->write + 1) % fifo->size);
    if (next == fifo->read)
        return false;
    fifo->buffer[next] = byte;
    fifo->write = next;
    return true;
}

bool Read_FifoByte(fifobyte_t *fifo, uint8_t *byte)
{
    if (fifo->read == fifo->write)
        return false;
    const uint16_t next = static_cast<uint16_t>((fifo->read + 1) % fifo->size);
    *byte = fifo->buffer[next];
    fifo->read = next;
    return true;
}

uint16_t Get_FifoByteLen(const fifobyte_t *fifo)
{
    if (fifo->write >= fifo->read)
        return static_cast<uint16_t>(fifo->write - fifo->read);
    return static_cast<uint16_t>(fifo->write + fifo->size - fifo->read);
}

void McuUpdateInit(McuByteWriter writer, McuProgressCallback progress)
{
    std::lock_guard<std::mutex> lock(initMutex);
    if (initialised)
        return;
    byteWriter = writer;
    progressCallback = progress;
    Init_FifoByte(&txRing, ringSize);
    initialised = true;
    console::print("Mcu update init\n");
}

bool McuUpdateStart(bool apply)
{
    {
        std::lock_guard<std::mutex> lock(initMutex);
        if (!initialised || byteWriter == nullptr)
            return false;
    }
    std::lock_guard<std::mutex> lock(runningMutex);
    if (running)
        return false;
    if (apply) {
        inBootLoader = true;
        m_McuUpdate.state = stateConnect;
    } else {
        m_McuUpdate.state = stateIdle;
        KeyCtl::getInstance()->closeKeyF3Interrupts();
    }
    applyMode = apply;
    if (!startThread(uart_thread)) {
        console::error("create mcu upgrade send thead error\n");
        reportProgress(-1);
        return false;
    }
    if (!startThread(Mcu_Update_Proc)) {
        console::error("create mcu upgrade read thead error\n");
        reportProgress(-1);
        return false;
    }
    running = true;
    console::print("Mcu update start\n");
    return true;
}

void McuUpgradeEnter()
{
    inBootLoader = true;
    m_McuUpdate.state = stateConnect;
    console::print("Enter update mode successful\n");
}

void McuUpdateParse(uint8_t byte)
{
    Receiver &r = receiver;
    switch (r.step) {
    case 0:
        if (byte == headerByte1)
            r.step = 1;
        return;
    case 1:
        r.step = byte == headerByte2 ? 2 : 0;
        return;
    case 2:
        r.command = byte;
        r.step = 3;
        return;
    case 3:
        r.length = static_cast<uint16_t>(byte << 8);
        r.step = 4;
        return;
    case 4:
        r.length = static_cast<uint16_t>(r.length | byte);
        r.index = 0;
        r.step = r.length > maxIncomingData ? 0 : (r.length == 0 ? 6 : 5);
        return;
    case 5:
        r.data[r.index++] = byte;
        if (r.index == r.length)
            r.step = 6;
        return;
    default:
        break;
    }

    r.step = 0;
    uint8_t sum = headerByte1 ^ headerByte2 ^ r.command ^ static_cast<uint8_t>(r.length >> 8)
                  ^ static_cast<uint8_t>(r.length);
    for (uint16_t i = 0; i < r.length; ++i)
        sum ^= r.data[i];
    if (sum != byte) {
        console::print("cmd invalid\n");
        return;
    }
    console::print("cmd valid %d\n", r.command);
    if (r.command == bootAcknowledge && r.length >= 1)
        acknowledged(r.data[0]);
}
