#include "McuModel.h"

#include "ThreadName.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace sim {

namespace {

using std::chrono::milliseconds;

constexpr uint8_t headerByte1 = 0xAA;
constexpr uint8_t headerByte2 = 0xBB;

enum Command : uint8_t {
    cmdVersion = 0x00,
    cmdChannel = 0x01,
    cmdHDMI = 0x02,
    cmdWHDI = 0x03,
    cmdStrength = 0x04,
    cmdClock = 0x0A,
    cmdEnterUpdate = 0x0C,
    cmdAcknowledge = 0x0F,
    cmdPower = 0x12,
    cmdEncryption = 0x15,
    cmdRequestUpdate = 0x31,
    cmdFirstQuestion = 0x80,
    cmdReadVersion = 0x80,
    cmdReadChannel = 0x81,
    cmdReadHDMI = 0x82,
    cmdReadWHDI = 0x83,
    cmdReadStrength = 0x84,
    cmdReadEncryption = 0x95,
    cmdWHDIUsed = 0x97,
};

constexpr auto resendInterval = milliseconds(500);
constexpr auto askInterval = milliseconds(1000);
constexpr auto housekeepingInterval = milliseconds(10);
constexpr auto fragmentPause = milliseconds(2);
constexpr auto lineWriteTimeoutMs = 100;
constexpr auto readTimeoutMs = 20;
// Bytes are handed on at the line's pace in batches of about this length.
constexpr auto paceGranularity = milliseconds(1);
constexpr uint32_t defaultClock = 1717243200; // 2024-06-01 12:00:00 UTC
constexpr size_t maxBlockData = 2 + 1500;
// The most data an ordinary frame carries: an acknowledgement of a full
// 64-byte frame echoes its command before the data.
constexpr size_t maxFrameData = 1 + 64;

bool acknowledged(uint8_t command)
{
    return command < cmdFirstQuestion && command != cmdAcknowledge;
}

std::vector<uint8_t> bigEndian(uint32_t value)
{
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value)};
}

void append(std::vector<uint8_t> &to, const std::vector<uint8_t> &bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// Sleeps until a time point, in short steps so that a stop is not held up.
void sleepUntil(McuModel::Clock::time_point until, const bool &running, std::mutex &mutex)
{
    for (;;) {
        const auto now = McuModel::Clock::now();
        if (now >= until)
            return;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!running)
                return;
        }
        std::this_thread::sleep_for(std::min<McuModel::Clock::duration>(until - now, milliseconds(50)));
    }
}

} // namespace

McuModel::McuModel(PseudoTerminal &line)
    : m_line(line),
      m_hdmi({1, 0x08, 0x98, 0x07, 0x80, 0x04, 0x65, 0x04, 0x38, 0x3A, 0x02, 0, 1, 5}),
      m_whdi({1, 0x08, 0x98, 0x07, 0x80, 0x04, 0x65, 0x04, 0x38, 0x3A, 0x02, 0}),
      m_clockBase(defaultClock), m_clockSet(Clock::now())
{
}

McuModel::~McuModel()
{
    stop();
    if (m_probe >= 0)
        ::close(m_probe);
}

bool McuModel::start()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_running)
        return true;
    if (m_probe < 0)
        m_probe = ::open(m_line.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_probe < 0)
        return false;
    // Writes must never block the model: a full line loses bytes instead.
    const int flags = fcntl(m_line.master(), F_GETFL);
    if (flags < 0 || fcntl(m_line.master(), F_SETFL, flags | O_NONBLOCK) != 0)
        return false;
    m_running = true;
    m_reader = std::thread(&McuModel::readLoop, this);
    m_writer = std::thread(&McuModel::writeLoop, this);
    return true;
}

void McuModel::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
    }
    m_wake.notify_all();
    if (m_reader.joinable())
        m_reader.join();
    if (m_writer.joinable())
        m_writer.join();
}

bool McuModel::ok() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_running;
}

