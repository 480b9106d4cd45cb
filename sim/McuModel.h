#pragma once

#include "PseudoTerminal.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace sim {

// The microcontroller at the other end of dev/ttyPS1. Device side: the bytes on
// the line, in the MCU's frame format (0xAA 0xBB command length data checksum)
// and, while it waits in its boot loader, in the boot loader's (a 16-bit
// length). Backend side: this class.
//
// Like the real firmware it starts talking once the application has set the
// line up at 115200 baud (after a boot delay); it acknowledges what the
// application sends, answers its questions, repeats its own reports until they
// are acknowledged, and plays the boot loader of a firmware update. The line
// between the two can corrupt, drop, delay and fragment bytes, and can be held
// to the byte rate of a real serial line.
class McuModel
{
public:
    using Clock = std::chrono::steady_clock;

    struct Frame {
        uint8_t command = 0;
        std::vector<uint8_t> data;
        Clock::time_point time;
    };
    using Listener = std::function<void(const Frame &frame)>;

    // What the boot loader saw of the firmware update so far.
    struct BootLoaderStatus {
        bool active = false;      // the MCU waits in its boot loader
        int connects = 0;
        int erases = 0;
        int sizes = 0;
        uint32_t announcedSize = 0;
        int blocks = 0;
        size_t received = 0;      // image bytes since the last erase
        bool complete = false;    // the announced size arrived
        bool matches = false;     // and equals the expected image
        Clock::time_point firstBlock; // the first block began to arrive
        Clock::time_point completed;
    };

    // The boot loader's answers to the boot-loader commands.
    enum BootCommand : uint8_t {
        bootErase = 0x03,
        bootSize = 0x04,
        bootBlock = 0x05,
        bootConnect = 0x22,
    };

    explicit McuModel(PseudoTerminal &line);
    ~McuModel();
    McuModel(const McuModel &) = delete;
    McuModel &operator=(const McuModel &) = delete;

    bool start();
    void stop();
    // Started and serving the line.
    bool ok() const;

    // --- what the MCU sends -------------------------------------------------
    // One frame to the application. A frame the application acknowledges
    // (below 0x80, other than 0x0F) is repeated until it does; a newer frame of
    // the same command replaces the one waiting.
    void send(uint8_t command, const std::vector<uint8_t> &data);
    // Bytes on the line as they are, once.
    void sendRaw(const std::vector<uint8_t> &bytes);
    // Sends the report of that command every period (0 stops): 0x04 strength,
    // 0x0A clock, 0x12 power readings.
    bool report(uint8_t command, int periodMs);
    // Asks the application whether the wireless input is shown (0x97), again
    // every second until it answers.
    void askWHDIUsed();
    // The MCU asks for a firmware update (0x31) and waits in its boot loader.
    void requestUpdate();

    // --- behaviour ------------------------------------------------------------
    void setAcknowledge(bool on);
    // A dead MCU: it sends nothing at all, not even acknowledgements.
    void setSilent(bool on);
    void setBootDelay(int ms);
    void setNoise(double percent);
    void setDrop(double percent);
    void setDelay(int ms);
    // Bytes go in pieces of 1..maxPiece bytes with a short pause between them
    // (0: whole).
    void setFragment(size_t maxPiece);
    // Holds the line to that baud rate, 10 bit times a byte (0: as fast as the
    // terminal goes).
    void setBaud(int rate);

    // --- what the MCU knows -------------------------------------------------
    void setVersion(uint8_t a, uint8_t b, uint8_t c);
    void setChannel(uint8_t channel);
    void setStrength(uint8_t strength);
    void setEncryption(bool on);
    void setHDMI(const std::vector<uint8_t> &data);
    void setWHDI(const std::vector<uint8_t> &data);
    // The battery-backed clock, seconds since the epoch; it runs on from there.
    void setClock(uint32_t seconds);
    uint32_t clock() const;
    // Input, battery A and battery B in tenths of a volt.
    void setPower(int32_t input, int32_t batteryA, int32_t batteryB);

    // --- boot loader ----------------------------------------------------------
    void setFirmware(const std::vector<uint8_t> &image);
    // Slow boot loader: each answer comes this long after its command.
    void setBootLoaderDelay(int ms);
    void setEraseDelay(int ms);
    // Failing boot loader: that command is never answered.
    void setBootLoaderFailure(uint8_t command, bool failing);
    BootLoaderStatus bootLoader() const;

