#include "PanelPicture.h"

#include "ThreadName.h"

#include <algorithm>
#include <thread>

namespace sim {

namespace {

constexpr int fullScale = 1023;
constexpr int coefficientBits = 12;
constexpr int offsetToCoefficient = 256; // 4 fraction bits up to 12
constexpr int stripeShift = 3;           // zebra stripes 8 pixels wide
constexpr int panelWidth = 2560;         // the compare split position's units
constexpr int lastGrid = PictureModel::gridPoints - 1;

// Rec. 709, RGB into video-range Cr, Y, Cb, 12 fraction bits.
constexpr int toYCbCr[3][3] = {{1794, -1629, -164}, {746, 2508, 253}, {-411, -1383, 1794}};
constexpr int toYCbCrOffset[3] = {512, 64, 512};
// Rec. 709 luma weights, 10 fraction bits.
constexpr int lumaWeight[3] = {218, 732, 74};

// False colour, one RGB colour a band.
constexpr uint16_t bandColour[12][3] = {
    {512, 0, 767},  {0, 0, 1023},   {0, 384, 1023}, {0, 640, 640},  {0, 767, 256},  {384, 512, 384},
    {1023, 600, 700}, {640, 640, 640}, {900, 900, 300}, {1023, 640, 0}, {1023, 1023, 0}, {1023, 0, 0}};

int clampComponent(int value)
{
    return value < 0 ? 0 : value > fullScale ? fullScale : value;
}

struct Components {
    int c[3];
};

Components unpack(uint32_t word)
{
    return {{static_cast<int>((word >> 20) & 0x3FFu), static_cast<int>((word >> 10) & 0x3FFu),
             static_cast<int>(word & 0x3FFu)}};
}

uint32_t pack(const Components &v)
{
    return static_cast<uint32_t>(v.c[0]) << 20 | static_cast<uint32_t>(v.c[1]) << 10 | static_cast<uint32_t>(v.c[2]);
}

bool bit(uint32_t word, int n)
{
    return ((word >> n) & 1u) != 0;
}

uint32_t field(uint32_t word, int high, int low)
{
    return (word >> low) & ((1u << (high - low + 1)) - 1u);
}

bool isIdentity(const MatrixRecord &record)
{
    for (int i = 0; i < 3; ++i) {
        if (record.offset[i] != 0)
            return false;
        for (int j = 0; j < 3; ++j) {
            if (record.coefficient[i][j] != (i == j ? 1 << coefficientBits : 0))
                return false;
        }
    }
    return true;
}

Components applyMatrix(const MatrixRecord &m, const Components &in)
{
    Components out;
    for (int i = 0; i < 3; ++i) {
        const int sum = m.coefficient[i][0] * in.c[0] + m.coefficient[i][1] * in.c[1] + m.coefficient[i][2] * in.c[2]
                        + m.offset[i] * offsetToCoefficient + (1 << (coefficientBits - 1));
        out.c[i] = clampComponent(sum >> coefficientBits);
    }
    return out;
}

// The grid point and the distance past it (0 to 1023) of a component.
void gridPosition(int value, int &index, int &fraction)
{
    const int scaled = value * lastGrid;
    index = scaled / fullScale;
    fraction = scaled % fullScale;
    if (index == lastGrid) {
        index = lastGrid - 1;
        fraction = fullScale;
    }
}

Components applyLut(const std::vector<std::array<uint16_t, 3>> &grid, const Components &in)
{
    int r, g, b, fr, fg, fb;
    gridPosition(in.c[0], r, fr);
    gridPosition(in.c[1], g, fg);
    gridPosition(in.c[2], b, fb);
    const auto at = [&](int dr, int dg, int db) -> const std::array<uint16_t, 3> & {
        return grid[static_cast<size_t>(((b + db) * PictureModel::gridPoints + g + dg) * PictureModel::gridPoints + r + dr)];
    };
    // The tetrahedron of the cube that holds the point: walk from the near
    // corner to the far one along the largest fraction first.
    const std::array<uint16_t, 3> *corner[4];
    int weight[4];
    corner[0] = &at(0, 0, 0);
    corner[3] = &at(1, 1, 1);
    if (fr >= fg && fg >= fb) {
        corner[1] = &at(1, 0, 0), corner[2] = &at(1, 1, 0);
        weight[0] = fullScale - fr, weight[1] = fr - fg, weight[2] = fg - fb, weight[3] = fb;
    } else if (fr >= fb && fb >= fg) {
        corner[1] = &at(1, 0, 0), corner[2] = &at(1, 0, 1);
        weight[0] = fullScale - fr, weight[1] = fr - fb, weight[2] = fb - fg, weight[3] = fg;
    } else if (fb >= fr && fr >= fg) {
        corner[1] = &at(0, 0, 1), corner[2] = &at(1, 0, 1);
        weight[0] = fullScale - fb, weight[1] = fb - fr, weight[2] = fr - fg, weight[3] = fg;
    } else if (fg >= fr && fr >= fb) {
        corner[1] = &at(0, 1, 0), corner[2] = &at(1, 1, 0);
        weight[0] = fullScale - fg, weight[1] = fg - fr, weight[2] = fr - fb, weight[3] = fb;
    } else if (fg >= fb && fb >= fr) {
        corner[1] = &at(0, 1, 0), corner[2] = &at(0, 1, 1);
        weight[0] = fullScale - fg, weight[1] = fg - fb, weight[2] = fb - fr, weight[3] = fr;
    } else {
        corner[1] = &at(0, 0, 1), corner[2] = &at(0, 1, 1);
        weight[0] = fullScale - fb, weight[1] = fb - fg, weight[2] = fg - fr, weight[3] = fr;
    }
    Components out;
    for (size_t c = 0; c < 3; ++c) {
        const int sum = weight[0] * (*corner[0])[c] + weight[1] * (*corner[1])[c] + weight[2] * (*corner[2])[c]
                        + weight[3] * (*corner[3])[c];
        out.c[c] = (sum + fullScale / 2) / fullScale;
    }
    return out;
}

// Everything the picture path does, read once from the registers.
struct Pipeline {
    bool rgbSource = true;
    bool zebra = false;
    int zebraLow = 0;
    int zebraHigh = 0;
    Components zebraColour = {{0, 0, 0}};
    bool inputMatrix = false;
    MatrixRecord input;
    bool lut = false;
    bool lutSplit = false;
    int lutSplitX = 0;
    std::vector<std::array<uint16_t, 3>> grid;
    bool screenMatrix = false;
    MatrixRecord screen;
    bool falseColour = false;
    uint32_t bands = 0;