// --- frames -------------------------------------------------------------------

std::vector<uint8_t> McuModel::frame(uint8_t command, const std::vector<uint8_t> &data)
{
    std::vector<uint8_t> bytes = {headerByte1, headerByte2, command, static_cast<uint8_t>(data.size())};
    append(bytes, data);
    uint8_t sum = 0;
    for (uint8_t byte : bytes)
        sum ^= byte;
    bytes.push_back(sum);
    return bytes;
}

std::vector<uint8_t> McuModel::bootFrame(uint8_t command, const std::vector<uint8_t> &data)
{
    std::vector<uint8_t> bytes = {headerByte1, headerByte2, command, static_cast<uint8_t>(data.size() >> 8),
                                  static_cast<uint8_t>(data.size())};
    append(bytes, data);
    uint8_t sum = 0;
    for (uint8_t byte : bytes)
        sum ^= byte;
    bytes.push_back(sum);
    return bytes;
}

// --- backend: sending -----------------------------------------------------------

void McuModel::send(uint8_t command, const std::vector<uint8_t> &data)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    queueReport(command, data);
}

void McuModel::sendRaw(const std::vector<uint8_t> &bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    queue(bytes);
}

bool McuModel::report(uint8_t command, int periodMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (reportData(command).empty())
        return false;
    if (periodMs <= 0)
        m_periodic.erase(command);
    else
        m_periodic[command] = {milliseconds(periodMs), Clock::now()};
    m_wake.notify_all();
    return true;
}

void McuModel::askWHDIUsed()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_asking = true;
    m_askedAt = Clock::now();
    queue(frame(cmdWHDIUsed, {}));
}

void McuModel::requestUpdate()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bootMode = true;
    m_bootRequested = true;
    m_boot.active = true;
    m_pending.clear();
    queueReport(cmdRequestUpdate, {});
}

// --- backend: behaviour and state -------------------------------------------------

void McuModel::setAcknowledge(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_acknowledge = on;
}

void McuModel::setSilent(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_silent = on;
    m_wake.notify_all();
}

void McuModel::setBootDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bootDelay = milliseconds(std::max(ms, 0));
}

void McuModel::setNoise(double percent)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_noise = std::clamp(percent, 0.0, 100.0);
}

void McuModel::setDrop(double percent)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_drop = std::clamp(percent, 0.0, 100.0);
}

void McuModel::setDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_delay = milliseconds(std::max(ms, 0));
}

void McuModel::setFragment(size_t maxPiece)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fragment = maxPiece;
}

void McuModel::setBaud(int rate)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_baud = std::max(rate, 0);
}

void McuModel::setVersion(uint8_t a, uint8_t b, uint8_t c)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_version[0] = a;
    m_version[1] = b;
    m_version[2] = c;
}

void McuModel::setChannel(uint8_t channel)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_channel = channel;
}

void McuModel::setStrength(uint8_t strength)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_strength = strength;
}

void McuModel::setEncryption(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_encryption = on;
}

void McuModel::setHDMI(const std::vector<uint8_t> &data)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hdmi = data;
}

void McuModel::setWHDI(const std::vector<uint8_t> &data)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_whdi = data;
}

void McuModel::setClock(uint32_t seconds)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_clockBase = seconds;
    m_clockSet = Clock::now();
}

uint32_t McuModel::clock() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto running = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - m_clockSet);
    return m_clockBase + static_cast<uint32_t>(running.count());
}

void McuModel::setPower(int32_t input, int32_t batteryA, int32_t batteryB)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_power[0] = input;
    m_power[1] = batteryA;
    m_power[2] = batteryB;
}

void McuModel::setFirmware(const std::vector<uint8_t> &image)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_firmware = image;
}

void McuModel::setBootLoaderDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bootAnswerDelay = milliseconds(std::max(ms, 0));
}

void McuModel::setEraseDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_eraseDelay = milliseconds(std::max(ms, 0));
}

