#include "TestPicture.h"

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

// A 5 x 7 pixel font for the labels, one row a byte (bit 4 the left column):
// the picture is the same on every machine and can be drawn on any thread.
struct Glyph {
    char character;
    uint8_t rows[7];
};

constexpr Glyph glyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'f', {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}}, {'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}},
    {'p', {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10}}, {'s', {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}},
    {'x', {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}}, {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
};
constexpr int glyphWidth = 5;
constexpr int glyphHeight = 7;
constexpr int glyphAdvance = 6;

const Glyph *glyphOf(char character)
{
    for (const Glyph &glyph : glyphs) {
        if (glyph.character == character)
            return &glyph;
    }
    return nullptr; // a space, or a character the font lacks
}

// The label in the bottom right corner, each font pixel a square of about a
// 250th of the picture's height.
void drawLabel(QImage &image, const std::string &label)
{
    const int scale = std::max(1, image.height() / 250);
    const int width = static_cast<int>(label.size()) * glyphAdvance * scale;
    const int margin = std::max(2, image.height() / 100);
    const int left = image.width() - width - margin;
    const int top = image.height() - glyphHeight * scale - margin;
    if (label.empty() || left < 0 || top < 0)
        return;
    const uint32_t word = TestPicture::word(labelLevel, labelLevel, labelLevel);
    for (size_t i = 0; i < label.size(); ++i) {
        const Glyph *glyph = glyphOf(label[i]);
        if (glyph == nullptr)
            continue;
        const int x0 = left + static_cast<int>(i) * glyphAdvance * scale;
        for (int row = 0; row < glyphHeight; ++row) {
            for (int column = 0; column < glyphWidth; ++column) {
                if ((glyph->rows[row] >> (glyphWidth - 1 - column) & 1) != 0)
                    fillRect(image, QRect(x0 + column * scale, top + row * scale, scale, scale), word);
            }
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