    Pipeline(const PLModel &pl, const MainSource &source, const PictureModel::Latched &latched)
        : rgbSource(source.rgb)
    {
        const uint32_t zebraWord = pl.get(ZEBRA_LINE_CTL);
        zebra = bit(zebraWord, 0);
        zebraLow = static_cast<int>(field(zebraWord, 13, 4));
        zebraHigh = static_cast<int>(field(zebraWord, 25, 16));
        const uint32_t colour = pl.get(ZEBRA_COLOR_SET);
        // Red (or Cb) in bits 0-9, green (or Y) in 10-19, blue (or Cr) in 20-29.
        const int low = static_cast<int>(field(colour, 9, 0));
        const int middle = static_cast<int>(field(colour, 19, 10));
        const int high = static_cast<int>(field(colour, 29, 20));
        zebraColour = rgbSource ? Components{{low, middle, high}} : Components{{high, middle, low}};

        const uint32_t csc = pl.get(CSC_MATRIX_CTL);
        input = latched.blocks[0];
        inputMatrix = bit(csc, 0) && !isIdentity(input);
        screen = latched.blocks[4];
        screenMatrix = bit(csc, 16) && !isIdentity(screen);

        const uint32_t lutWord = pl.get(VID_3DLUT_CTL);
        lut = bit(lutWord, 0);
        lutSplit = bit(lutWord, 8);
        lutSplitX = static_cast<int>(field(lutWord, 23, 12));
        if (lut)
            grid = latched.lut;

        const uint32_t falseWord = pl.get(FALSE_COLOR_CTL);
        falseColour = bit(falseWord, 0);
        bands = field(falseWord, 15, 4);
    }

