#include "KeyCtl.h"
#include "PageTest.h"
#include "PseudoWidget.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

class PseudoWidgetTest : public OnePageTest<PseudoWidget>
{
protected:
    uint32_t enabled() { return field(FALSE_COLOR_CTL, 0, 0); }
    uint32_t bands() { return field(FALSE_COLOR_CTL, 15, 4); }
    QPushButton *band(int i) { return child<QPushButton>(*page, qPrintable(QString("pseudoBand%1").arg(i))); }
};

} // namespace

TEST_F(PseudoWidgetTest, AllTwelveBandsReachTheLogicInOneWriteAtStart)
{
    // What the logic held before: stale bands and the spare bit above them.
    board().pl().setField(FALSE_COLOR_CTL, 16, 4, 0x1FFF);
    build("[AppConfig]\nphotoPseudoEnable=true\nphotoPseudoIndex0=true\nphotoPseudoIndex5=true\n"
          "photoPseudoIndex11=true\nphotoPseudoIndex7=maybe\n");
    EXPECT_EQ(enabled(), 1u);
    EXPECT_EQ(bands(), 0x821u);
    EXPECT_EQ(field(FALSE_COLOR_CTL, 16, 16), 0u) << "the whole band field is rewritten";
    for (int i = 0; i < PseudoWidget::bandCount; ++i)
        EXPECT_EQ(band(i)->isChecked(), i == 0 || i == 5 || i == 11) << "band " << i;
    EXPECT_EQ(band(11)->text(), "109");
}

TEST_F(PseudoWidgetTest, BandButtonsAndTheSwitchWithItsFrontKeyAreAppliedAndSavedOnHide)
{
    build("[AppConfig]\nphotoPseudoIndex2=true\n");
    click(band(3));
    click(band(11));
    EXPECT_EQ(bands(), 0x80Cu);
    click(band(2));
    EXPECT_EQ(bands(), 0x808u);
    EXPECT_EQ(savedValue("photoPseudoIndex2"), "true") << "saved only when the page hides";
    expectSavedOnHide(*page, {{"photoPseudoIndex2", "false"}, {"photoPseudoIndex3", "true"},
                              {"photoPseudoIndex11", "true"}});
    EXPECT_EQ(enabled(), 0u) << "bands do not switch false colour on";

    // The switch and its front key toggle false colour and tell the window.
    page->show();
    QSignalSpy spy(page.get(), &PseudoWidget::signalPseudoEnable);
    click(child<QPushButton>(*page, "pseudoEnable"));
    EXPECT_EQ(enabled(), 1u);
    EXPECT_EQ(spy.count(), 1);
    expectSavedOnHide(*page, {{"photoPseudoEnable", "true"}});

    page->show();
    pressKey(KeyCtl::F3, KeyCtl::FUNC_FALSE_COLOR);
    ASSERT_TRUE(QTest::qWaitFor([&] { return enabled() == 0u; }, 5000));
    EXPECT_EQ(spy.count(), 2);
    EXPECT_FALSE(child<QPushButton>(*page, "pseudoEnable")->isChecked());
    pressKey(KeyCtl::F1, KeyCtl::FUNC_MONO);
    QTest::qWait(50);
    EXPECT_EQ(spy.count(), 2) << "another function leaves false colour alone";
    expectSavedOnHide(*page, {{"photoPseudoEnable", "false"}});
}
