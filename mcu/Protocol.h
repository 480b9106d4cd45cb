#pragma once

#include "ThreadName.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

class Battery;
class GsensorCtl;
class HDMICtl;
class RtcCtl;
class Version;
class WHDICtl;

// The framed, acknowledged message layer to the MCU. Received bytes are
// reassembled into checked frames, acknowledged and dispatched on the serial
// reader thread; outgoing frames are queued for a send thread, and every frame
// the MCU has not acknowledged is repeated once a second by a resend thread.
// While the MCU firmware is updated nothing is sent and every received byte
// goes to the updater.
//
// Wire frame: 0xAA 0xBB command length data... checksum, the checksum being the
// XOR of every byte before it.
class Protocol
{
public:
    static constexpr int dataSize = 64;
    static constexpr int frameSize = 128;

    struct ProtocolFrame {
        uint8_t header[2];
        uint8_t command;
        uint8_t length;
        uint8_t data[dataSize];
        uint8_t checksum;
    };

    // One outgoing frame, whole, as it goes on the wire.
    struct QueuedFrame {
        uint8_t fresh;
        uint16_t length;
        uint8_t frame[frameSize];
        uint8_t command() const { return frame[2]; }
    };

    // The HDMI (or wireless) receiver timing the MCU reports.
    struct HDMIData {
        bool active = false;
        int horTotal = 0;
        int horActive = 0;
        int verTotal = 0;
        int verActive = 0;
        int pixelClock = 0;
        bool progressive = false;
        int colorSpace = 1;
        int colorDepth = 5;
    };

    struct GsensorData {
        int x = 0;
        int y = 0;
        int z = 0;
        short a = 0;
        short angle = 0;
    };

    struct PowerData {
        bool externalPower = false;
        float voltageA = 0;
        float voltageB = 0;
    };

    explicit Protocol(bool resend);
    ~Protocol();
    Protocol(const Protocol &) = delete;
    Protocol &operator=(const Protocol &) = delete;

    // The byte consumer of the serial reader thread.
    void operator()(const unsigned char *bytes, int count);

    // Queues one frame (at most 123 data bytes, what a queued frame holds);
    // nothing is queued while updating.
    int send(uint8_t command, const uint8_t *data, uint8_t length);

    // Thread bodies, started by the link API on the port; a port is called as
    // port(const uint8_t *frame, size_t length).
    template <class Port>
    void sendLoop(Port &port);
    template <class Port>
    void reSendLoop(Port &port);

    // Sets the running flag; false when it was set already.
    bool markRunning() { return !m_running.exchange(true); }
    bool resendEnabled() const { return m_resend; }

    bool isWorking() const { return m_working; }
    // Blocks until the MCU has sent its first valid frame.
    void waitUntilWorking();
    void setWHDIused(int index, uint8_t value);
    // Answers the MCU's question whether the wireless input is shown.
    void isWHDIused();
    void mcuUpgrade(std::function<void()> updateMode, std::function<void(uint8_t)> updateSink);

    void clearResend(const ProtocolFrame &ack);
    void clearResendAll();

    bool checkSum(const ProtocolFrame &frame);
    static uint8_t checkSum(uint8_t command, const uint8_t *data, uint8_t length);

    // Decoders of the report payloads; missing bytes give the documented defaults.
    static HDMIData decodeHDMI(const uint8_t *data, int length);
    static GsensorData decodeGsensor(const uint8_t *data, int length);
    static PowerData decodeVoltage(const uint8_t *data, int length);

    // One parser per incoming command.
    void mcuVersion(const uint8_t *data, int length);
    void channel(const uint8_t *data, int length);
    void HDMIdataParse(const uint8_t *data, int length);
    void WHDIdataParse(const uint8_t *data, int length);
    void strength(const uint8_t *data, int length);
    void flip(const uint8_t *data, int length);
    void GsensorParse(const uint8_t *data, int length);
    void RTCParse(const uint8_t *data, int length);
    void temperatureParse(const uint8_t *data, int length);
    void voltageParse(const uint8_t *data, int length);
    void WHDIEncryptionMode(const uint8_t *data, int length);
    void ackParse(const uint8_t *data, int length);
    void mcuUpdateMode();
    void mcuApplyUpgrade();

private:
    bool getFrame(uint8_t byte);
    void ack(const ProtocolFrame &frame);
    void actionFrame(const ProtocolFrame &frame);
    // The update sink while updating, otherwise none.
    std::function<void(uint8_t)> updateSink();
    // Takes the next frame to send; false when the thread is to end.
    bool nextFrame(QueuedFrame &record);
    // Keeps a copy of a frame just sent as the one resend entry of its command.
    void keepForResend(const QueuedFrame &record);
    static void printVideoReport(const char *name, const HDMIData &data);

    std::atomic<uint8_t> m_WHDIused[2] = {{0}, {0}};

    int m_receiveState = 0;
    uint8_t m_receiveCount = 0;
    uint32_t m_receiveIndex = 0;
    uint8_t m_receiveBuffer[frameSize] = {};

    std::atomic<bool> m_updating{false};
    std::mutex m_upgradeMutex;
    std::function<void()> m_updateMode;
    std::function<void(uint8_t)> m_updateSink;

    std::atomic<bool> m_running{false};
    const bool m_resend;
    std::atomic<bool> m_working{false};
    std::mutex m_workingMutex;
    std::condition_variable m_workingCondition;

    std::deque<QueuedFrame> m_sendQueue;
    std::mutex m_sendMutex;
    std::condition_variable m_sendCondition;

    std::list<QueuedFrame> m_resendList;
    std::mutex m_resendMutex;
    // Wakes the resend thread once the list is no longer empty.
    std::condition_variable m_resendCondition;

    WHDICtl *m_whdi;
    HDMICtl *m_hdmi;
    RtcCtl *m_rtc;
    Version *m_version;
    GsensorCtl *m_gsensor;
    Battery *m_battery;
};

template <class Port>
void Protocol::sendLoop(Port &port)
{
    nameThread("mcu-send");
    QueuedFrame record;
    while (nextFrame(record)) {
        if (m_updating)
            continue;
        keepForResend(record);
        port(record.frame, record.length);
    }
}

template <class Port>
void Protocol::reSendLoop(Port &port)
{
    nameThread("mcu-resend");
    while (m_running) {
        {
            // With nothing waiting for an acknowledgement there is nothing
            // to repeat: sleep until a frame is kept.
            std::unique_lock<std::mutex> lock(m_resendMutex);
            m_resendCondition.wait(lock, [this] { return !m_running || !m_resendList.empty(); });
            if (!m_running)
                return;
            for (QueuedFrame &entry : m_resendList) {
                if (m_updating)
                    continue;
                if (entry.fresh) {
                    entry.fresh = 0;
                    continue;
                }
                port(entry.frame, entry.length);
            }
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
}