    // The source word's level for zebra and false colour.
    int level(const Components &source) const
    {
        if (!rgbSource)
            return source.c[1];
        const int luma = (lumaWeight[0] * source.c[0] + lumaWeight[1] * source.c[1] + lumaWeight[2] * source.c[2]) >> 10;
        return 64 + luma * 876 / fullScale;
    }

    // Steps 1 to 6 for one RGB word of the test picture at screen position x, y.
    Components colour(uint32_t word, int x, int y) const
    {
        Components value = unpack(word);
        if (!rgbSource) {
            Components converted;
            for (int i = 0; i < 3; ++i) {
                const int sum = toYCbCr[i][0] * value.c[0] + toYCbCr[i][1] * value.c[1] + toYCbCr[i][2] * value.c[2];
                converted.c[i] = clampComponent(((sum + (1 << (coefficientBits - 1))) >> coefficientBits) + toYCbCrOffset[i]);
            }
            value = converted;
        }
        const int measured = zebra || falseColour ? level(value) : 0;
        const bool striped = zebra && measured >= zebraLow && measured <= zebraHigh && ((x + y) >> stripeShift) % 2 == 0;
        return finish(striped ? zebraColour : value, measured, lut && (!lutSplit || x >= lutSplitX));
    }

    // Steps 3 to 6, which depend on the position only through the zebra and
    // the LUT split.
    Components finish(Components value, int measured, bool throughLut) const
    {
        if (inputMatrix)
            value = applyMatrix(input, value);
        if (throughLut)
            value = applyLut(grid, value);
        if (screenMatrix)
            value = applyMatrix(screen, value);
        if (falseColour) {
            const int band = PanelPicture::falseColourBand(measured);
            if (bit(bands, band)) {
                for (int c = 0; c < 3; ++c)
                    value.c[c] = bandColour[band][c];
            } else {
                const int grey = clampComponent((measured - 64) * fullScale / 876);
                value = {{grey, grey, grey}};
            }
        }
        return value;
    }
};

// The colour of the pixel before, kept: runs of equal source pixels (bars,
// bands) go through the pipeline once.
class Remembered
{
public:
    explicit Remembered(const Pipeline &pipeline) : m_pipeline(pipeline) {}

    Components colour(uint32_t word, int x, int y)
    {
        const bool striped = m_pipeline.zebra && ((x + y) >> stripeShift) % 2 == 0;
        const bool throughLut = m_pipeline.lut && (!m_pipeline.lutSplit || x >= m_pipeline.lutSplitX);
        const uint64_t key = word | uint64_t(striped) << 32 | uint64_t(throughLut) << 33 | uint64_t(1) << 34;
        if (key != m_key) {
            m_key = key;
            m_value = m_pipeline.colour(word, x, y);
        }
        return m_value;
    }

private:
    const Pipeline &m_pipeline;
    uint64_t m_key = 0;
    Components m_value = {{0, 0, 0}};
};

// Runs work over the rows of a picture on two threads.
template <class Work>
void forRows(int rows, const Work &work)
{
    const int half = rows / 2;
    std::thread second([&] {
        nameThread("board-panel");
        work(half, rows);
    });
    work(0, half);
    second.join();
}

} // namespace

int PanelPicture::falseColourBand(int level)
{
    // Percent of the video range times 100: 0 % at 64, 100 % at 940.
    const int percent = (level - 64) * 10000 / 876;
    if (percent < 200)
        return 0;
    if (percent < 1000)
        return 1;
    if (percent >= 10000)
        return 11;
    return 1 + percent / 1000;
}

QImage PanelPicture::adjusted(const QImage &picture, const MainSource &source, const PictureModel::Latched &latched,
                              const PLModel &pl)
{
    MainSource rgb = source;
    rgb.rgb = true;
    // The capture path leaves out the assists: no zebra, no false colour.
    Pipeline pipeline(pl, rgb, latched);
    pipeline.zebra = false;
    pipeline.falseColour = false;
    pipeline.lutSplit = false;
    QImage result(picture.size(), QImage::Format_RGB30);
    const int columns = picture.width();
    forRows(picture.height(), [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            const auto *in = reinterpret_cast<const uint32_t *>(picture.constScanLine(y));
            auto *out = reinterpret_cast<uint32_t *>(result.scanLine(y));
            Remembered remembered(pipeline);
            for (int x = 0; x < columns; ++x)
                out[x] = pack(remembered.colour(in[x], x, y));
        }
    });
    return result;
}

