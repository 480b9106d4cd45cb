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

class PhotoWidgetTest : public PageTest
{
protected:
    void build(const std::string &settings = std::string())
    {
        registerStringSignals();
        startStore(settings);
        menu = std::make_unique<PhotoWidget>();
        showPage(*menu);
    }

    QPushButton *button(const char *name) { return child<QPushButton>(*menu, name); }
    QStackedWidget *stack() { return child<QStackedWidget>(*menu, "photoStack"); }
    // Opens a tab and taps a control on its page.
    void tap(const char *tab, const char *control)
    {
        click(button(tab));
        click(button(control));
    }

    std::unique_ptr<PhotoWidget> menu;
};

} // namespace

TEST_F(PhotoWidgetTest, TabsOpenTheirPagesInOrderAboveTheStack)
{
    build();
    EXPECT_EQ(child<QLabel>(*menu, "photoTitle")->text(), QString("摄影菜单"));
    EXPECT_EQ(menu->size(), QSize(1920, 420));
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
    for (const auto &[tab, page] : tabs) {
        EXPECT_EQ(button(tab)->text(), QString::fromUtf8(texts[index++]));
        EXPECT_GE(button(tab)->height(), 60);
        click(button(tab));
        EXPECT_EQ(stack()->currentWidget()->objectName(), page);
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
    menu->hide();
    EXPECT_EQ(savedValue("photoZebraEnable"), "true");
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
    menu->hide();
    EXPECT_EQ(savedValue("photoZoomEnable"), "true");
    EXPECT_EQ(savedValue("photoWarpEnable"), "false");
}

TEST_F(PhotoWidgetTest, ThePagesSignalsReachTheWindowUnderTheSameNames)
{
    build("[AppConfig]\nphotoMarkRateCustomEn=true\n");
    QSignalSpy markEnable(menu.get(), &PhotoWidget::signalMarkEnable);
    QSignalSpy markColor(menu.get(), &PhotoWidget::signalMarkColor);
    QSignalSpy markLine(menu.get(), &PhotoWidget::signalMarkLine);
    QSignalSpy markRate(menu.get(), &PhotoWidget::signalMarkRate);
    QSignalSpy userRate(menu.get(), &PhotoWidget::signalMarkUserRate);
    QSignalSpy safeEnable(menu.get(), &PhotoWidget::signalSafeMarkEnable);
    QSignalSpy safeColor(menu.get(), &PhotoWidget::signalSafeColor);
    QSignalSpy safeLine(menu.get(), &PhotoWidget::signalSafeLine);
    QSignalSpy safePercent(menu.get(), &PhotoWidget::signalSafeMarkPercent);
    QSignalSpy pseudo(menu.get(), &PhotoWidget::signalPseudoEnable);
    QSignalSpy single(menu.get(), &PhotoWidget::signalSingleColorEnable);

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

    ASSERT_EQ(markEnable.count(), 1);
    EXPECT_TRUE(argument<bool>(markEnable, 0, 0));
    ASSERT_EQ(markColor.count(), 1);
    EXPECT_EQ(argument<int>(markColor, 0, 0), 2);
    ASSERT_EQ(markLine.count(), 1);
    EXPECT_EQ(argument<std::string>(markLine, 0, 0), "large");
    ASSERT_EQ(markRate.count(), 2);
    EXPECT_EQ(argument<std::string>(markRate, 0, 0), "9:16");
    EXPECT_EQ(argument<std::string>(markRate, 1, 0), "custom");
    ASSERT_EQ(userRate.count(), 1);
    EXPECT_EQ(argument<float>(userRate, 0, 0), 16.0f);
    EXPECT_EQ(argument<float>(userRate, 0, 1), 9.0f);
    ASSERT_EQ(safeEnable.count(), 1);
    ASSERT_EQ(safeColor.count(), 1);
    EXPECT_EQ(argument<int>(safeColor, 0, 0), 7);
    ASSERT_EQ(safeLine.count(), 1);
    EXPECT_EQ(argument<std::string>(safeLine, 0, 0), "small");
    ASSERT_EQ(safePercent.count(), 1);
    EXPECT_EQ(argument<int>(safePercent, 0, 0), 85);
    EXPECT_EQ(pseudo.count(), 1);
    EXPECT_EQ(single.count(), 1);
}