void McuModel::setBootLoaderFailure(uint8_t command, bool failing)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bootFailing[command] = failing;
}

// --- backend: records -------------------------------------------------------------

McuModel::BootLoaderStatus McuModel::bootLoader() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boot;
}

std::vector<McuModel::Frame> McuModel::received() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

size_t McuModel::count(uint8_t command) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<size_t>(std::count_if(m_received.begin(), m_received.end(),
                                             [command](const Frame &frame) { return frame.command == command; }));
}

size_t McuModel::badFrames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_badFrames;
}

std::vector<uint8_t> McuModel::WHDIAnswers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_WHDIAnswers;
}

bool McuModel::lineConfigured() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_configured;
}

void McuModel::onCommand(uint8_t command, Listener listener)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listeners[command].push_back(std::move(listener));
}

// --- the firmware -----------------------------------------------------------------

std::vector<uint8_t> McuModel::reportData(uint8_t command) const
{
    switch (command) {
    case cmdVersion:
        return {m_version[0], m_version[1], m_version[2]};
    case cmdChannel:
        return {m_channel};
    case cmdHDMI:
        return m_hdmi;
    case cmdWHDI:
        return m_whdi;
    case cmdStrength:
        return {m_strength};
    case cmdClock:
        return bigEndian(m_clockBase + static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                                                 Clock::now() - m_clockSet)
                                                                 .count()));
    case cmdPower: {
        std::vector<uint8_t> data;
        for (int32_t value : m_power)
            append(data, bigEndian(static_cast<uint32_t>(value)));
        return data;
    }
    case cmdEncryption:
        return {static_cast<uint8_t>(m_encryption ? 1 : 0)};
    default:
        return {};
    }
}

void McuModel::queue(std::vector<uint8_t> bytes, milliseconds delay)
{
    m_outgoing.emplace(Clock::now() + m_delay + delay, std::move(bytes));
    m_wake.notify_all();
}

void McuModel::queueReport(uint8_t command, const std::vector<uint8_t> &data)
{
    std::vector<uint8_t> bytes = frame(command, data);
    if (acknowledged(command))
        m_pending[command] = {bytes, Clock::now()};
    queue(std::move(bytes));
}

void McuModel::acknowledge(uint8_t command, const std::vector<uint8_t> &data)
{
    if (!m_acknowledge)
        return;
    std::vector<uint8_t> answer = {command};
    append(answer, data);
    queue(frame(cmdAcknowledge, answer));
}

void McuModel::handleFrame(const Frame &received)
{
    std::vector<Listener> listeners;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_received.push_back(received);
        const auto found = m_listeners.find(received.command);
        if (found != m_listeners.end())
            listeners = found->second;
    }
    for (const Listener &listener : listeners)
        listener(received);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_silent)
        applyCommand(received);
}

void McuModel::applyCommand(const Frame &received)
{
    const uint8_t command = received.command;
    const std::vector<uint8_t> &data = received.data;
    if (command == cmdAcknowledge) {
        if (data.empty())
            return;
        if (data[0] == cmdWHDIUsed) {
            if (data.size() >= 2) {
                m_WHDIAnswers.push_back(data[1]);
                m_asking = false;
            }
            return;
        }
        // Only the acknowledgement of the frame still waiting clears it; one
        // for an older frame of the same command does not.
        const auto pending = m_pending.find(data[0]);
        if (pending != m_pending.end()
            && (data.size() == 1 || std::equal(data.begin() + 1, data.end(), pending->second.bytes.begin() + 4,
                          pending->second.bytes.end() - 1)))
            m_pending.erase(pending);
        return;
    }

    if (acknowledged(command)) {
        if (command == cmdChannel && !data.empty())
            m_channel = data[0];
        else if (command == cmdEncryption && !data.empty())
            m_encryption = data[0] != 0;
        else if (command == cmdClock && data.size() >= 4) {
            m_clockBase = (uint32_t(data[0]) << 24) | (uint32_t(data[1]) << 16) | (uint32_t(data[2]) << 8) | data[3];
            m_clockSet = Clock::now();
        }
        acknowledge(command, data);
        if (command == cmdEnterUpdate && !data.empty() && data[0] == 1) {
            // The running firmware hands over to its boot loader.
            m_bootMode = true;
            m_boot.active = true;
            m_pending.clear();
        }
        return;
    }

    // Each question is answered with the data of the report it reads back.
    static const std::pair<uint8_t, uint8_t> questions[] = {
        {cmdReadVersion, cmdVersion}, {cmdReadChannel, cmdChannel},     {cmdReadHDMI, cmdHDMI},
        {cmdReadWHDI, cmdWHDI},       {cmdReadStrength, cmdStrength}, {cmdReadEncryption, cmdEncryption},
    };
    for (const auto &question : questions) {
        if (question.first == command) {
            acknowledge(command, reportData(question.second));
            return;
        }
    }
}

