#include "MarkDraw.h"

#include "CustomIcon.h"

#include <QPainter>
#include <QString>
#include <cmath>

namespace {

constexpr int screenW = 1920; // the OSD plane
constexpr int screenH = 1080;

struct Ratio {
    const char *name;
    const char *key;
    QRect rect;
};

// The frames at full screen; the custom one until its ratio is known.
const Ratio ratios[MarkDraw::rateCount] = {
    {"1:1", "photoMarkRate11", QRect(QPoint(419, 1), QPoint(1498, 1079))},
    {"4:3", "photoMarkRate43", QRect(QPoint(239, 1), QPoint(1679, 1079))},
    {"5:3", "photoMarkRate53", QRect(QPoint(60, 1), QPoint(1859, 1079))},
    {"16:9", "photoMarkRate169", QRect(QPoint(1, 1), QPoint(1919, 1079))},
    {"2.35:1", "photoMarkRate2351", QRect(QPoint(1, 131), QPoint(1920, 946))},
    {"2.40:1", "photoMarkRate2401", QRect(QPoint(1, 140), QPoint(1920, 938))},
    {"9:16", "photoMarkRate916", QRect(QPoint(656, 1), QPoint(1261, 1079))},
    {"custom", "photoMarkRateCustomEn", QRect(QPoint(1, 1), QPoint(1919, 1079))},
};

constexpr int paletteAlpha = 250;

QColor paletteColor(int index)
{
    static const QColor palette[] = {
        QColor(255, 0, 0, paletteAlpha),   QColor(44, 255, 0, paletteAlpha),  QColor(24, 0, 255, paletteAlpha),
        QColor(255, 255, 0, paletteAlpha), QColor(0, 255, 255, paletteAlpha), QColor(242, 0, 255, paletteAlpha),
        QColor(255, 217, 230, paletteAlpha),
    };
    const int count = static_cast<int>(sizeof(palette) / sizeof(palette[0]));
    return index >= 1 && index <= count ? palette[index - 1] : palette[0];
}

int lineWidth(const std::string &name)
{
    if (name == "small")
        return 2;
    if (name == "large")
        return 10;
    return 6;
}

int safePercentOf(const std::string &text)
{
    for (const char *known : {"80", "85", "88", "90", "93"}) {
        if (text == known)
            return std::stoi(text);
    }
    return 90;
}

float warpFactor(const std::string &text)
{
    static const struct {
        const char *text;
        float factor;
    } factors[] = {{"2x", 2.0f}, {"1.8x", 1.8f}, {"1.65x", 1.65f}, {"1.5x", 1.5f}, {"1.33x", 1.33f}};
    for (const auto &each : factors) {
        if (text == each.text)
            return each.factor;
    }
    return 2.0f;
}

// Both half-screen layouts show the main picture at half size on the left.
int picModeOf(int mode)
{
    if (mode == AssistChannelCtl::PIP_RIGHT_HALF)
        return AssistChannelCtl::PIP_LEFT_HALF;
    if (mode < AssistChannelCtl::PIP_LEFT_TOP || mode > AssistChannelCtl::PIP_LEFT_HALF)
        return AssistChannelCtl::PIP_RIGHT_TOP;
    return mode;
}

// A decimal number; text that is none, or no finite number, gives 0.
float ratioNumber(const std::string &text)
{
    bool ok = false;
    const float value = QString::fromStdString(text).trimmed().toFloat(&ok);
    return ok && std::isfinite(value) ? value : 0.0f;
}

// The corner windows of the assist picture and the half-screen width.
constexpr int assistWidth = 480;
constexpr int assistHeight = 270;
constexpr int assistRight = screenW - assistWidth;
constexpr int assistBottom = screenH - assistHeight;
constexpr int halfWidth = screenW / 2;

constexpr int crossHalf = 10;
const QColor lightMeterColor(33, 91, 165, 255);
constexpr int lightMeterLineWidth = 2;

} // namespace

MarkDraw::MarkDraw(DrawMarkType type)
    : type(type), markColor(paletteColor(1)), safeColor(paletteColor(1))
{
    for (int i = 0; i < rateCount; ++i)
        rateRect[i] = ratios[i].rect;
    configInit();
}

