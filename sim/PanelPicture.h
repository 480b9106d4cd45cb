#pragma once

#include "PictureModel.h"

#include <QImage>

namespace sim {

// What the panel shows, as the logic composes it from what the application
// programmed, in the 1920 x 1080 space of the user interface. The main
// channel's picture is fitted to the screen (centred, aspect kept) and goes,
// pixel by pixel, through:
//   1. the source's components: RGB for HDMI and RGB SDI, otherwise YCbCr
//      (video range, Cr Y Cb, as a Rec. 709 camera sends it);
//   2. zebra stripes (ZEBRA_LINE_CTL) where the level lies between the two
//      thresholds, in the colour of ZEBRA_COLOR_SET;
//   3. the main input matrix block, when enabled;
//   4. the display LUT (VID_3DLUT_CTL), tetrahedral interpolation of the
//      17-point grid it latched; with the compare view on, only right of its
//      split position;
//   5. the panel ("screen") matrix block, when enabled (single-colour view);
//   6. false colour (FALSE_COLOR_CTL): the level's band colour where that
//      band is on, grey elsewhere;
//   7. the compare overlay (FRAME_CAP_CTL bit 4): the FRAME_LOAD picture at
//      the programmed opacity, with the split view left of its position only;
// with the main layer off (OSD_CTL bit 4) the picture is black. The
// interface plane goes over it at the programmed opacity while enabled. The
// level is the component Y of a YCbCr source and the video-range luma of an
// RGB one.
class PanelPicture
{
public:
    static constexpr int width = 1920;
    static constexpr int height = 1080;

    // The panel now, in ten bits (format RGB30); osd is the interface plane as
    // drawn (premultiplied ARGB), null for none.
    static QImage render(const PLModel &pl, const PictureModel &picture, const QImage &osd);
    // A picture (RGB, as the test picture) through the colour adjustments
    // alone: input matrix, display LUT, panel matrix.
    static QImage adjusted(const QImage &picture, const MainSource &source, const PictureModel::Latched &latched,
                           const PLModel &pl);
    // A band of false colour: 0 below 2 % of the video range, 1 below 10 %,
    // then 10 % steps, 11 from 100 % (code 940) up.
    static int falseColourBand(int level);
};

} // namespace sim
