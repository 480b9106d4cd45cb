#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <string>

namespace sim {

// The picture the virtual board's receivers deliver: a 10-bit RGB test
// picture of any size, as the logic's frame memory holds pixels (R in bits 20
// to 29, G in 10 to 19, B in 0 to 9, bits 30 and 31 clear; the words of a
// QImage of format RGB30). From the top: eight colour bars at 75 %, a grey
// ramp from black to white across the width, and a black band in which a
// white square moves with the frame count and the source's format is written
// small in the right corner.
class TestPicture
{
public:
    static constexpr int barCount = 8;
    // 75 % of full scale.
    static constexpr uint32_t barLevel = 767;

    // The picture at one frame; label may be empty.
    static QImage render(int width, int height, uint64_t frame, const std::string &label);

    // Where bar i (0 white ... 7 black) lies, and its colour.
    static QRect barRect(int index, int width, int height);
    static void barColour(int index, uint32_t rgb[3]);
    // The ramp's rows, and its value at column x.
    static QRect rampRect(int width, int height);
    static uint32_t rampValue(int x, int width);
    // The moving square at a frame.
    static QRect squareRect(int width, int height, uint64_t frame);

    static uint32_t word(uint32_t r, uint32_t g, uint32_t b) { return r << 20 | g << 10 | b; }
};

} // namespace sim
