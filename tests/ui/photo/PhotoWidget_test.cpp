#include "Config.h"
#include "PageTest.h"
#include "PhotoWidget.h"
#include "StringSignals.h"
#include "VideoOption.h"

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <memory>

namespace {

class PhotoWidgetTest : public OnePageTest<PhotoWidget>
{
protected:
    PhotoWidgetTest() { registerStringSignals(); }

    QStackedWidget *stack() { return child<QStackedWidget>(*page, "photoStack"); }
    // Opens a tab and taps a control on its page.
    void tap(const char *tab, const char *control)
    {
        click(button(tab));
        click(button(control));
    }
};

} // namespace

TEST_F(PhotoWidgetTest, TabsOpenTheirPagesInOrderAboveTheStack)
{
    build();
    EXPECT_EQ(child<QLabel>(*page, "photoTitle")->text(), QString("摄影菜单"));
    EXPECT_EQ(page->size(), QSize(1920, 420));
    EXPECT_EQ(stack()->geometry(), QRect(0, 80, 1920, 340));
    const std::pair<const char *, const char *> tabs[] = {
        {"photoTabMark", "MarkWidget"},   {"photoTabFocus", "FocusWidget"},
        {"photoTabZebra", "ZebraWidget"}, {"photoTabPseudo", "PseudoWidget"},
        {"photoTabSingleColor", "SingleColorWidget"}, {"photoTabZoom", "ZoomWidget"},
        {"photoTabWarp", "WarpWidget"},   {"photoTabSafe", "SafeWidget"}};
    const char *const texts[] = {"标记", "峰值对焦", "斑马纹", "伪色", "单色", "放大", "变形", "安全框"};
    EXPECT_EQ(stack()->currentWidget()->objectName(), "MarkWidget");
    EXPECT_TRUE(button("photoTabMark")->isChecked());
    int index = 0;
    for (const auto &[tab, name] : tabs) {
        EXPECT_EQ(button(tab)->text(), QString::fromUtf8(texts[index++]));
        EXPECT_GE(button(tab)->height(), 60);
        click(button(tab));
        EXPECT_EQ(stack()->currentWidget()->objectName(), name);
        EXPECT_TRUE(stack()->currentWidget()->isVisible());
        EXPECT_TRUE(button(tab)->isChecked());
    }
    EXPECT_EQ(stack()->count(), 8);
    EXPECT_FALSE(button("photoTabMark")->isChecked());
}

TEST_F(PhotoWidgetTest, LeavingAPageForAnotherTabSavesItsChanges)
{
    build();
    tap("photoTabFocus", "focusEnable");
    EXPECT_EQ(savedValue("photoFocusEnable"), "false");
    click(button("photoTabZebra"));
    EXPECT_EQ(savedValue("photoFocusEnable"), "true");
    click(button("zebraEnable"));
    expectSavedOnHide(*page, {{"photoZebraEnable", "true"}});
}

TEST_F(PhotoWidgetTest, EveryPageIsBuiltAndPushesItsSettings)
{
    build("[AppConfig]\nphotoFocusEnable=true\nphotoFocusValue=100\nphotoZebraEnable=true\n"
          "photoPseudoEnable=true\nphotoPseudoIndex1=true\nphotoZoomEnable=true\nphotoWarpEnable=true\n"
          "photoWarpRate=1.5x\nphotoMarkColor=6\nphotoSafeRate=93\n");
    EXPECT_EQ(field(SHARP_CONV_CTL, 13, 4), 8u);
    EXPECT_EQ(field(ZEBRA_LINE_CTL, 0, 0), 1u);
    EXPECT_EQ(field(FALSE_COLOR_CTL, 15, 0), 0x21u);
    EXPECT_TRUE(button("markColor6")->isChecked());
    EXPECT_TRUE(button("safeRate93")->isChecked());

    // De-squeeze is built after zoom and, being exclusive, wins; the zoom
    // page follows once the picture is applied.
    EXPECT_TRUE(VideoOption::getInstance()->isWarp());
    EXPECT_FALSE(VideoOption::getInstance()->isZoom());
    VideoOption::getInstance()->setSize(VideoOption::MAIN_CHANNEL, 1920, 1080);
    EXPECT_FALSE(button("zoomEnable")->isChecked());
    EXPECT_TRUE(button("warpEnable")->isChecked());
    EXPECT_EQ(field(LEFT_VER_SET, 15, 0), 246u);

    // Zoom chosen on its page ends de-squeeze, and the warp page shows it.
    tap("photoTabZoom", "zoomEnable");
    EXPECT_TRUE(VideoOption::getInstance()->isZoom());
    EXPECT_FALSE(button("warpEnable")->isChecked());
    expectSavedOnHide(*page, {{"photoZoomEnable", "true"}, {"photoWarpEnable", "false"}});
}

TEST_F(PhotoWidgetTest, ThePagesSignalsReachTheWindowUnderTheSameNames)
{
    build("[AppConfig]\nphotoMarkRateCustomEn=true\n");
    QSignalSpy markEnable(page.get(), &PhotoWidget::signalMarkEnable);
    QSignalSpy markColor(page.get(), &PhotoWidget::signalMarkColor);
    QSignalSpy markLine(page.get(), &PhotoWidget::signalMarkLine);
    QSignalSpy markRate(page.get(), &PhotoWidget::signalMarkRate);
    QSignalSpy userRate(page.get(), &PhotoWidget::signalMarkUserRate);
    QSignalSpy safeEnable(page.get(), &PhotoWidget::signalSafeMarkEnable);
    QSignalSpy safeColor(page.get(), &PhotoWidget::signalSafeColor);
    QSignalSpy safeLine(page.get(), &PhotoWidget::signalSafeLine);
    QSignalSpy safePercent(page.get(), &PhotoWidget::signalSafeMarkPercent);
    QSignalSpy pseudo(page.get(), &PhotoWidget::signalPseudoEnable);
    QSignalSpy single(page.get(), &PhotoWidget::signalSingleColorEnable);

    tap("photoTabMark", "markEnable");
    click(button("markColor2"));
    click(button("markLineLarge"));
    click(button("markRate916"));
    click(button("markKeyEnter"));
    tap("photoTabSafe", "safeEnable");
    click(button("safeColor7"));
    click(button("safeLineSmall"));
    click(button("safeRate85"));
    tap("photoTabPseudo", "pseudoEnable");
    tap("photoTabSingleColor", "singleColorEnable");

    // The only call's first argument; nothing when there were more or none.
    auto only = [](const QSignalSpy &spy) { return spy.count() == 1 ? spy.at(0).at(0) : QVariant(); };
    EXPECT_EQ(only(markEnable), QVariant(true));
    EXPECT_EQ(only(markColor), QVariant(2));
    EXPECT_EQ(only(markLine).value<std::string>(), "large");
    ASSERT_EQ(markRate.count(), 2);
    EXPECT_EQ(argument<std::string>(markRate, 0, 0), "9:16");
    EXPECT_EQ(argument<std::string>(markRate, 1, 0), "custom");
    ASSERT_EQ(userRate.count(), 1);
    EXPECT_EQ(argument<float>(userRate, 0, 0), 16.0f);
    EXPECT_EQ(argument<float>(userRate, 0, 1), 9.0f);
    ASSERT_EQ(safeEnable.count(), 1);
    EXPECT_EQ(only(safeColor), QVariant(7));
    EXPECT_EQ(only(safeLine).value<std::string>(), "small");
    EXPECT_EQ(only(safePercent), QVariant(85));
    EXPECT_EQ(pseudo.count(), 1);
    EXPECT_EQ(single.count(), 1);
}
