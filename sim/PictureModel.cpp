#include "PictureModel.h"

#include "PanelPicture.h"
#include "TestPicture.h"
#include "ThreadName.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace sim {

namespace {

// The latches look at the control registers this often: well inside the
// 5 ms that a load bit stays low.
constexpr auto latchPeriod = std::chrono::milliseconds(1);
constexpr int captureLine = 1; // FRAME_OPTION
constexpr int loadBitOffset = 1;
constexpr int lutLoadBit = 4;
constexpr int armBit = 0;
constexpr int adjustBit = 1;
constexpr int freezeBit = 2;
constexpr int maxCaptureWidth = 2048;
constexpr int wideWidth = 1920;
constexpr int wideHeight = 1080;

bool bit(uint32_t word, int n)
{
    return ((word >> n) & 1u) != 0;
}

std::string rateText(const VideoModel::Format &format)
{
    const double rate = format.rate;
    char text[24];
    if (std::fabs(rate - std::round(rate)) < 0.01)
        std::snprintf(text, sizeof(text), "%d", static_cast<int>(std::round(rate)));
    else
        std::snprintf(text, sizeof(text), "%.2f", rate);
    const char *scan = format.scan == VideoModel::Scan::Progressive  ? "p"
                       : format.scan == VideoModel::Scan::Interlaced ? "i"
                                                                     : "psf";
    return std::string(text) + scan;
}

} // namespace

PictureModel::PictureModel(PLModel &pl, VideoModel &video, InterruptModel &interrupts)
    : m_pl(pl), m_video(video), m_interrupts(interrupts)
{
    m_latched.lut.assign(lutWords, {0, 0, 0});
}

PictureModel::~PictureModel()
{
    stop();
}

bool PictureModel::start()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_running)
        return true;
    m_running = true;
    // The registers as they are now, before the application can change them.
    m_latchThread = std::thread(&PictureModel::latchLoop, this, m_pl.get(CSC_MATRIX_CTL), m_pl.get(VID_3DLUT_CTL),
                                m_pl.get(FRAME_CAP_CTL));
    m_grabThread = std::thread(&PictureModel::grabLoop, this);
    return true;
}

void PictureModel::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_running)
            return;
        m_running = false;
    }
    m_wake.notify_all();
    m_latchThread.join();
    m_grabThread.join();
}

bool PictureModel::ok() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_running;
}

MainSource PictureModel::mainSource() const
{
    MainSource source;
    source.input = static_cast<int>(m_pl.field(MAIN_CH_CTL, 1, 0));
    const char *name = source.input == 2 ? "SDI" : source.input == 1 ? "HDMI" : "WHDI";
    source.present = source.input == 2 ? m_video.sdiPicture(source.format) : m_video.channelPicture(0, source.format);
    if (!source.present)
        return source;
    const VideoModel::Format &format = source.format;
    source.rgb = source.input == 1 || (source.input == 2 && format.sampling == VideoModel::Sampling::RGB444);
    const bool levelBTen = source.input == 2 && format.levelB && format.bits == 10
                           && format.sampling == VideoModel::Sampling::YCbCr422;
    source.fields = format.scan != VideoModel::Scan::Progressive || levelBTen;
    source.label = std::string(name) + " " + std::to_string(format.width) + "x" + std::to_string(format.height) + " "
                   + rateText(format);
    source.width = format.width > maxCaptureWidth ? wideWidth : format.width;
    source.height = format.width > maxCaptureWidth ? wideHeight : std::min(format.height, wideHeight);
    return source;
}

uint64_t PictureModel::currentFrame() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frozen ? m_frozenFrame : m_video.frames();
}

QImage PictureModel::pictureAt(const MainSource &source, uint64_t frame) const
{
    if (!source.present) {
        QImage black(wideWidth, wideHeight, QImage::Format_RGB30);
        black.fill(0);
        return black;
    }
    const std::string key = std::to_string(source.width) + "x" + std::to_string(source.height) + "@"
                            + std::to_string(frame) + " " + source.label;
    std::lock_guard<std::mutex> lock(m_pictureMutex);
    if (key != m_pictureKey) {
        m_picture = TestPicture::render(source.width, source.height, frame, source.label);
        m_pictureKey = key;
    }
    return m_picture;
}

PictureModel::Latched PictureModel::latched() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_latched;
}

int PictureModel::gridIndexOfWord(int word)
{
    constexpr int last = gridPoints - 1;
    int r = 0, g = 0, b = 0;
    if (word < 4096) {
        r = word % 16, g = word / 16 % 16, b = word / 256;
    } else if (word < 4352) {
        r = last, g = (word - 4096) % 16, b = (word - 4096) / 16;
    } else if (word < 4608) {
        g = last, r = (word - 4352) % 16, b = (word - 4352) / 16;
    } else if (word < 4864) {
        b = last, r = (word - 4608) % 16, g = (word - 4608) / 16;
    } else if (word < 4880) {
        r = g = last, b = word - 4864;
    } else if (word < 4896) {
        r = b = last, g = word - 4880;
    } else if (word < 4912) {
        g = b = last, r = word - 4896;
    } else {
        r = g = b = last;
    }
    return (b * gridPoints + g) * gridPoints + r;
}