void McuModel::answerBoot(uint8_t command, milliseconds delay)
{
    if (m_silent || m_bootFailing[command])
        return;
    queue(bootFrame(cmdAcknowledge, {command}), delay);
}

void McuModel::noteBlockStart()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_boot.blocks == 0)
        m_boot.firstBlock = Clock::now();
}

void McuModel::handleBootFrame(uint8_t command, const std::vector<uint8_t> &data)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    switch (command) {
    case bootConnect:
        ++m_boot.connects;
        if (m_bootRequested) {
            m_bootRequested = false;
            m_pending.erase(cmdRequestUpdate);
        }
        answerBoot(command, m_bootAnswerDelay);
        break;
    case bootErase:
        ++m_boot.erases;
        m_image.clear();
        m_boot.received = 0;
        m_boot.blocks = 0;
        m_boot.complete = false;
        m_boot.matches = false;
        answerBoot(command, m_bootAnswerDelay + m_eraseDelay);
        break;
    case bootSize:
        ++m_boot.sizes;
        m_boot.announcedSize =
            (uint32_t(data[0]) << 24) | (uint32_t(data[1]) << 16) | (uint32_t(data[2]) << 8) | data[3];
        answerBoot(command, m_bootAnswerDelay);
        break;
    default:
        ++m_boot.blocks;
        m_image.insert(m_image.end(), data.begin() + 2, data.end());
        m_boot.received = m_image.size();
        answerBoot(command, m_bootAnswerDelay);
        if (!m_boot.complete && m_boot.announcedSize > 0 && m_image.size() >= m_boot.announcedSize) {
            m_boot.complete = true;
            m_boot.matches = m_image == m_firmware;
            m_boot.completed = Clock::now();
            // The new firmware starts.
            m_bootMode = false;
            m_boot.active = false;
        }
        break;
    }
}

// --- the line -----------------------------------------------------------------------

McuModel::Faults McuModel::faults() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Faults faults;
    faults.noise = m_noise;
    faults.drop = m_drop;
    faults.delay = m_delay;
    faults.fragment = m_fragment;
    if (m_baud > 0)
        faults.byteTime = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(10.0 / m_baud));
    return faults;
}

bool McuModel::chance(std::mt19937 &random, double percent) const
{
    if (percent <= 0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 100.0)(random) < percent;
}

bool McuModel::configuredNow() const
{
    struct termios settings;
    return tcgetattr(m_probe, &settings) == 0 && cfgetospeed(&settings) == B115200;
}

