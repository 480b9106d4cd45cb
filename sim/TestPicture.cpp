#include "TestPicture.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>

namespace sim {

namespace {

constexpr uint32_t fullScale = 1023;
constexpr uint32_t labelLevel = 800;
// Band boundaries in thousandths of the height.
constexpr int barsEnd = 620;
constexpr int rampEnd = 800;
// The square moves this many pixels a frame.
constexpr int squareStep = 8;

// White, yellow, cyan, green, magenta, red, blue, black.
constexpr bool barMask[TestPicture::barCount][3] = {{true, true, true},  {true, true, false}, {false, true, true},
                                                    {false, true, false}, {true, false, true}, {true, false, false},
                                                    {false, false, true}, {false, false, false}};

int rowAt(int height, int thousandths)
{
    return static_cast<int>(static_cast<long>(height) * thousandths / 1000);
}

void fillRect(QImage &image, const QRect &rect, uint32_t word)
{
    const QRect clipped = rect.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto *line = reinterpret_cast<uint32_t *>(image.scanLine(y));
        std::fill(line + clipped.left(), line + clipped.right() + 1, word);
    }
}

// The label as a coverage mask, drawn where a font is to be had.
void drawLabel(QImage &image, const std::string &label)
{
    if (label.empty() || qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
        return;
    QFont font;
    font.setPixelSize(std::max(10, image.height() / 40));
    const QFontMetrics metrics(font);
    const QString text = QString::fromStdString(label);
    const QSize size(metrics.horizontalAdvance(text) + 2, metrics.height() + 2);
    if (size.width() >= image.width() || size.height() >= image.height())
        return;
    QImage mask(size, QImage::Format_Alpha8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(1, 1), size - QSize(2, 2)), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.end();
    const int margin = std::max(2, image.height() / 100);
    const int left = image.width() - size.width() - margin;
    const int top = image.height() - size.height() - margin;
    const uint32_t word = TestPicture::word(labelLevel, labelLevel, labelLevel);
    for (int y = 0; y < size.height(); ++y) {
        const uchar *coverage = mask.constScanLine(y);
        auto *line = reinterpret_cast<uint32_t *>(image.scanLine(top + y)) + left;
        for (int x = 0; x < size.width(); ++x) {
            if (coverage[x] >= 128)
                line[x] = word;
        }
    }
}

} // namespace

QRect TestPicture::barRect(int index, int width, int height)
{
    const int left = static_cast<int>(static_cast<long>(width) * index / barCount);
    const int right = static_cast<int>(static_cast<long>(width) * (index + 1) / barCount);
    return QRect(left, 0, right - left, rowAt(height, barsEnd));
}

void TestPicture::barColour(int index, uint32_t rgb[3])
{
    for (int c = 0; c < 3; ++c)
        rgb[c] = barMask[index][c] ? barLevel : 0;
}

QRect TestPicture::rampRect(int width, int height)
{
    const int top = rowAt(height, barsEnd);
    return QRect(0, top, width, rowAt(height, rampEnd) - top);
}

uint32_t TestPicture::rampValue(int x, int width)
{
    return width > 1 ? static_cast<uint32_t>(static_cast<long>(x) * fullScale / (width - 1)) : 0;
}

QRect TestPicture::squareRect(int width, int height, uint64_t frame)
{
    const int top = rowAt(height, rampEnd);
    const int side = std::max(1, (height - top) * 2 / 3);
    const int travel = std::max(1, width - side);
    const int left = static_cast<int>((frame * squareStep) % static_cast<uint64_t>(travel));
    return QRect(left, top + (height - top - side) / 2, side, side);
}

QImage TestPicture::render(int width, int height, uint64_t frame, const std::string &label)
{
    QImage image(width, height, QImage::Format_RGB30);
    if (image.isNull())
        return image;
    image.fill(0);
    for (int i = 0; i < barCount; ++i) {
        uint32_t rgb[3];
        barColour(i, rgb);
        fillRect(image, barRect(i, width, height), word(rgb[0], rgb[1], rgb[2]));
    }
    const QRect ramp = rampRect(width, height);
    if (!ramp.isEmpty()) {
        auto *first = reinterpret_cast<uint32_t *>(image.scanLine(ramp.top()));
        for (int x = 0; x < width; ++x) {
            const uint32_t v = rampValue(x, width);
            first[x] = word(v, v, v);
        }
        for (int y = ramp.top() + 1; y <= ramp.bottom(); ++y)
            std::copy(first, first + width, reinterpret_cast<uint32_t *>(image.scanLine(y)));
    }
    fillRect(image, squareRect(width, height, frame), word(fullScale, fullScale, fullScale));
    drawLabel(image, label);
    return image;
}

} // namespace sim