void MarkDraw::configInit()
{
    appConfig->findValue("photoMarkEnable", markEnable);
    int color = 1;
    if (appConfig->findValue("photoMarkColor", color))
        setMarkColor(color);
    std::string text;
    if (appConfig->findValue("photoMarkLine", text))
        setMarkLine(text);
    for (int i = 0; i < rateCount; ++i)
        appConfig->findValue(ratios[i].key, rateEnable[i]);
    if (appConfig->findValue("photoMarkRatioWidth", text))
        customRatioWidth = ratioNumber(text);
    if (appConfig->findValue("photoMarkRatioHeight", text))
        customRatioHeight = ratioNumber(text);

    appConfig->findValue("photoZoomEnable", zoomEnable);
    appConfig->findValue("photoWarpEnable", warpEnable);
    if (appConfig->findValue("photoWarpRate", text))
        warpRate = warpFactor(text);
    appConfig->findValue("inputPicEnable", picEnable);
    if (appConfig->findValue("inputPicInPic", text))
        picMode = picModeOf(AssistChannelCtl::picInPicMode(text));
    if (appConfig->findValue("scanMode", text)) {
        VideoOption::ScanMode mode;
        VideoOption::scanModeFromText(text, mode);
        scanMode = mode;
    }

    appConfig->findValue("photoSafeEnable", safeEnable);
    if (appConfig->findValue("photoSafeColor", color))
        setSafeColor(color);
    if (appConfig->findValue("photoSafeLine", text))
        setSafeLine(text);
    if (appConfig->findValue("photoSafeRate", text))
        setSafeRate(text);
    appConfig->findValue("colorLightMeterEnable", lightMeterEnable);
}

void MarkDraw::setMarkColor(int index)
{
    markColor = paletteColor(index);
}

void MarkDraw::setMarkLine(const std::string &line)
{
    markWidth = lineWidth(line);
}

void MarkDraw::setMarkRate(const std::string &ratio, bool on)
{
    for (int i = 0; i < rateCount; ++i) {
        if (ratio == ratios[i].name) {
            rateEnable[i] = on;
            return;
        }
    }
}

void MarkDraw::setMarkUserRate(float width, float height)
{
    customRatioWidth = width;
    customRatioHeight = height;
}

void MarkDraw::setSafeColor(int index)
{
    safeColor = paletteColor(index);
}

void MarkDraw::setSafeLine(const std::string &line)
{
    safeWidth = lineWidth(line);
}

void MarkDraw::setSafeRate(const std::string &rate)
{
    safePercent = safePercentOf(rate);
}

void MarkDraw::setSafeMarkPercent(int percent)
{
    if (percent >= 1 && percent <= 100)
        safePercent = percent;
}

void MarkDraw::lightMeterSetPosition(int x, int y)
{
    lightMeterX = qBound(0, x, screenW);
    lightMeterY = qBound(0, y, screenH);
}

void MarkDraw::UpdateMark(bool zoom, bool warp, float warpRate, bool pic, AssistChannelCtl::PicInPicMode mode,
                          VideoOption::ScanMode scanMode)
{
    zoomEnable = zoom;
    warpEnable = warp;
    if (std::isfinite(warpRate) && warpRate >= 1.0f)
        this->warpRate = warpRate;
    picEnable = pic;
    picMode = picModeOf(mode);
    const int scan = scanMode;
    this->scanMode = scan >= VideoOption::SCAN_NORMAL && scan <= VideoOption::SCAN_PIX_TO_PIX ? scan
                                                                                              : VideoOption::SCAN_NORMAL;
}

void MarkDraw::draw(QPaintDevice *device)
{
    // Zoom shows a part of the picture, where frame lines and the safe area
    // would mark nothing.
    const bool frameLines = markEnable && !zoomEnable;
    const bool safeArea = safeEnable && !zoomEnable;
    // Nothing to draw is the usual case, repainted with every frame's time
    // code: no painter is set up for it.
    if (noVideo || !(frameLines || safeArea || lightMeterEnable))
        return;
    QPainter painter(device);
    painter.setClipRect(0, 0, screenW, screenH);
    // The overlay is the first thing painted on the cleared plane, so its
    // lines may replace what is there rather than blend with it: the same
    // picture at a fraction of the cost.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (frameLines)
        drawFrameLines(painter);
    if (safeArea)
        drawSafeArea(painter);
    if (lightMeterEnable)
        drawLightMeter(painter);
}

