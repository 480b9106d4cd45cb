#pragma once

#include "Singleton.h"
#include "Video.h"
#include "VideoInfo.h"

#include <QObject>
#include <atomic>
#include <mutex>
#include <string>

// The HDMI input: the timing the logic measures on each channel until the MCU
// first reports the receiver's own view, the MCU's report from then on. Gives
// the format facts, the format text, and the payload and timing words the SDI
// output needs to re-transmit the source.
class HDMICtl : public QObject, public Singleton<HDMICtl>
{
    Q_OBJECT

public:
    void update(int channel);
    void setInfo(bool active, int pixelClock, int horTotal, int horActive, int verTotal, int verActive,
                 bool progressive, int colorSpace, int colorDepth);
    bool isActive(int channel);
    void detectState(int channel);

    bool getSize(int &width, int &height) const;
    static bool isValidSize(int width, int height);
    Video::InterlaceMode interlance() const;
    Video::PixFormat pixFormat() const;
    Video::SDIMode sdiMode() const;
    unsigned int getPayLoad() const;
    void getHDMICtl(unsigned int &horizontal, unsigned int &vertical) const;
    void getInfo(std::string &text) const;

    // The rate text of a measured frame rate, and of one the MCU path computes.
    static std::string measuredRateText(double rate);
    static std::string mcuRateText(double rate);

signals:
    void signalUpdate(int channel);
    void signalUpdateHDMI();

private:
    friend class Singleton<HDMICtl>;
    HDMICtl();

    bool getMainVideoInfo();
    bool getAssistVideoInfo();
    void takeActiveSize(unsigned int horActive, unsigned int verActive);

    // Size, interlace and rate text of the path in use.
    struct Format {
        int width;
        int height;
        Video::InterlaceMode interlace;
        std::string rate;
    };
    Format current() const;

    MainVideoInfo m_main;
    AssistVideoInfo m_assist;

    std::atomic<bool> fromMcu{false};
    std::atomic<int> width{1920};
    std::atomic<int> height{1080};
    std::atomic<Video::PixFormat> m_pixFormat{Video::PIX_HDMI};
    std::atomic<Video::InterlaceMode> interlace{Video::PROGRESSIVE};
    std::atomic<int> mainState{0};
    std::atomic<int> assistState{0};
    std::atomic<bool> mainLocked{false};
    std::atomic<bool> assistLocked{false};
    unsigned int lastMainClock = 0;
    unsigned int lastMainHorActive = 0;
    unsigned int lastMainVerActive = 0;
    unsigned int lastMainHorTotal = 0;
    unsigned int lastMainVerTotal = 0;
    unsigned int lastAssistClock = 0;
    unsigned int lastAssistHorActive = 0;
    unsigned int lastAssistVerActive = 0;

    std::atomic<bool> mcuActive{false};
    std::atomic<int> mcuWidth{1920};
    std::atomic<int> mcuHeight{1080};
    std::atomic<Video::PixFormat> mcuPixFormat{Video::PIX_HDMI};
    std::atomic<Video::InterlaceMode> mcuInterlace{Video::PROGRESSIVE};
    unsigned int lastMcuClock = 0;
    unsigned int lastMcuWidth = 0;
    unsigned int lastMcuHeight = 0;
    unsigned int lastMcuHorTotal = 0;
    unsigned int lastMcuVerTotal = 0;
    std::atomic<int> colorSpace{1};
    std::atomic<int> colorDepth{5};
    std::atomic<int> channel{0};

    // A reading of the measured timing runs on the interrupt thread, or on the
    // user-interface thread when no interrupt has refreshed it: one at a time.
    std::mutex m_readMutex;
    // The rate texts are written on the interrupt and serial threads and read
    // on the user-interface thread.
    mutable std::mutex m_textMutex;
    std::string rateText = "60";
    std::string lastRateText;
    std::string m_mcuRateText = "60";
    std::string mcuLastRateText;
};
