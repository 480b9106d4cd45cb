#include "Video.h"

namespace Video {

namespace {

const char *const formatTexts[] = {"3GA-422-10", "3GA-422-12", "3GA-444-10", "3GA-444-12",
                                   "3GB-422-10", "3GB-422-12", "3GB-444-10", "3GB-444-12"};
constexpr int formatCount = sizeof(formatTexts) / sizeof(formatTexts[0]);

} // namespace

std::string sdiInputFormatText(int format)
{
    return format >= 0 && format < formatCount ? formatTexts[format] : std::string();
}

bool sdiInputFormatFromText(const std::string &text, SDIinputFormat &format)
{
    for (int i = 0; i < formatCount; ++i) {
        if (text == formatTexts[i]) {
            format = static_cast<SDIinputFormat>(i);
            return true;
        }
    }
    return false;
}

bool isValidSize(int width, int height)
{
    return ((width == 1920 || width == 2048) && height == 1080) || ((width == 3840 || width == 4096) && height == 2160)
           || (width == 1280 && height == 720) || (width == 720 && height == 486);
}

bool sdiInputFormatOf(BitDepth depth, Level level, Sampling sampling, SDIinputFormat &format)
{
    if (depth != DEPTH_10 && depth != DEPTH_12)
        return false;
    // Bit 0: 12 bits, bit 1: 4:4:4 (RGB or YCbCr), bit 2: level B.
    int value = depth == DEPTH_12 ? 1 : 0;
    if (sampling == SAMPLING_RGB444 || sampling == SAMPLING_YCBCR444)
        value |= 2;
    else if (sampling != SAMPLING_YCBCR422)
        return false;
    if (level == LEVEL_B)
        value |= 4;
    format = static_cast<SDIinputFormat>(value);
    return true;
}

} // namespace Video