void MarkDraw::drawBackground(QPaintDevice *device)
{
    if (!noVideo)
        return;
    // Decoded when first needed: a start with a picture never needs it.
    if (background.isNull())
        background = CustomIcon::read(QStringLiteral(":/png/common/logo.png"));
    QPainter painter(device);
    painter.drawPixmap((screenW - background.width()) / 2, (screenH - background.height()) / 2,
                       background);
}

void MarkDraw::drawFrameLines(QPainter &painter)
{
    const Stroke stroke{markColor, markWidth};
    for (int i = 0; i < rateCount; ++i) {
        if (i == customRate)
            updateCustomRect();
        if (rateEnable[i])
            drawRect(painter, stroke, rateRect[i], false);
    }
}

// A ratio that is no positive number, or so extreme that its frame would be
// thinner than a pixel, keeps the frame of the last good one.
void MarkDraw::updateCustomRect()
{
    const double width = customRatioWidth;
    const double height = customRatioHeight;
    if (!(width > 0) || !(height > 0))
        return;
    // Products before quotients: whole-number ratios give exact frames.
    if (width * screenH > height * screenW) {
        const double frameHeight = std::trunc(screenW * height / width - 1);
        if (!(frameHeight >= 1))
            return;
        const int h = static_cast<int>(frameHeight);
        const int top = (screenH - h) / 2 - 1;
        rateRect[customRate] = QRect(QPoint(1, top), QPoint(screenW - 1, top + h - 1));
    } else {
        const double frameWidth = std::trunc(screenH * width / height - 1);
        if (!(frameWidth >= 1))
            return;
        const int w = static_cast<int>(frameWidth);
        const int left = (screenW - w) / 2 - 1;
        rateRect[customRate] = QRect(QPoint(left, 1), QPoint(left + w - 1, screenH - 1));
    }
}

void MarkDraw::drawSafeArea(QPainter &painter)
{
    const int h = screenH * safePercent / 100;
    const int w = screenW * safePercent / 100;
    const int top = (screenH - h) / 2;
    const int left = (screenW - w) / 2;
    drawRect(painter, Stroke{safeColor, safeWidth}, QRect(left, top, w, h), true);
}

void MarkDraw::drawLightMeter(QPainter &painter)
{
    const int half = lightMeterSize / 2;
    const Stroke stroke{lightMeterColor, lightMeterLineWidth};
    strokeLine(painter, stroke, lightMeterX - half, lightMeterY, lightMeterX + half, lightMeterY);
    strokeLine(painter, stroke, lightMeterX, lightMeterY - half, lightMeterX, lightMeterY + half);
}

void MarkDraw::drawRect(QPainter &painter, const Stroke &stroke, const QRect &rect, bool centreCross)
{
    int left = rect.left();
    int top = rect.top();
    int width = rect.width();
    int height = rect.height();
    fitScanMode(left, top, width, height);
    if (warpEnable) {
        height = static_cast<int>(height / warpRate);
        top = (screenH - height) / 2;
    }
    drawOutline(painter, stroke, left, top, width, height);
    if (centreCross) {
        const bool leftHalf = picEnable && picMode == AssistChannelCtl::PIP_LEFT_HALF
                              && scanMode == VideoOption::SCAN_NORMAL;
        const int cx = leftHalf ? halfWidth / 2 : screenW / 2;
        const int cy = screenH / 2;
        strokeLine(painter, stroke, cx - crossHalf, cy, cx + crossHalf, cy);
        strokeLine(painter, stroke, cx, cy - crossHalf, cx, cy + crossHalf);
    }
}

// Sources the scan mode does not fill the screen with: 2K and 4K DCI shown
// whole, and pixel-to-pixel sources smaller than the panel.
void MarkDraw::fitScanMode(int &left, int &top, int &width, int &height) const
{
    const int sourceWidth = appConfig->videoWidth(0);
    const int sourceHeight = appConfig->videoHeight(0);
    double factor = 1.0;
    if (scanMode == VideoOption::SCAN_NORMAL
        && ((sourceWidth == 2048 && sourceHeight == 1080) || (sourceWidth == 4096 && sourceHeight == 2160)))
        factor = 0.9375;
    else if (scanMode == VideoOption::SCAN_PIX_TO_PIX && sourceWidth <= 2560 && sourceHeight <= 1440)
        factor = sourceHeight == 1080 ? 0.75 : 0.5;
    else
        return;
    width = static_cast<int>(width * factor);
    height = static_cast<int>(height * factor);
    left = (screenW - width) / 2;
    top = (screenH - height) / 2;
}

