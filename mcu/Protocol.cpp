#include "Protocol.h"

#include "Battery.h"
#include "Console.h"
#include "GsensorCtl.h"
#include "HDMICtl.h"
#include "RtcCtl.h"
#include "Version.h"
#include "WHDICtl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint8_t headerByte1 = 0xAA;
constexpr uint8_t headerByte2 = 0xBB;
// 0xAA XOR 0xBB: the header's share of every checksum.
constexpr uint8_t headerSum = headerByte1 ^ headerByte2;
// Header, command, length and checksum around the data.
constexpr int frameOverhead = 5;
constexpr int maxQueuedData = Protocol::frameSize - frameOverhead;

enum Command : uint8_t {
    cmdMcuVersion = 0x00,
    cmdChannel = 0x01,
    cmdHDMIData = 0x02,
    cmdWHDIData = 0x03,
    cmdStrength = 0x04,
    cmdGsensor = 0x09,
    cmdClock = 0x0A,
    cmdFlip = 0x0B,
    cmdEnterUpdate = 0x0C,
    cmdAcknowledge = 0x0F,
    cmdTemperature = 0x11,
    cmdVoltage = 0x12,
    cmdEncryptionMode = 0x15,
    cmdApplyUpgrade = 0x31,
    // Commands from here on are questions and answers, never acknowledged.
    cmdFirstUnacknowledged = 0x80,
    cmdReadVersion = 0x80,
    cmdReadChannel = 0x81,
    cmdReadHDMIData = 0x82,
    cmdReadWHDIData = 0x83,
    cmdReadStrength = 0x84,
    cmdReadEncryptionMode = 0x95,
    cmdWHDIUsed = 0x97,
};

int bigEndian16(const uint8_t *data)
{
    return (data[0] << 8) | data[1];
}

int32_t bigEndian32(const uint8_t *data)
{
    return static_cast<int32_t>((static_cast<uint32_t>(data[0]) << 24) | (static_cast<uint32_t>(data[1]) << 16)
                                | (static_cast<uint32_t>(data[2]) << 8) | data[3]);
}

} // namespace

Protocol::Protocol(bool resend)
    : m_resend(resend), m_whdi(WHDICtl::getInstance()), m_hdmi(HDMICtl::getInstance()),
      m_rtc(RtcCtl::getInstance()), m_version(Version::getInstance()), m_gsensor(GsensorCtl::getInstance()),
      m_battery(Battery::getInstance())
{
}

Protocol::~Protocol()
{
    {
        std::lock_guard<std::mutex> sendLock(m_sendMutex);
        std::lock_guard<std::mutex> resendLock(m_resendMutex);
        m_running = false;
    }
    m_sendCondition.notify_all();
    m_resendCondition.notify_all();
}

void Protocol::operator()(const unsigned char *bytes, int count)
{
    for (int i = 0; i < count; ++i) {
        if (m_updating) {
            const std::function<void(uint8_t)> sink = updateSink();
            if (sink) {
                sink(bytes[i]);
                continue;
            }
        }
        if (!getFrame(bytes[i]))
            continue;

        ProtocolFrame frame;
        std::memcpy(frame.header, m_receiveBuffer, 2);
        frame.command = m_receiveBuffer[2];
        frame.length = m_receiveBuffer[3];
        std::memcpy(frame.data, m_receiveBuffer + 4, frame.length);
        frame.checksum = m_receiveBuffer[4 + frame.length];
        if (checkSum(frame)) {
            ack(frame);
            actionFrame(frame);
        }
        std::memset(m_receiveBuffer, 0, sizeof(m_receiveBuffer));
        m_receiveIndex = 0;
    }
}

bool Protocol::getFrame(uint8_t byte)
{
    switch (m_receiveState) {
    case 0:
        if (byte == headerByte1) {
            m_receiveBuffer[m_receiveIndex++] = byte;
            m_receiveState = 1;
        }
        return false;
    case 1:
        if (byte == headerByte2) {
            m_receiveBuffer[m_receiveIndex++] = byte;
            m_receiveState = 2;
        } else {
            m_receiveIndex = 0;
            m_receiveState = 0;
        }
        return false;
    case 2:
        m_receiveBuffer[m_receiveIndex++] = byte;
        m_receiveState = 3;
        return false;
    case 3:
        if (byte > dataSize) {
            // More than a frame can hold: drop it and look for the next
            // header, which may start with this very byte.
            m_receiveIndex = 0;
            m_receiveState = 0;
            return getFrame(byte);
        }
        m_receiveBuffer[m_receiveIndex++] = byte;
        m_receiveCount = byte;
        m_receiveState = 4;
        return false;
    default:
        m_receiveBuffer[m_receiveIndex++] = byte;
        if (m_receiveCount != 0) {
            --m_receiveCount;
            return false;
        }
        m_receiveIndex = 0;
        m_receiveState = 0;
        return true;
    }
}

