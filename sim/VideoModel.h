#pragma once

#include "DeviceTree.h"
#include "InterruptModel.h"
#include "PLModel.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace sim {

// The logic's video receivers, audio extractor and timecode reader.
//
// Device side, in the registers: the SDI receiver's information word
// (SDI_IN_INFO: mode, lock, family, progressive and level bits, rate code,
// payload valid, carrier lost; the key levels in bits 25 to 27 are left to the
// interrupt model) and its ST 352 payload (SDI_ST352_PL0), the measured timing
// of each channel (*_VID_INFO0..2: lock, clock count at the pixel-pair rate in
// kHz with its validity, active and total sizes in pixel pairs and lines, one
// field for interlaced pictures), the wireless payload register
// (WHDI_ST352_PL), the audio peaks and sample count and a running BCD
// timecode. The SDI_CARRIER line is raised when the cable is pulled or
// plugged, VIDEO_INFO once a frame (at most 60 times a second) while any
// source is present.
//
// Backend side: the calls below, from any thread.
class VideoModel
{
public:
    enum class Scan { Progressive, Interlaced, Segmented };
    enum class Sampling { YCbCr422, YCbCr444, RGB444 };

    // A video format as the scenario gives it: the rate is the field rate of
    // an interlaced format, the frame rate otherwise.
    struct Format {
        int width = 1920;
        int height = 1080;
        double rate = 60;
        Scan scan = Scan::Progressive;
        Sampling sampling = Sampling::YCbCr422;
        int bits = 10;
        bool levelB = false;

        double frameRate() const { return scan == Scan::Interlaced ? rate / 2 : rate; }
    };

    // How the SDI link carries a format.
    struct SdiLink {
        int mode = 0;   // 0 HD, 1 SD, 2 3G, 4 6G
        int family = 0; // the receiver's transport family
        bool payload = true;
    };

    // The measured timing of a format.
    struct Timing {
        uint32_t clockPairsKHz = 0;
        uint32_t activePairs = 0;
        uint32_t totalPairs = 0;
        uint32_t activeLines = 0;
        uint32_t totalLines = 0;
    };

    VideoModel(DeviceTree &tree, PLModel &pl, InterruptModel &interrupts);
    ~VideoModel();
    VideoModel(const VideoModel &) = delete;
    VideoModel &operator=(const VideoModel &) = delete;

    bool start();
    void stop();
    // Started and playing its sources.
    bool ok() const;

    // "1920x1080" and "50i" (p, i or psf) into a format; false with a reason.
    static bool parseFormat(const std::string &size, const std::string &rate, Format &format, std::string &error);
    // The SDI mapping of a format; false with a reason when the receiver
    // cannot take it.
    static bool sdiLink(const Format &format, SdiLink &link, std::string &error);
    // The ST 352 payload word of a format on its SDI link (byte 1 in bits 0 to 7).
    static uint32_t st352(const Format &format, const SdiLink &link);
    // The ST 352 picture-rate code of a frame rate; 0 when there is none.
    static uint32_t rateCode(double frameRate);
    // The standard timing of a format; false for a size without one.
    static bool timing(const Format &format, Timing &timing);

    // The SDI receiver locks to a format; false (nothing changes) when the
    // link cannot carry it.
    bool sdi(const Format &format, std::string &error);
    // No signal on the SDI input (the cable stays in).
    void sdiOff();
    void sdiCable(bool in);

    // The measured timing of a channel (0 main, 1 assist); off: unlocked, no clock.
    bool hdmi(int channel, const Format &format, std::string &error);
    void hdmiOff(int channel);

    // The wireless picture on a channel: its measured timing and payload.
    bool whdi(int channel, const Format &format, std::string &error);
    void whdiLost(bool lost);

    // The picture a receiver delivers now: false when it has none.
    bool sdiPicture(Format &format) const;
    bool channelPicture(int channel, Format &format) const;
    // Frames since the board started, on the clock that runs the timecode.
    uint64_t frames() const { return m_frames.load(); }

    void audio(uint32_t left, uint32_t right, uint32_t samples);
    // "HH:MM:SS:FF" into hours, minutes, seconds and frames.
    static bool parseTimecode(const std::string &text, int parts[4], std::string &error);
    // Sets the timecode, which then runs with the frames.
    bool timecode(const std::string &text, std::string &error);

private:
    void run();
    void writeSdi();
    void setInfoWord(uint32_t value);
    void writeTiming(int channel, const Timing &timing);
    void advanceTimecode();
    bool anySource() const;
    double tickRate() const;

    DeviceTree &m_tree;
    PLModel &m_pl;
    InterruptModel &m_interrupts;
    uint32_t *m_info = nullptr; // SDI_IN_INFO, shared with the key levels: atomic access only
    void *m_page = nullptr;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_running = false;
    bool m_sdiLocked = false;
    bool m_cableIn = true;
    Format m_sdiFormat;
    bool m_channelActive[2] = {false, false};
    Format m_channelFormat[2];
    std::atomic<uint64_t> m_frames{0};
    double m_lastRate = 60;
    int m_timecode[4] = {0, 0, 0, 0}; // hours, minutes, seconds, frames
    bool m_timecodeRunning = false;
    std::thread m_thread;
};

} // namespace sim
