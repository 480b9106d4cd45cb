#include "ControlWidget.h"
#include "McuLink.h"
#include "PageTest.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <memory>

namespace {

constexpr uint8_t volumeCommand = 6;
constexpr int lowSpeedLine = 12;
constexpr int highSpeedLine = 13;

class ControlWidgetTest : public OnePageTest<ControlWidget>
{
protected:
    void build(const std::string &settings = std::string())
    {
        OnePageTest::build(settings);
        ASSERT_TRUE(startLink(board()));
    }

    // The volume bytes the MCU has received so far, once it has count of them.
    std::vector<uint8_t> volumes(size_t count)
    {
        waitUntil([&] { return mcuValues(volumeCommand).size() >= count; });
        std::vector<uint8_t> bytes;
        for (const auto &data : mcuValues(volumeCommand)) {
            EXPECT_EQ(data.size(), 1u);
            bytes.push_back(data.empty() ? 0 : data[0]);
        }
        return bytes;
    }

    int line(int number) { return board().platform().gpioValue(number); }
};

} // namespace

TEST_F(ControlWidgetTest, StoredVolumeAndFanReachTheMcuAndTheFanLinesAtStart)
{
    build("[AppConfig]\naudioValue=50\nfanControl=on\n");
    // Sent before the MCU spoke, delivered once the link works.
    EXPECT_EQ(volumes(1), std::vector<uint8_t>{31});
    EXPECT_EQ(line(lowSpeedLine), 1);
    EXPECT_EQ(line(highSpeedLine), 0);
    EXPECT_TRUE(button("controlFanOn")->isChecked());
    EXPECT_EQ(button("controlFanOn")->text(), "打开");
    EXPECT_EQ(child<QLabel>(*page, "controlVolumeValue")->text(), "50%");

    // Bad stored values fall back to valid ones.
    rebuild("[AppConfig]\naudioValue=1000\nfanControl=turbo\n");
    EXPECT_EQ(volumes(2).back(), 63);
    EXPECT_EQ(child<QSlider>(*page, "controlVolumeSlider")->value(), 100);
    // An unknown fan choice leaves the fan to the temperature control.
    EXPECT_TRUE(button("controlFanAuto")->isChecked());
    rebuild("[AppConfig]\naudioValue=-5\n");
    EXPECT_EQ(volumes(3).back(), 0);
}

TEST_F(ControlWidgetTest, VolumeSliderSendsSixtyThirdsAndIsSavedWhenThePageHides)
{
    build();
    QSlider *slider = child<QSlider>(*page, "controlVolumeSlider");
    slide(slider, 100);
    slide(slider, 0);
    slide(slider, 99);
    EXPECT_EQ(volumes(4), (std::vector<uint8_t>{31, 63, 0, 62}));
    EXPECT_EQ(child<QLabel>(*page, "controlVolumeValue")->text(), "99%");
    EXPECT_EQ(savedValue("audioValue"), "50");
    expectSavedOnHide(*page, {{"audioValue", "99"}});
}

TEST_F(ControlWidgetTest, FanChoicesDriveTheLinesAndAreStoredByName)
{
    build();
    EXPECT_TRUE(button("controlFanAuto")->isChecked());
    click(button("controlFanOn"));
    EXPECT_EQ(line(lowSpeedLine), 1);
    click(button("controlFanOff"));
    EXPECT_EQ(line(lowSpeedLine), 0);
    EXPECT_EQ(line(highSpeedLine), 0);
    EXPECT_TRUE(button("controlFanOff")->isChecked());
    EXPECT_FALSE(button("controlFanOn")->isChecked());
    expectSavedOnHide(*page, {{"fanControl", "off"}});

    page->show();
    click(button("controlFanAuto"));
    expectSavedOnHide(*page, {{"fanControl", "Auto"}});
}