bool Protocol::checkSum(const ProtocolFrame &frame)
{
    uint8_t sum = frame.header[0] ^ frame.header[1] ^ frame.command ^ frame.length;
    for (int i = 0; i < frame.length; ++i)
        sum ^= frame.data[i];
    if (sum == frame.checksum)
        return true;
    console::error("check sum error\n");
    return false;
}

uint8_t Protocol::checkSum(uint8_t command, const uint8_t *data, uint8_t length)
{
    uint8_t sum = headerSum ^ command ^ length;
    for (int i = 0; i < length; ++i)
        sum ^= data[i];
    return sum;
}

void Protocol::ack(const ProtocolFrame &frame)
{
    if (!m_working) {
        {
            std::lock_guard<std::mutex> lock(m_workingMutex);
            m_working = true;
        }
        m_workingCondition.notify_all();
    }
    if (frame.command == cmdAcknowledge) {
        clearResend(frame);
        return;
    }
    if (frame.command >= cmdFirstUnacknowledged)
        return;
    uint8_t answer[1 + dataSize];
    answer[0] = frame.command;
    std::memcpy(answer + 1, frame.data, frame.length);
    send(cmdAcknowledge, answer, static_cast<uint8_t>(frame.length + 1));
}

void Protocol::waitUntilWorking()
{
    std::unique_lock<std::mutex> lock(m_workingMutex);
    m_workingCondition.wait(lock, [this] { return m_working.load(); });
}

void Protocol::actionFrame(const ProtocolFrame &frame)
{
    const uint8_t *data = frame.data;
    const int length = frame.length;
    switch (frame.command) {
    case cmdMcuVersion:
        mcuVersion(data, length);
        break;
    case cmdChannel:
        channel(data, length);
        break;
    case cmdHDMIData:
        HDMIdataParse(data, length);
        break;
    case cmdWHDIData:
        WHDIdataParse(data, length);
        break;
    case cmdStrength:
        strength(data, length);
        break;
    case cmdGsensor:
        GsensorParse(data, length);
        break;
    case cmdClock:
        RTCParse(data, length);
        break;
    case cmdAcknowledge:
        ackParse(data, length);
        break;
    case cmdTemperature:
        temperatureParse(data, length);
        break;
    case cmdVoltage:
        voltageParse(data, length);
        break;
    case cmdEncryptionMode:
        WHDIEncryptionMode(data, length);
        break;
    case cmdApplyUpgrade:
        mcuApplyUpgrade();
        break;
    case cmdWHDIUsed:
        isWHDIused();
        break;
    default:
        break;
    }
}

int Protocol::send(uint8_t command, const uint8_t *data, uint8_t length)
{
    if (m_updating)
        return 1;
    if (length > maxQueuedData) {
        console::error("mcu frame 0x%02x of %d bytes is too long\n", command, length);
        return 1;
    }
    QueuedFrame record;
    record.fresh = 1;
    record.length = static_cast<uint16_t>(length + frameOverhead);
    record.frame[0] = headerByte1;
    record.frame[1] = headerByte2;
    record.frame[2] = command;
    record.frame[3] = length;
    if (length > 0)
        std::memcpy(record.frame + 4, data, length);
    record.frame[4 + length] = checkSum(command, data, length);
    {
        std::lock_guard<std::mutex> lock(m_sendMutex);
        m_sendQueue.push_back(record);
    }
    m_sendCondition.notify_one();
    return 1;
}

bool Protocol::nextFrame(QueuedFrame &record)
{
    std::unique_lock<std::mutex> lock(m_sendMutex);
    m_sendCondition.wait(lock, [this] { return !m_sendQueue.empty() || !m_running; });
    if (!m_running)
        return false;
    record = m_sendQueue.front();
    m_sendQueue.pop_front();
    return true;
}

