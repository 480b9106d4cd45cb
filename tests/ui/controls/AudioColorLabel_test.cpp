#include "AudioLabel.h"
#include "ColorLabel.h"
#include "Render.h"

#include <gtest/gtest.h>

namespace {

// Green, yellow and red pixels of a row.
std::vector<int> bar(const QImage &image, int y)
{
    return {countInRow(image, y, 0, image.width(), QColor(107, 240, 24)),
            countInRow(image, y, 0, image.width(), QColor(242, 234, 38)),
            countInRow(image, y, 0, image.width(), QColor(226, 43, 40))};
}

TEST(AudioLabel, BarsTurnYellowAndRedAtTheirLevels)
{
    AudioLabel label;
    label.resize(400, 44);
    const std::pair<int, std::vector<int>> cases[] = {{250, {231, 19, 0}}, {320, {231, 77, 12}},
                                                      {231, {231, 0, 0}},  {308, {231, 77, 0}},
                                                      {0, {0, 0, 0}},      {-40, {0, 0, 0}}};
    for (const auto &each : cases) {
        label.setAudioChannelValue(AudioLabel::AUDIO_CHANNEL_LEFT, each.first, AudioLabel::AUDIO_CHANNEL_RIGHT,
                                   each.first);
        const QImage image = renderControl(label);
        // Channel 0 on rows 0 to 16, channel 1 on rows 24 to 40.
        for (int y : {0, 16, 24, 40})
            EXPECT_EQ(bar(image, y), each.second) << each.first << " row " << y;
        for (int y : {17, 23, 41})
            EXPECT_EQ(bar(image, y), (std::vector<int>{0, 0, 0})) << each.first << " row " << y;
    }
    // Each slot on its channel's bar; a slot of no known channel nowhere.
    label.setAudioChannelValue(AudioLabel::AUDIO_CHANNEL_RIGHT, 100, static_cast<AudioLabel::AudioChannel>(2), 300);
    const QImage image = renderControl(label);
    EXPECT_EQ(bar(image, 8), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(bar(image, 32), (std::vector<int>{100, 0, 0}));
}

TEST(ColorLabel, ShowsTheClampedColourThroughThePanelFactors)
{
    ColorLabel label;
    label.resize(30, 20);
    EXPECT_EQ(renderControl(label).pixel(15, 10), qRgb(0, 0, 0)) << "black at start";
    label.setColor(300, 255, 255);
    const QImage image = renderControl(label);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 217, 230));
    EXPECT_EQ(image.pixel(29, 19), qRgb(255, 217, 230));
    label.setColor(-5, 100, 10);
    EXPECT_EQ(renderControl(label).pixel(15, 10), qRgb(0, 85, 9));
}

} // namespace
