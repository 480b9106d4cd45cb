#include "KeyCtl.h"
#include "PageTest.h"
#include "SafeWidget.h"
#include "StringSignals.h"

#include <QPushButton>
#include <QTest>
#include <fstream>
#include <memory>

namespace {

class SafeWidgetTest : public PageTest
{
protected:
    void build(const std::string &settings = std::string())
    {
        registerStringSignals();
        startStore(settings);
        page = std::make_unique<SafeWidget>();
        showPage(*page);
    }

    QPushButton *button(const char *name) { return child<QPushButton>(*page, name); }

    std::unique_ptr<SafeWidget> page;
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
        page.reset();
        AppConfig::getInstance()->restoreDefaults();
        std::ofstream(workFile("config.ini")) << "[AppConfig]\n" << values;
        ASSERT_TRUE(AppConfig::getInstance()->read());
        page = std::make_unique<SafeWidget>();
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
    page->hide();
    EXPECT_EQ(savedValue("photoSafeEnable"), "true");
    EXPECT_EQ(savedValue("photoSafeColor"), "6");
    EXPECT_EQ(savedValue("photoSafeLine"), "large");
    EXPECT_EQ(savedValue("photoSafeRate"), "80");
}

TEST_F(SafeWidgetTest, TheFrontKeyTogglesTheSafeAreaAsTheSwitchDoes)
{
    build("[AppConfig]\nphotoSafeEnable=true\n");
    QSignalSpy enable(page.get(), &SafeWidget::signalSafeMarkEnable);
    KeyCtl::getInstance()->registerFunction(KeyCtl::F3, KeyCtl::FUNC_SAFE_FRAME);
    KeyCtl::getInstance()->registerFunction(KeyCtl::F1, KeyCtl::FUNC_MARKER);
    clickKey(KeyCtl::F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return enable.count() == 1; }, 5000));
    EXPECT_FALSE(argument<bool>(enable, 0, 0));
    EXPECT_FALSE(button("safeEnable")->isChecked());
    clickKey(KeyCtl::F1);
    QTest::qWait(50);
    EXPECT_EQ(enable.count(), 1);
    page->hide();
    EXPECT_EQ(savedValue("photoSafeEnable"), "false");
}