QImage PanelPicture::render(const PLModel &pl, const PictureModel &picture, const QImage &osd)
{
    const MainSource source = picture.mainSource();
    const QImage sourcePicture = picture.sourcePicture(source);
    const Pipeline pipeline(pl, source, picture.latched());
    const uint32_t osdWord = pl.get(OSD_CTL);
    const bool videoLayer = bit(osdWord, 4) && source.present;
    const bool osdPlane = bit(osdWord, 0) && !osd.isNull();
    const int osdOpacity = static_cast<int>(field(osdWord, 25, 16));
    const uint32_t frameWord = pl.get(FRAME_CAP_CTL);
    const bool overlay = bit(frameWord, 4);
    const int overlayOpacity = static_cast<int>(field(frameWord, 17, 8));
    const int overlayEnd = bit(frameWord, 5) ? static_cast<int>(field(frameWord, 31, 20)) * width / panelWidth : width;
    const auto *overlayMemory = static_cast<const uint32_t *>(pl.memory(PLMemory::FRAME_LOAD));

    // The video window: the picture fitted to the screen, centred.
    const int sw = sourcePicture.width();
    const int sh = sourcePicture.height();
    int windowWidth = width;
    int windowHeight = height;
    if (static_cast<long>(sw) * height > static_cast<long>(sh) * width)
        windowHeight = static_cast<int>(static_cast<long>(sh) * width / sw);
    else
        windowWidth = static_cast<int>(static_cast<long>(sw) * height / sh);
    const int left = (width - windowWidth) / 2;
    const int top = (height - windowHeight) / 2;
    std::vector<int> columns(static_cast<size_t>(windowWidth));
    for (int x = 0; x < windowWidth; ++x)
        columns[static_cast<size_t>(x)] = static_cast<int>(static_cast<long>(x) * sw / windowWidth);

    QImage plane;
    if (osdPlane)
        plane = (osd.size() == QSize(width, height) ? osd : osd.scaled(width, height))
                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);

    QImage panel(width, height, QImage::Format_RGB30);
    forRows(height, [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            auto *out = reinterpret_cast<uint32_t *>(panel.scanLine(y));
            const bool videoRow = videoLayer && y >= top && y < top + windowHeight;
            const uint32_t *in = videoRow ? reinterpret_cast<const uint32_t *>(
                                                sourcePicture.constScanLine(static_cast<int>(
                                                    static_cast<long>(y - top) * sh / windowHeight)))
                                          : nullptr;
            const uint32_t *compare = overlay && videoLayer && overlayMemory != nullptr
                                          ? overlayMemory + static_cast<size_t>(y) * PictureModel::frameStride
                                          : nullptr;
            const auto *interface = osdPlane ? reinterpret_cast<const QRgb *>(plane.constScanLine(y)) : nullptr;
            Remembered remembered(pipeline);
            for (int x = 0; x < width; ++x) {
                Components value = {{0, 0, 0}};
                if (in != nullptr && x >= left && x < left + windowWidth)
                    value = remembered.colour(in[columns[static_cast<size_t>(x - left)]], x, y);
                if (compare != nullptr && x < overlayEnd) {
                    const Components stored = unpack(compare[x]);
                    for (int c = 0; c < 3; ++c)
                        value.c[c] = (value.c[c] * (fullScale - overlayOpacity) + stored.c[c] * overlayOpacity
                                      + fullScale / 2)
                                     / fullScale;
                }
                if (interface != nullptr && qAlpha(interface[x]) != 0) {
                    const QRgb pixel = interface[x];
                    const int alpha = qAlpha(pixel) * osdOpacity / fullScale;
                    const int colour[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
                    // Premultiplied eight-bit components over ten-bit video.
                    for (int c = 0; c < 3; ++c)
                        value.c[c] = clampComponent((value.c[c] * (255 - alpha) + colour[c] * osdOpacity + 127) / 255);
                }
                out[x] = pack(value);
            }
        }
    });
    return panel;
}

} // namespace sim