MatrixRecord PictureModel::stagedRecord() const
{
    int16_t values[12];
    for (int i = 0; i < 6; ++i) {
        const uint32_t word = m_pl.get(static_cast<FunctionTypeIndex>(CSC_MATRIX_VAL0 + i));
        values[2 * i] = static_cast<int16_t>(word & 0xFFFFu);
        values[2 * i + 1] = static_cast<int16_t>(word >> 16);
    }
    MatrixRecord record;
    for (int i = 0; i < 9; ++i)
        record.coefficient[i / 3][i % 3] = values[i];
    for (int i = 0; i < 3; ++i)
        record.offset[i] = values[9 + i];
    return record;
}

void PictureModel::latchLut()
{
    const auto *memory = static_cast<const volatile uint32_t *>(m_pl.memory(PLMemory::LUT3D_MEMORY1));
    if (memory == nullptr)
        return;
    std::vector<std::array<uint16_t, 3>> grid(lutWords);
    for (int word = 0; word < lutWords; ++word) {
        const uint32_t value = memory[word];
        // The logic reads a LUT word as B, G, R from bit 20 down.
        grid[static_cast<size_t>(gridIndexOfWord(word))] = {static_cast<uint16_t>(value & 0x3FFu),
                                                            static_cast<uint16_t>((value >> 10) & 0x3FFu),
                                                            static_cast<uint16_t>((value >> 20) & 0x3FFu)};
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_latched.lut.swap(grid);
}

void PictureModel::latchLoop(uint32_t lastCsc, uint32_t lastLut, uint32_t lastFrame)
{
    nameThread("board-latches");
    // What each block would take: the record staged while its load bit is
    // low. The application stages, drops the bit, waits and raises it, and
    // may stage the next block's record the moment after; so the record
    // seen while the bit was low is the one the edge latches.
    std::array<MatrixRecord, blockCount> candidate;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (m_running) {
        m_wake.wait_for(lock, latchPeriod);
        if (!m_running)
            return;
        lock.unlock();
        const uint32_t csc = m_pl.get(CSC_MATRIX_CTL);
        const MatrixRecord staged = stagedRecord();
        for (int block = 0; block < blockCount; ++block) {
            const int load = 4 * block + loadBitOffset;
            if (!bit(csc, load)) {
                candidate[static_cast<size_t>(block)] = staged;
            } else if (!bit(lastCsc, load)) {
                std::lock_guard<std::mutex> latch(m_mutex);
                m_latched.blocks[static_cast<size_t>(block)] = candidate[static_cast<size_t>(block)];
            }
        }
        lastCsc = csc;
        const uint32_t lut = m_pl.get(VID_3DLUT_CTL);
        if (bit(lut, lutLoadBit) && !bit(lastLut, lutLoadBit))
            latchLut();
        lastLut = lut;
        const uint32_t frame = m_pl.get(FRAME_CAP_CTL);
        lock.lock();
        if (bit(frame, freezeBit) != bit(lastFrame, freezeBit)) {
            m_frozen = bit(frame, freezeBit);
            m_frozenFrame = m_video.frames();
        }
        if (bit(frame, armBit) && !bit(lastFrame, armBit)) {
            m_captureWanted = true;
            m_wake.notify_all();
        }
        lastFrame = frame;
    }
}

void PictureModel::grabLoop()
{
    nameThread("board-grabber");
    std::unique_lock<std::mutex> lock(m_mutex);
    while (m_running) {
        m_wake.wait(lock, [this] { return !m_running || m_captureWanted; });
        if (!m_running)
            return;
        m_captureWanted = false;
        lock.unlock();
        capture();
        lock.lock();
    }
}

void PictureModel::capture()
{
    auto *memory = static_cast<uint32_t *>(m_pl.memory(PLMemory::FRAME_SAVE));
    if (memory == nullptr)
        return;
    const MainSource source = mainSource();
    const uint64_t frame = currentFrame();
    QImage picture = pictureAt(source, frame);
    if (bit(m_pl.get(FRAME_CAP_CTL), adjustBit))
        picture = PanelPicture::adjusted(picture, source, latched(), m_pl);
    const int height = picture.height();
    const int firstField = (height + 1) / 2;
    for (int y = 0; y < height; ++y) {
        const int line = !source.fields ? y : y % 2 == 0 ? y / 2 : firstField + y / 2;
        std::memcpy(memory + static_cast<size_t>(line) * frameStride, picture.constScanLine(y),
                    static_cast<size_t>(picture.width()) * 4);
    }
    m_lastCaptureFrame = frame;
    ++m_captures;
    m_interrupts.raise(captureLine);
}

} // namespace sim
