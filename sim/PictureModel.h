#pragma once

#include "InterruptModel.h"
#include "PLModel.h"
#include "VideoModel.h"

#include <QImage>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

// One colour matrix as a matrix block of the logic holds it: coefficients
// with 12 fraction bits (row = output component), offsets with 4.
struct MatrixRecord {
    int16_t coefficient[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    int16_t offset[3] = {0, 0, 0};
};

// What the main channel carries.
struct MainSource {
    bool present = false;
    VideoModel::Format format;
    int input = 0;       // MAIN_CH_CTL bits 0-1: 0 wireless, 1 HDMI, 2 SDI
    bool rgb = false;    // RGB components; YCbCr otherwise
    bool fields = false; // the logic stores it as two fields
    std::string label;   // e.g. "SDI 1920x1080 50i"
    // The size the logic captures and shows it at: wider than 2048 pixels
    // comes at 1920 x 1080.
    int width = 1920;
    int height = 1080;
};

// The logic's picture path behind the registers.
//
// Device side: the main channel's source follows MAIN_CH_CTL and the
// receivers of the video model. On the rising edge of a matrix block's load
// bit (CSC_MATRIX_CTL bit 4t+1) the block latches the record staged in
// CSC_MATRIX_VAL0-5; on the rising edge of VID_3DLUT_CTL bit 4 the display
// LUT latches LUT3D_MEMORY1. FRAME_CAP_CTL bit 2 freezes the picture. When a
// capture is armed (FRAME_CAP_CTL bit 0 rises) the grabber writes the current
// picture into FRAME_SAVE, 2048 words a line, an interlaced picture as its
// first field's lines followed by its second field's (with bit 1 set, through
// the colour adjustments), and raises the capture interrupt.
//
// Backend side: the calls below, from any thread.
class PictureModel
{
public:
    static constexpr int frameStride = 2048;
    static constexpr int blockCount = 5;
    static constexpr int gridPoints = 17;
    static constexpr int lutWords = gridPoints * gridPoints * gridPoints;

    // What the blocks latched. The LUT in grid order (index (b * 17 + g) *
    // 17 + r), three components each.
    struct Latched {
        std::array<MatrixRecord, blockCount> blocks;
        std::vector<std::array<uint16_t, 3>> lut;
    };

    PictureModel(PLModel &pl, VideoModel &video, InterruptModel &interrupts);
    ~PictureModel();
    PictureModel(const PictureModel &) = delete;
    PictureModel &operator=(const PictureModel &) = delete;

    bool start();
    void stop();
    bool ok() const;

    MainSource mainSource() const;
    // The frame the picture shows now: the frame clock, held while frozen.
    uint64_t currentFrame() const;
    // The source's picture at a frame, in RGB at the source's size; black at
    // 1920 x 1080 without a source.
    QImage pictureAt(const MainSource &source, uint64_t frame) const;
    QImage sourcePicture(const MainSource &source) const { return pictureAt(source, currentFrame()); }
    Latched latched() const;
    // Captures served since the board started.
    int captures() const { return m_captures.load(); }
    // The frame of the last capture.
    uint64_t lastCaptureFrame() const { return m_lastCaptureFrame.load(); }

    // The grid index of a word of the LUT memory layout.
    static int gridIndexOfWord(int word);

private:
    // Watches for edges from the register words given on.
    void latchLoop(uint32_t lastCsc, uint32_t lastLut, uint32_t lastFrame);
    void grabLoop();
    void capture();
    MatrixRecord stagedRecord() const;
    void latchLut();

    PLModel &m_pl;
    VideoModel &m_video;
    InterruptModel &m_interrupts;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_running = false;
    bool m_captureWanted = false;
    Latched m_latched;
    bool m_frozen = false;
    uint64_t m_frozenFrame = 0;
    std::atomic<int> m_captures{0};
    std::atomic<uint64_t> m_lastCaptureFrame{0};

    // The last picture rendered, kept while it is asked for again.
    mutable std::mutex m_pictureMutex;
    mutable QImage m_picture;
    mutable std::string m_pictureKey;

    std::thread m_latchThread;
    std::thread m_grabThread;
};

} // namespace sim