void McuModel::readLoop()
{
    nameThread("board-mcu-rx");
    std::vector<uint8_t> buffer(4096);
    size_t pieceLeft = 0;
    bool bootParser = false;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_running)
                return;
        }
        const long count = m_line.receive(buffer.data(), buffer.size(), readTimeoutMs);
        if (count <= 0)
            continue;
        const Faults line = faults();
        const Clock::time_point arrival = Clock::now() + line.delay;
        for (long i = 0; i < count; ++i) {
            if (chance(m_inRandom, line.drop))
                continue;
            uint8_t byte = buffer[static_cast<size_t>(i)];
            if (chance(m_inRandom, line.noise))
                byte ^= static_cast<uint8_t>(1 + m_inRandom() % 255);
            Clock::time_point due = std::max(arrival, m_inboundFree);
            if (line.fragment > 0) {
                if (pieceLeft == 0) {
                    pieceLeft = 1 + m_inRandom() % line.fragment;
                    due += fragmentPause;
                }
                --pieceLeft;
            }
            m_inboundFree = due + line.byteTime;
            if (m_inboundFree - Clock::now() > paceGranularity)
                sleepUntil(m_inboundFree, m_running, m_mutex);
            bool bootMode;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                bootMode = m_bootMode;
            }
            if (bootMode != bootParser) {
                // The other side of the MCU took over: start a new frame.
                bootParser = bootMode;
                m_step = 0;
            }
            if (bootMode)
                receiveBootByte(byte);
            else
                receiveByte(byte);
        }
    }
}

void McuModel::receiveByte(uint8_t byte)
{
    if (takeHeaderByte(byte))
        return;
    switch (m_step) {
    case 2:
        m_command = byte;
        m_step = 3;
        return;
    case 3:
        if (byte > maxFrameData) {
            // More than a frame holds: a bad frame. The next header may
            // start with this very byte.
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                ++m_badFrames;
            }
            m_step = 0;
            takeHeaderByte(byte);
            return;
        }
        m_length = byte;
        m_data.clear();
        m_step = m_length == 0 ? 5 : 4;
        return;
    case 4:
        m_data.push_back(byte);
        if (m_data.size() == m_length)
            m_step = 5;
        return;
    default:
        break;
    }
    if (checksumMatches(static_cast<uint8_t>(m_length), byte))
        handleFrame({m_command, m_data, Clock::now()});
}

void McuModel::receiveBootByte(uint8_t byte)
{
    if (takeHeaderByte(byte))
        return;
    switch (m_step) {
    case 2:
        // The boot loader knows four commands; anything else is noise.
        m_command = byte;
        if (byte == bootBlock)
            noteBlockStart();
        m_step = byte == bootConnect || byte == bootErase || byte == bootSize || byte == bootBlock ? 3 : 0;
        return;
    case 3:
        m_length = static_cast<size_t>(byte) << 8;
        m_step = 4;
        return;
    case 4: {
        m_length |= byte;
        const bool fits = m_command == bootSize    ? m_length == 4
                          : m_command == bootBlock ? m_length >= 2 && m_length <= maxBlockData
                                                   : m_length == 1;
        m_data.clear();
        m_step = fits ? 5 : 0;
        return;
    }
    case 5:
        m_data.push_back(byte);
        if (m_data.size() == m_length)
            m_step = 6;
        return;
    default:
        break;
    }
    if (checksumMatches(static_cast<uint8_t>(m_length >> 8) ^ static_cast<uint8_t>(m_length), byte))
        handleBootFrame(m_command, m_data);
}

// Steps 0 and 1 of both framings: the two header bytes (a repeated first byte
// may still start a frame). True when the byte was taken as one of them.
bool McuModel::takeHeaderByte(uint8_t byte)
{
    if (m_step == 0) {
        m_step = byte == headerByte1 ? 1 : 0;
        return true;
    }
    if (m_step == 1) {
        m_step = byte == headerByte2 ? 2 : (byte == headerByte1 ? 1 : 0);
        return true;
    }
    return false;
}

// The closing byte of both framings: the exclusive or of the header, the
// command, the length bytes and the data. A frame that fails it is counted;
// either way the next byte starts a new frame.
bool McuModel::checksumMatches(uint8_t lengthSum, uint8_t byte)
{
    m_step = 0;
    uint8_t sum = headerByte1 ^ headerByte2 ^ m_command ^ lengthSum;
    for (uint8_t value : m_data)
        sum ^= value;
    if (sum == byte)
        return true;
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_badFrames;
    return false;
}

