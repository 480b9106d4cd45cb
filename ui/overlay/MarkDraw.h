#pragma once

#include "AssistChannelCtl.h"
#include "Config.h"
#include "VideoOption.h"

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <string>

class QPainter;
class QPaintDevice;

// Paints the framing aids over the live picture in the 1920 x 1080 space of
// the OSD plane: frame lines of several ratios, the safe area with its centre
// cross and the light-meter probe, following the scan mode, the de-squeeze, the
// picture-in-picture layout and the zoom of the picture; without a picture,
// the no-signal background instead.
class MarkDraw : public Config
{
public:
    enum DrawMarkType : int { MARK_MAIN = 0 };
    static constexpr int rateCount = 8;
    static constexpr int customRate = 7;

    explicit MarkDraw(DrawMarkType type = MARK_MAIN);

    void configInit() override;

    DrawMarkType drawMarkType() const { return type; }

    void setMarkEnable(bool on) { markEnable = on; }
    void setMarkColor(int index);
    void setMarkLine(const std::string &line);
    // One of "1:1", "4:3", "5:3", "16:9", "2.35:1", "2.40:1", "9:16", "custom";
    // another text changes nothing.
    void setMarkRate(const std::string &ratio, bool on);
    // The custom ratio; the frame is recomputed at the next paint.
    void setMarkUserRate(float width, float height);

    void setSafeMarkEnable(bool on) { safeEnable = on; }
    void setSafeColor(int index);
    void setSafeLine(const std::string &line);
    void setSafeRate(const std::string &rate);
    // A percentage of the screen, 1 to 100; another number changes nothing.
    void setSafeMarkPercent(int percent);

    void setLightMeterEnable(bool on) { lightMeterEnable = on; }
    // The probe's centre on the screen; a point off the screen is taken as the
    // nearest point on its edge.
    void lightMeterSetPosition(int x, int y);

    void setNoVideo(bool on) { noVideo = on; }
    bool isNoVideo() const { return noVideo; }

    // The picture's state as the video pipeline reports it. A de-squeeze
    // factor below 1 (or no number) keeps the previous one.
    void UpdateMark(bool zoom, bool warp, float warpRate, bool pic, AssistChannelCtl::PicInPicMode mode,
                    VideoOption::ScanMode scanMode);

    // Frame lines, safe area and probe, unless the picture is missing.
    void draw(QPaintDevice *device);
    // The no-signal picture, centred, only while the picture is missing.
    void drawBackground(QPaintDevice *device);

private:
    void drawFrameLines(QPainter &painter);
    void drawSafeArea(QPainter &painter);
    void drawLightMeter(QPainter &painter);
    void updateCustomRect();
    // Draws one frame through the scan-mode fit, the de-squeeze and the
    // picture-in-picture layout.
    void drawRect(QPainter &painter, const QRect &rect, bool centreCross);
    void fitScanMode(int &left, int &top, int &width, int &height) const;
    void drawOutline(QPainter &painter, int left, int top, int width, int height) const;

    const DrawMarkType type;

    bool markEnable = false;
    QColor markColor;
    int markWidth = 6;
    bool rateEnable[rateCount] = {};
    float customRatioWidth = 0;
    float customRatioHeight = 0;
    QRect rateRect[rateCount];

    bool zoomEnable = false;
    bool warpEnable = false;
    float warpRate = 2.0f;
    bool picEnable = false;
    int picMode = AssistChannelCtl::PIP_RIGHT_TOP;
    int scanMode = VideoOption::SCAN_NORMAL;
    bool noVideo = false;

    bool safeEnable = false;
    QColor safeColor;
    int safeWidth = 6;
    int safePercent = 90;

    bool lightMeterEnable = false;
    static constexpr int lightMeterSize = 145;
    int lightMeterX = 960;
    int lightMeterY = 540;

    QPixmap background;
};
