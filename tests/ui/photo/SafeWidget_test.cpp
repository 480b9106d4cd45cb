#include "KeyCtl.h"
#include "PageTest.h"
#include "SafeWidget.h"
#include "StringSignals.h"

#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

class SafeWidgetTest : public OnePageTest<SafeWidget>
{
protected:
    SafeWidgetTest() { registerStringSignals(); }

};

} // namespace

TEST_F(SafeWidgetTest, ShowsTheStoredChoicesAndFallsBackOnBadOnes)
{
    build("[AppConfig]\nphotoSafeEnable=true\nphotoSafeColor=5\nphotoSafeLine=large\nphotoSafeRate=93\n");
    EXPECT_TRUE(button("safeEnable")->isChecked());
    EXPECT_TRUE(button("safeColor5")->isChecked());
    EXPECT_TRUE(button("safeLineLarge")->isChecked());
    EXPECT_TRUE(button("safeRate93")->isChecked());

    const char *const bad[] = {"photoSafeColor=0\nphotoSafeLine=huge\nphotoSafeRate=95\n",
                               "photoSafeColor=-3\nphotoSafeLine=\nphotoSafeRate=\n",
                               "photoSafeColor=8\nphotoSafeLine=Small\nphotoSafeRate=88%\n"};
    for (const char *values : bad) {
        rebuild(std::string("[AppConfig]\n") + values);
        EXPECT_TRUE(button("safeColor1")->isChecked()) << values;
        EXPECT_TRUE(button("safeLineMiddle")->isChecked()) << values;
        EXPECT_TRUE(button("safeRate88")->isChecked()) << values;
    }
}

TEST_F(SafeWidgetTest, EachControlTellsTheOverlayAndIsSavedOnHide)
{
    build();
    QSignalSpy enable(page.get(), &SafeWidget::signalSafeMarkEnable);
    QSignalSpy colour(page.get(), &SafeWidget::signalSafeColor);
    QSignalSpy line(page.get(), &SafeWidget::signalSafeLine);
    QSignalSpy percent(page.get(), &SafeWidget::signalSafeMarkPercent);

    click(button("safeEnable"));
    click(button("safeColor6"));
    click(button("safeLineSmall"));
    click(button("safeRate80"));
    click(button("safeLineLarge"));
    ASSERT_EQ(enable.count(), 1);
    EXPECT_TRUE(argument<bool>(enable, 0, 0));
    ASSERT_EQ(colour.count(), 1);
    EXPECT_EQ(argument<int>(colour, 0, 0), 6);
    ASSERT_EQ(line.count(), 2);
    EXPECT_EQ(argument<std::string>(line, 0, 0), "small");
    EXPECT_EQ(argument<std::string>(line, 1, 0), "large");
    ASSERT_EQ(percent.count(), 1);
    EXPECT_EQ(argument<int>(percent, 0, 0), 80);

    EXPECT_EQ(savedValue("photoSafeRate"), "88");
    expectSavedOnHide(*page, {{"photoSafeEnable", "true"}, {"photoSafeColor", "6"}, {"photoSafeLine", "large"},
                              {"photoSafeRate", "80"}});

    // The front key toggles the safe area as the switch does.
    page->show();
    pressKey(KeyCtl::F3, KeyCtl::FUNC_SAFE_FRAME);
    ASSERT_TRUE(QTest::qWaitFor([&] { return enable.count() == 2; }, 5000));
    EXPECT_FALSE(argument<bool>(enable, 1, 0));
    EXPECT_FALSE(button("safeEnable")->isChecked());
    pressKey(KeyCtl::F1, KeyCtl::FUNC_MARKER);
    QTest::qWait(50);
    EXPECT_EQ(enable.count(), 2);
    expectSavedOnHide(*page, {{"photoSafeEnable", "false"}});
}