void McuModel::housekeeping(Clock::time_point now)
{
    if (!m_configured && configuredNow()) {
        m_configured = true;
        m_configuredAt = now;
    }
    if (m_silent)
        return;
    if (m_configured && !m_announced && !m_bootMode && now >= m_configuredAt + m_bootDelay) {
        m_announced = true;
        queueReport(cmdVersion, reportData(cmdVersion));
    }
    if (!m_bootMode) {
        for (auto &entry : m_periodic) {
            if (now < entry.second.next)
                continue;
            queueReport(entry.first, reportData(entry.first));
            entry.second.next = std::max(entry.second.next + entry.second.period, now);
        }
        if (m_asking && now - m_askedAt >= askInterval) {
            m_askedAt = now;
            queue(frame(cmdWHDIUsed, {}));
        }
    }
    for (auto &entry : m_pending) {
        if (now - entry.second.sent < resendInterval)
            continue;
        entry.second.sent = now;
        queue(entry.second.bytes);
    }
}

void McuModel::writeLoop()
{
    nameThread("board-mcu-tx");
    std::unique_lock<std::mutex> lock(m_mutex);
    Clock::time_point nextHousekeeping = Clock::now();
    while (m_running) {
        const Clock::time_point now = Clock::now();
        if (now >= nextHousekeeping) {
            housekeeping(now);
            nextHousekeeping = now + housekeepingInterval;
        }
        if (!m_outgoing.empty() && m_outgoing.begin()->first <= now) {
            std::vector<uint8_t> bytes = std::move(m_outgoing.begin()->second);
            m_outgoing.erase(m_outgoing.begin());
            if (m_silent)
                continue;
            lock.unlock();
            transmit(std::move(bytes));
            lock.lock();
            continue;
        }
        Clock::time_point wake = nextHousekeeping;
        if (!m_outgoing.empty())
            wake = std::min(wake, m_outgoing.begin()->first);
        m_wake.wait_until(lock, wake);
    }
}

void McuModel::transmit(std::vector<uint8_t> bytes)
{
    const Faults line = faults();
    std::vector<uint8_t> onLine;
    onLine.reserve(bytes.size());
    for (uint8_t byte : bytes) {
        if (chance(m_outRandom, line.drop))
            continue;
        if (chance(m_outRandom, line.noise))
            byte ^= static_cast<uint8_t>(1 + m_outRandom() % 255);
        onLine.push_back(byte);
    }

    // Bytes per write: a fragment, or what the line carries in about a
    // millisecond, or everything at once.
    size_t batch = onLine.size();
    if (line.byteTime.count() > 0)
        batch = std::max<size_t>(1, static_cast<size_t>(paceGranularity / line.byteTime));
    size_t offset = 0;
    while (offset < onLine.size()) {
        size_t piece = std::min(batch, onLine.size() - offset);
        if (line.fragment > 0) {
            piece = std::min(piece, 1 + m_outRandom() % line.fragment);
            if (offset > 0)
                std::this_thread::sleep_for(fragmentPause);
        }
        const Clock::time_point start = std::max(Clock::now(), m_lineFree);
        sleepUntil(start, m_running, m_mutex);
        if (!writeLine(onLine.data() + offset, piece))
            return;
        m_lineFree = start + line.byteTime * static_cast<long>(piece);
        offset += piece;
    }
}

bool McuModel::writeLine(const uint8_t *data, size_t length)
{
    // The application may not read its end at all: bytes that do not fit
    // within a short while are lost, as they would be on a real line.
    while (length > 0) {
        struct pollfd watch = {m_line.master(), POLLOUT, 0};
        if (::poll(&watch, 1, lineWriteTimeoutMs) <= 0)
            return false;
        const ssize_t written = ::write(m_line.master(), data, length);
        if (written < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (written <= 0)
            return false;
        data += written;
        length -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace sim
