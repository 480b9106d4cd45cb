#pragma once

#include <string>

// The terms in which the video side describes inputs and formats. The values
// are those the logic and the settings use, so they are compared and stored as
// plain numbers; each enumeration is an int, so a number read from a register
// or a file is a defined value even when no name here matches it.
namespace Video {

enum InputSource : int { WHDI_SOURCE = 0, HDMI_SOURCE = 1, SDI_SOURCE = 2 };

enum SDIinputFormat : int {
    SDI_3GA_422_10 = 0,
    SDI_3GA_422_12 = 1,
    SDI_3GA_444_10 = 2,
    SDI_3GA_444_12 = 3,
    SDI_3GB_422_10 = 4,
    SDI_3GB_422_12 = 5,
    SDI_3GB_444_10 = 6,
    SDI_3GB_444_12 = 7,
};

enum PixFormat : int { PIX_SDI = 1, PIX_HDMI = 2, PIX_6G = 3, PIX_3GB_422_10 = 4 };

enum InterlaceMode : int { PROGRESSIVE = 0, INTERLACED = 1, PSF = 2 };

enum BitDepth : int { DEPTH_UNKNOWN = 0, DEPTH_8 = 1, DEPTH_10 = 2, DEPTH_12 = 3 };

enum Level : int { LEVEL_A = 0, LEVEL_B = 1 };

enum Sampling : int { SAMPLING_RGB444 = 1, SAMPLING_YCBCR422 = 2, SAMPLING_YCBCR444 = 3 };

enum SDIMode : int { SDI_HD = 0, SDI_SD = 1, SDI_3G = 2, SDI_6G = 3 };

// The setting text of an SDI input format ("3GA-422-10" ...); empty for a
// value outside 0 to 7.
std::string sdiInputFormatText(int format);
// The format of a setting text; false for "Auto" and any unknown text.
bool sdiInputFormatFromText(const std::string &text, SDIinputFormat &format);

// The picture sizes the monitor shows: 1920 or 2048 x 1080, 3840 or 4096 x
// 2160, 1280 x 720 and 720 x 486.
bool isValidSize(int width, int height);

// The 3G-SDI format of a decoded input: false for bit depths other than 10
// and 12 bits.
bool sdiInputFormatOf(BitDepth depth, Level level, Sampling sampling, SDIinputFormat &format);

} // namespace Video