// The outline runs along left, top, right + 1 and bottom + 1, as a stroked
// rectangle does; with an assist window in a corner it is drawn as four lines
// that stop at the window.
void MarkDraw::drawOutline(QPainter &painter, const Stroke &stroke, int left, int top, int width, int height) const
{
    if (!picEnable) {
        strokeRect(painter, stroke, QRect(left, top, width, height));
        return;
    }
    if (picMode == AssistChannelCtl::PIP_LEFT_HALF) {
        const int h2 = height / 2;
        const int w2 = width / 2;
        strokeRect(painter, stroke, QRect((halfWidth - w2) / 2, (screenH - h2) / 2, w2, h2));
        return;
    }
    const int right = left + width;
    const int bottom = top + height;
    switch (picMode) {
    case AssistChannelCtl::PIP_LEFT_TOP:
        strokeLine(painter, stroke, qMax(left, assistWidth), top, right, top);
        strokeLine(painter, stroke, right, top, right, bottom);
        strokeLine(painter, stroke, left, bottom, right, bottom);
        strokeLine(painter, stroke, left, bottom, left, qMax(top, assistHeight));
        break;
    case AssistChannelCtl::PIP_LEFT_BOTTOM:
        strokeLine(painter, stroke, left, top, right, top);
        strokeLine(painter, stroke, right, top, right, bottom);
        strokeLine(painter, stroke, right, bottom, qMax(left, assistWidth), bottom);
        strokeLine(painter, stroke, left, qMin(bottom, assistBottom), left, top);
        break;
    case AssistChannelCtl::PIP_RIGHT_TOP:
        strokeLine(painter, stroke, left, top, qMin(right, assistRight), top);
        strokeLine(painter, stroke, right, qMax(top, assistHeight), right, bottom);
        strokeLine(painter, stroke, left, bottom, right, bottom);
        strokeLine(painter, stroke, left, bottom, left, top);
        break;
    default:
        strokeLine(painter, stroke, left, top, right, top);
        strokeLine(painter, stroke, right, top, right, qMin(bottom, assistBottom));
        strokeLine(painter, stroke, qMin(right, assistRight), bottom, left, bottom);
        strokeLine(painter, stroke, left, bottom, left, top);
        break;
    }
}

// Every line of the overlay is horizontal or vertical: a band as wide as the
// pen, reaching half a pen width past each end, as a square-capped stroke
// covers; filled as a rectangle, which costs a fraction of stroking it.
void MarkDraw::strokeLine(QPainter &painter, const Stroke &stroke, int x0, int y0, int x1, int y1)
{
    const int half = stroke.width / 2;
    if (y0 == y1)
        painter.fillRect(QRect(qMin(x0, x1) - half, y0 - half, qAbs(x1 - x0) + stroke.width, stroke.width),
                         stroke.color);
    else if (x0 == x1)
        painter.fillRect(QRect(x0 - half, qMin(y0, y1) - half, stroke.width, qAbs(y1 - y0) + stroke.width),
                         stroke.color);
}

// The outline of a rectangle along left, top, left + width and top + height,
// its corners covered once.
void MarkDraw::strokeRect(QPainter &painter, const Stroke &stroke, const QRect &rect)
{
    const int half = stroke.width / 2;
    const int left = rect.left();
    const int top = rect.top();
    const int right = left + rect.width();
    const int bottom = top + rect.height();
    const int inner = rect.height() - stroke.width;
    painter.fillRect(QRect(left - half, top - half, rect.width() + stroke.width, stroke.width), stroke.color);
    painter.fillRect(QRect(left - half, bottom - half, rect.width() + stroke.width, stroke.width), stroke.color);
    if (inner > 0) {
        painter.fillRect(QRect(left - half, top + half, stroke.width, inner), stroke.color);
        painter.fillRect(QRect(right - half, top + half, stroke.width, inner), stroke.color);
    }
}
