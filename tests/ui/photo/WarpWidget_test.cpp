#include "KeyCtl.h"
#include "PageTest.h"
#include "VideoOption.h"
#include "WarpWidget.h"

#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

class WarpWidgetTest : public OnePageTest<WarpWidget>
{
protected:
    // A 1920 x 1080 main input measured, as the window does when one arrives.
    void sourceArrives() { VideoOption::getInstance()->setSize(VideoOption::MAIN_CHANNEL, 1920, 1080); }
    // The picture's first and last line on the panel.
    std::pair<uint32_t, uint32_t> lines()
    {
        return {field(LEFT_VER_SET, 15, 0), field(LEFT_VER_SET, 31, 16)};
    }
};

using Lines = std::pair<uint32_t, uint32_t>;
const Lines fullPanel{6, 1446};

} // namespace

TEST_F(WarpWidgetTest, StoredDeSqueezeAppliesWithTheFirstPicture)
{
    build("[AppConfig]\nphotoWarpEnable=true\nphotoWarpRate=1.33x\n");
    EXPECT_TRUE(VideoOption::getInstance()->isWarp());
    EXPECT_TRUE(button("warpEnable")->isChecked());
    EXPECT_TRUE(button("warpRate133")->isChecked());
    sourceArrives();
    EXPECT_EQ(lines(), (Lines{185, 1267}));

    // An unknown rate shows and uses 2x.
    rebuild("[AppConfig]\nphotoWarpEnable=true\nphotoWarpRate=3x\n");
    EXPECT_TRUE(button("warpRate200")->isChecked());
    sourceArrives();
    EXPECT_EQ(lines(), (Lines{366, 1086}));
}

TEST_F(WarpWidgetTest, RateButtonsGiveTheirFactorsAndAreSavedOnHide)
{
    build("[AppConfig]\nphotoWarpEnable=true\n");
    sourceArrives();
    const std::pair<const char *, Lines> cases[] = {{"warpRate180", {326, 1126}},
                                                    {"warpRate165", {290, 1162}},
                                                    {"warpRate150", {246, 1206}},
                                                    {"warpRate133", {185, 1267}},
                                                    {"warpRate200", {366, 1086}}};
    for (const auto &[name, expected] : cases) {
        click(button(name));
        EXPECT_EQ(lines(), expected) << name;
    }
    click(button("warpRate165"));
    expectSavedOnHide(*page, {{"photoWarpRate", "1.65x"}});
}

TEST_F(WarpWidgetTest, TheSwitchAndItsFrontKeyToggleDeSqueezeAndTheSwitchFollowsOtherModes)
{
    build("[AppConfig]\nphotoWarpRate=1.5x\n");
    sourceArrives();
    EXPECT_EQ(lines(), fullPanel);
    click(button("warpEnable"));
    EXPECT_EQ(lines(), (Lines{246, 1206}));
    expectSavedOnHide(*page, {{"photoWarpEnable", "true"}});

    page->show();
    pressKey(KeyCtl::F1, KeyCtl::FUNC_ANAMORPHIC);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines() == fullPanel; }, 5000));
    EXPECT_FALSE(button("warpEnable")->isChecked());
    pressKey(KeyCtl::F2, KeyCtl::FUNC_ZOOM);
    QTest::qWait(50);
    EXPECT_FALSE(VideoOption::getInstance()->isWarp());
    expectSavedOnHide(*page, {{"photoWarpEnable", "false"}});

    // The switch follows a mode that ends de-squeeze.
    page->show();
    click(button("warpEnable"));
    ASSERT_TRUE(VideoOption::getInstance()->isWarp());
    VideoOption::getInstance()->enableLightMeterMode(true, true);
    EXPECT_FALSE(button("warpEnable")->isChecked());
    expectSavedOnHide(*page, {{"photoWarpEnable", "false"}});

    // A favourite brings it back: the page shows and pushes it again.
    ASSERT_TRUE(AppConfig::getInstance()->setValue("photoWarpEnable", true));
    page->configUpdate();
    EXPECT_TRUE(button("warpEnable")->isChecked());
    EXPECT_TRUE(VideoOption::getInstance()->isWarp());
    EXPECT_FALSE(VideoOption::getInstance()->isLightMeter());
}
