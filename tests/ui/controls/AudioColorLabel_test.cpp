#include "AudioLabel.h"
#include "ColorLabel.h"
#include "Render.h"

#include <gtest/gtest.h>

namespace {

const QColor green(107, 240, 24);
const QColor yellow(242, 234, 38);
const QColor red(226, 43, 40);

struct Bar {
    int green;
    int yellow;
    int red;
};

Bar barInRow(const QImage &image, int y)
{
    return {countInRow(image, y, 0, image.width(), green), countInRow(image, y, 0, image.width(), yellow),
            countInRow(image, y, 0, image.width(), red)};
}

void expectBar(const QImage &image, int y, Bar expected, int level)
{
    const Bar bar = barInRow(image, y);
    EXPECT_EQ(bar.green, expected.green) << "level " << level << " row " << y;
    EXPECT_EQ(bar.yellow, expected.yellow) << "level " << level << " row " << y;
    EXPECT_EQ(bar.red, expected.red) << "level " << level << " row " << y;
}

TEST(AudioLabel, BarsTurnYellowAndRedAtTheirLevels)
{
    AudioLabel label;
    label.resize(400, 44);
    struct Case {
        int level;
        Bar bar;
    };
    const Case cases[] = {{250, {231, 19, 0}}, {320, {231, 77, 12}}, {231, {231, 0, 0}}, {232, {231, 1, 0}},
                          {308, {231, 77, 0}}, {1, {1, 0, 0}},       {0, {0, 0, 0}},     {-40, {0, 0, 0}},
                          {5000, {231, 77, 92}}};
    for (const Case &each : cases) {
        label.setAudioChannelValue(AudioLabel::AUDIO_CHANNEL_LEFT, each.level, AudioLabel::AUDIO_CHANNEL_RIGHT,
                                   each.level);
        const QImage image = renderControl(label);
        for (int y : {0, 16, 24, 40})
            expectBar(image, y, each.bar, each.level);
        for (int y : {17, 23, 41})
            expectBar(image, y, {0, 0, 0}, each.level);
        if (each.bar.green > 0) {
            EXPECT_EQ(image.pixel(0, 8), green.rgba());
        }
    }
}

TEST(AudioLabel, EachSlotDrawsOnTheBarOfItsChannel)
{
    AudioLabel label;
    label.resize(400, 44);
    label.setAudioChannelValue(AudioLabel::AUDIO_CHANNEL_RIGHT, 100, AudioLabel::AUDIO_CHANNEL_LEFT, 250);
    QImage image = renderControl(label);
    expectBar(image, 8, {231, 19, 0}, 250);
    expectBar(image, 32, {100, 0, 0}, 100);

    // A slot of no known channel draws nowhere.
    label.setAudioChannelValue(static_cast<AudioLabel::AudioChannel>(2), 300, AudioLabel::AUDIO_CHANNEL_LEFT, 10);
    image = renderControl(label);
    expectBar(image, 8, {10, 0, 0}, 10);
    expectBar(image, 32, {0, 0, 0}, 300);
}

TEST(ColorLabel, ShowsTheClampedColourThroughThePanelFactors)
{
    ColorLabel label;
    label.resize(30, 20);
    EXPECT_EQ(renderControl(label).pixel(15, 10), QColor(0, 0, 0).rgba()) << "black at start";

    label.setColor(300, 255, 255);
    QImage image = renderControl(label);
    EXPECT_EQ(image.pixel(0, 0), QColor(255, 217, 230).rgba());
    EXPECT_EQ(image.pixel(29, 19), QColor(255, 217, 230).rgba());

    label.setColor(-5, 100, 1000);
    EXPECT_EQ(renderControl(label).pixel(15, 10), QColor(0, 85, 230).rgba());
    label.setColor(128, 1, 10);
    EXPECT_EQ(renderControl(label).pixel(15, 10), QColor(128, 0, 9).rgba());
}

} // namespace