void Protocol::keepForResend(const QueuedFrame &record)
{
    if (!m_resend || record.command() == cmdAcknowledge)
        return;
    {
        std::lock_guard<std::mutex> lock(m_resendMutex);
        m_resendList.remove_if([&](const QueuedFrame &entry) { return entry.command() == record.command(); });
        m_resendList.push_back(record);
        m_resendList.back().fresh = 1;
    }
    m_resendCondition.notify_one();
}

void Protocol::clearResend(const ProtocolFrame &ack)
{
    if (!m_resend || ack.length == 0)
        return;
    // An acknowledgement that echoes the data of an ordinary command belongs to
    // that very frame: one for an older frame of the command, arriving late
    // on a noisy line, leaves the newer frame waiting. Questions are
    // acknowledged by their answers and the flip request by the MCU's flip
    // state: those carry no echo and clear the command's entry whatever their
    // data.
    const uint8_t command = ack.data[0];
    const uint8_t *echo = ack.data + 1;
    const int echoLength = ack.length - 1;
    const auto answers = [&](const QueuedFrame &queued) {
        if (queued.command() != command)
            return false;
        if (command >= cmdFirstUnacknowledged || command == cmdFlip || echoLength == 0)
            return true;
        return queued.frame[3] == echoLength && std::memcmp(queued.frame + 4, echo, echoLength) == 0;
    };
    std::lock_guard<std::mutex> lock(m_resendMutex);
    const auto entry = std::find_if(m_resendList.begin(), m_resendList.end(), answers);
    if (entry != m_resendList.end())
        m_resendList.erase(entry);
}

void Protocol::clearResendAll()
{
    if (!m_resend)
        return;
    std::lock_guard<std::mutex> lock(m_resendMutex);
    m_resendList.clear();
}

void Protocol::setWHDIused(int index, uint8_t value)
{
    if (index < 0 || index >= 2)
        return;
    m_WHDIused[index] = value;
}

void Protocol::isWHDIused()
{
    const uint8_t main = m_WHDIused[0];
    const uint8_t answer[2] = {cmdWHDIUsed, main != 0 ? main : m_WHDIused[1].load()};
    send(cmdAcknowledge, answer, sizeof(answer));
}

void Protocol::mcuUpgrade(std::function<void()> updateMode, std::function<void(uint8_t)> updateSink)
{
    std::lock_guard<std::mutex> lock(m_upgradeMutex);
    m_updateMode = std::move(updateMode);
    m_updateSink = std::move(updateSink);
}

std::function<void(uint8_t)> Protocol::updateSink()
{
    std::lock_guard<std::mutex> lock(m_upgradeMutex);
    return m_updateSink;
}

Protocol::HDMIData Protocol::decodeHDMI(const uint8_t *data, int length)
{
    HDMIData info;
    if (length >= 1)
        info.active = data[0] != 0;
    int *const words[] = {&info.horTotal, &info.horActive, &info.verTotal, &info.verActive, &info.pixelClock};
    for (int i = 0; i < 5; ++i) {
        if (length >= 3 + 2 * i)
            *words[i] = bigEndian16(data + 1 + 2 * i);
    }
    if (length >= 12)
        info.progressive = data[11] == 0;
    if (length >= 13)
        info.colorSpace = data[12];
    if (length >= 14)
        info.colorDepth = data[13];
    return info;
}

Protocol::GsensorData Protocol::decodeGsensor(const uint8_t *data, int length)
{
    GsensorData sample;
    if (length >= 2)
        sample.x = bigEndian16(data);
    if (length >= 4)
        sample.y = bigEndian16(data + 2);
    if (length >= 6)
        sample.z = bigEndian16(data + 4);
    if (length >= 8)
        sample.a = static_cast<short>(bigEndian16(data + 6));
    if (length >= 10)
        sample.angle = static_cast<short>(bigEndian16(data + 8));
    return sample;
}

Protocol::PowerData Protocol::decodeVoltage(const uint8_t *data, int length)
{
    PowerData power;
    if (length >= 4)
        power.externalPower = bigEndian32(data) / 10.0f > 5.0f;
    if (length >= 8)
        power.voltageA = bigEndian32(data + 4) / 10.0f;
    if (length >= 12)
        power.voltageB = bigEndian32(data + 8) / 10.0f;
    return power;
}

