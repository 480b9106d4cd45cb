#include "KeyCtl.h"
#include "LightMeterWidget.h"
#include "PageTest.h"
#include "VideoOption.h"

#include <QPushButton>
#include <QTest>
#include <memory>

TEST_F(PageTest, LightMeterWidgetEndsTheOtherModesAndFollowsThemEnding)
{
    startStore("[AppConfig]\ncolorLightMeterEnable=true\n");
    VideoOption *video = VideoOption::getInstance();
    video->enableZoomMode(true, false);
    auto page = std::make_unique<LightMeterWidget>();
    showPage(*page);
    QPushButton *button = child<QPushButton>(*page, "lightMeterEnable");
    EXPECT_TRUE(video->isLightMeter());
    EXPECT_FALSE(video->isZoom());
    EXPECT_TRUE(button->isChecked());

    // Zoom switched on ends the meter: the page shows it and keeps it.
    video->enableZoomMode(true, true);
    EXPECT_FALSE(button->isChecked());
    expectSavedOnHide(*page, {{"colorLightMeterEnable", "false"}});

    page->show();
    click(button);
    EXPECT_TRUE(video->isLightMeter());
    EXPECT_FALSE(video->isZoom());
    pressKey(KeyCtl::F2, KeyCtl::FUNC_LIGHT_METER);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !video->isLightMeter(); }, 5000));
    EXPECT_FALSE(button->isChecked());
    click(button);
    expectSavedOnHide(*page, {{"colorLightMeterEnable", "true"}});
}
