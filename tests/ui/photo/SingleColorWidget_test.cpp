#include "CscStaging.h"
#include "KeyCtl.h"
#include "PageTest.h"
#include "SingleColorWidget.h"
#include "VideoOption.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

// The first diagonal terms of the staged screen record, 12 fraction bits:
// red, green and blue each keep one channel, grey weighs all three.
struct Diagonal {
    int red, green, blue;
    bool operator==(const Diagonal &o) const { return red == o.red && green == o.green && blue == o.blue; }
};

class SingleColorWidgetTest : public OnePageTest<SingleColorWidget>
{
protected:
    Diagonal staged()
    {
        const std::vector<uint32_t> words = stagedCscWords(board().pl());
        return {static_cast<int16_t>(words[0] & 0xFFFFu), static_cast<int16_t>(words[2] & 0xFFFFu),
                static_cast<int16_t>(words[4] & 0xFFFFu)};
    }
    uint32_t screenEnabled() { return field(CSC_MATRIX_CTL, 16, 16); }
};

const Diagonal normal{4096, 4096, 4096};
const Diagonal red{4096, 0, 0};
const Diagonal green{0, 4096, 0};
const Diagonal blue{0, 0, 4096};
const Diagonal grey{870, 2929, 295};

} // namespace

TEST_F(SingleColorWidgetTest, TheStoredChoiceWaitsForTheScreenMatrixLoad)
{
    build("[AppConfig]\nphotoSingleColorEnable=true\nphotoSingleColorValue=red\n");
    EXPECT_TRUE(button("singleColorEnable")->isChecked());
    EXPECT_TRUE(button("singleColorRed")->isChecked());
    EXPECT_EQ(screenEnabled(), 0u) << "nothing loaded before the screen's colour settings are";
    VideoOption::getInstance()->loadCscMatrix();
    EXPECT_EQ(staged(), red);
    EXPECT_EQ(screenEnabled(), 1u);

    // An unknown colour name shows and uses blue.
    rebuild("[AppConfig]\nphotoSingleColorEnable=true\nphotoSingleColorValue=purple\n");
    EXPECT_TRUE(button("singleColorBlue")->isChecked());
    VideoOption::getInstance()->loadCscMatrix();
    EXPECT_EQ(staged(), blue);
}

TEST_F(SingleColorWidgetTest, ColourButtonsLoadTheirMatrixAndAreSavedOnHide)
{
    build("[AppConfig]\nphotoSingleColorEnable=true\n");
    const std::pair<const char *, Diagonal> cases[] = {
        {"singleColorGreen", green}, {"singleColorGrey", grey}, {"singleColorRed", red}, {"singleColorBlue", blue}};
    for (const auto &[name, diagonal] : cases) {
        click(button(name));
        EXPECT_EQ(staged(), diagonal) << name;
        EXPECT_EQ(screenEnabled(), 1u);
    }
    click(button("singleColorGrey"));
    expectSavedOnHide(*page, {{"photoSingleColorValue", "grey"}});

    // Chosen while the view is off, a colour waits for the view.
    page->show();
    click(button("singleColorEnable"));
    EXPECT_EQ(staged(), normal);
    click(button("singleColorGreen"));
    EXPECT_EQ(staged(), normal);
    click(button("singleColorEnable"));
    EXPECT_EQ(staged(), green);
}

TEST_F(SingleColorWidgetTest, TheSwitchAndItsFrontKeyToggleTheViewAndTellTheWindow)
{
    build("[AppConfig]\nphotoSingleColorValue=green\n");
    QSignalSpy spy(page.get(), &SingleColorWidget::signalSingleColorEnable);
    click(button("singleColorEnable"));
    EXPECT_EQ(staged(), green);
    EXPECT_EQ(spy.count(), 1);
    expectSavedOnHide(*page, {{"photoSingleColorEnable", "true"}});

    page->show();
    pressKey(KeyCtl::F2, KeyCtl::FUNC_MONO);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spy.count() == 2; }, 5000));
    EXPECT_EQ(staged(), normal);
    EXPECT_FALSE(button("singleColorEnable")->isChecked());
    pressKey(KeyCtl::F3, KeyCtl::FUNC_FALSE_COLOR);
    QTest::qWait(50);
    EXPECT_EQ(spy.count(), 2);
    expectSavedOnHide(*page, {{"photoSingleColorEnable", "false"}});
}