void Protocol::printVideoReport(const char *name, const HDMIData &data)
{
    console::print("\n**%s video active : %s ***\n", name, data.active ? "true" : "false");
    console::print("Htotal : %d    Hactive : %d\n", data.horTotal, data.horActive);
    console::print("Vtotal : %d    Vactive : %d\n", data.verTotal, data.verActive);
    console::print("PCLK   : %d    I/P     : %s\n\n", data.pixelClock, data.progressive ? "P" : "I");
}

void Protocol::mcuVersion(const uint8_t *data, int length)
{
    if (length < 3)
        return;
    char text[16];
    std::snprintf(text, sizeof(text), "0%d%d%d", data[0], data[1], data[2]);
    m_version->setMcuVersion(text);
}

void Protocol::channel(const uint8_t *data, int length)
{
    if (length < 1)
        return;
    m_whdi->setChannel(data[0]);
}

void Protocol::HDMIdataParse(const uint8_t *data, int length)
{
    const HDMIData info = decodeHDMI(data, length);
    m_hdmi->setInfo(info.active, info.pixelClock, info.horTotal, info.horActive, info.verTotal, info.verActive,
                    info.progressive, info.colorSpace, info.colorDepth);
}

void Protocol::WHDIdataParse(const uint8_t *, int)
{
    // The wireless receiver's timing matters only in its read-back form.
}

void Protocol::strength(const uint8_t *data, int length)
{
    if (length < 1)
        return;
    m_whdi->setStrength(data[0]);
}

void Protocol::flip(const uint8_t *data, int length)
{
    if (length < 1)
        return;
    m_gsensor->setFlip(data[0] != 0);
}

void Protocol::GsensorParse(const uint8_t *data, int length)
{
    const GsensorData sample = decodeGsensor(data, length);
    m_gsensor->setGsensorData(sample.x, sample.y, sample.z, sample.a, sample.angle);
}

void Protocol::RTCParse(const uint8_t *data, int length)
{
    if (length < 4)
        return;
    m_rtc->updateTime(static_cast<long>(static_cast<uint32_t>(bigEndian32(data))));
}

void Protocol::temperatureParse(const uint8_t *, int)
{
    // The MCU's temperature report carries nothing the application uses.
}

void Protocol::voltageParse(const uint8_t *data, int length)
{
    const PowerData power = decodeVoltage(data, length);
    m_battery->setBatteryVoltage(power.externalPower, power.voltageA, power.voltageB);
}

void Protocol::WHDIEncryptionMode(const uint8_t *data, int length)
{
    if (length < 1)
        return;
    m_whdi->setEncryption(data[0] != 0);
}

void Protocol::ackParse(const uint8_t *data, int length)
{
    if (length < 1)
        return;
    const uint8_t *rest = data + 1;
    const int restLength = length - 1;
    switch (data[0]) {
    case cmdFlip:
        flip(rest, restLength);
        break;
    case cmdEnterUpdate:
        mcuUpdateMode();
        break;
    case cmdReadVersion:
        mcuVersion(rest, restLength);
        break;
    case cmdReadChannel:
        channel(rest, restLength);
        if (restLength >= 1)
            console::print("WHDI Channel : %d \n", rest[0]);
        break;
    case cmdReadHDMIData:
        HDMIdataParse(rest, restLength);
        printVideoReport("HDMI", decodeHDMI(rest, restLength));
        break;
    case cmdReadWHDIData:
        printVideoReport("WHDI", decodeHDMI(rest, restLength));
        break;
    case cmdReadStrength:
        strength(rest, restLength);
        if (restLength >= 1)
            console::print("WHDI signal quality : %d\n", rest[0]);
        break;
    case cmdReadEncryptionMode:
        WHDIEncryptionMode(rest, restLength);
        break;
    default:
        break;
    }
}

void Protocol::mcuUpdateMode()
{
    m_updating = true;
    std::function<void()> updateMode;
    {
        std::lock_guard<std::mutex> lock(m_upgradeMutex);
        updateMode = m_updateMode;
    }
    if (updateMode)
        updateMode();
}

void Protocol::mcuApplyUpgrade()
{
    m_updating = true;
    clearResendAll();
    m_version->mcuApplyUpgrade();
}