    // --- records --------------------------------------------------------------
    // Every frame with a good checksum the application sent, in order.
    std::vector<Frame> received() const;
    size_t count(uint8_t command) const;
    // Frames whose checksum did not match or whose length no frame can have.
    size_t badFrames() const;
    // The answers to 0x97, in order.
    std::vector<uint8_t> WHDIAnswers() const;
    // True once the application has set the line to 115200 baud.
    bool lineConfigured() const;
    // Called on the model's reader thread for every frame of that command.
    void onCommand(uint8_t command, Listener listener);

private:
    struct Outgoing {
        Clock::time_point due;
        std::vector<uint8_t> bytes;
    };
    struct Pending {
        std::vector<uint8_t> bytes;
        Clock::time_point sent;
    };
    struct Periodic {
        std::chrono::milliseconds period;
        Clock::time_point next;
    };
    // The line's faults, read once per block of bytes.
    struct Faults {
        double noise = 0;
        double drop = 0;
        std::chrono::milliseconds delay{0};
        size_t fragment = 0;
        Clock::duration byteTime{0};
    };

    void readLoop();
    void writeLoop();
    void receiveByte(uint8_t byte);
    void receiveBootByte(uint8_t byte);
    bool takeHeaderByte(uint8_t byte);
    bool checksumMatches(uint8_t lengthSum, uint8_t byte);
    void handleFrame(const Frame &frame);
    void noteBlockStart();
    void handleBootFrame(uint8_t command, const std::vector<uint8_t> &data);
    void answerBoot(uint8_t command, std::chrono::milliseconds delay);
    void applyCommand(const Frame &frame);
    void acknowledge(uint8_t command, const std::vector<uint8_t> &data);
    std::vector<uint8_t> reportData(uint8_t command) const;
    void queue(std::vector<uint8_t> bytes, std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    void queueReport(uint8_t command, const std::vector<uint8_t> &data);
    void housekeeping(Clock::time_point now);
    void transmit(std::vector<uint8_t> bytes);
    bool writeLine(const uint8_t *data, size_t length);
    Faults faults() const;
    bool chance(std::mt19937 &random, double percent) const;
    bool configuredNow() const;

    static std::vector<uint8_t> frame(uint8_t command, const std::vector<uint8_t> &data);
    static std::vector<uint8_t> bootFrame(uint8_t command, const std::vector<uint8_t> &data);

    PseudoTerminal &m_line;
    int m_probe = -1; // our own descriptor on the application's end, to see its settings

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_running = false;
    std::thread m_reader;
    std::thread m_writer;

    // Behaviour.
    bool m_acknowledge = true;
    bool m_silent = false;
    std::chrono::milliseconds m_bootDelay{1000};
    double m_noise = 0;
    double m_drop = 0;
    std::chrono::milliseconds m_delay{0};
    size_t m_fragment = 0;
    int m_baud = 0;

    // State of the firmware.
    uint8_t m_version[3] = {1, 2, 3};
    uint8_t m_channel = 0;
    uint8_t m_strength = 80;
    bool m_encryption = true;
    std::vector<uint8_t> m_hdmi;
    std::vector<uint8_t> m_whdi;
    uint32_t m_clockBase;
    Clock::time_point m_clockSet;
    int32_t m_power[3] = {120, 78, 76};
    bool m_configured = false;
    Clock::time_point m_configuredAt;
    bool m_announced = false;

    // Outgoing traffic.
    std::multimap<Clock::time_point, std::vector<uint8_t>> m_outgoing;
    std::map<uint8_t, Pending> m_pending;
    std::map<uint8_t, Periodic> m_periodic;
    bool m_asking = false;
    Clock::time_point m_askedAt;
    Clock::time_point m_lineFree;
    std::mt19937 m_outRandom{0x5eed};

    // Incoming: the frame being reassembled (reader thread only).
    std::mt19937 m_inRandom{0xfeed};
    int m_step = 0;
    uint8_t m_command = 0;
    size_t m_length = 0;
    std::vector<uint8_t> m_data;
    Clock::time_point m_inboundFree;

    // Boot loader.
    bool m_bootMode = false;
    bool m_bootRequested = false;
    std::vector<uint8_t> m_firmware;
    std::vector<uint8_t> m_image;
    std::chrono::milliseconds m_bootAnswerDelay{0};
    std::chrono::milliseconds m_eraseDelay{0};
    std::map<uint8_t, bool> m_bootFailing;
    BootLoaderStatus m_boot;

    // Records.
    std::vector<Frame> m_received;
    size_t m_badFrames = 0;
    std::vector<uint8_t> m_WHDIAnswers;
    std::map<uint8_t, std::vector<Listener>> m_listeners;
};

} // namespace sim
