#include "FunctionMenuWidget.h"
#include "FunctionWidget.h"
#include "KeyCtl.h"
#include "PageTest.h"
#include "Wait.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <memory>

namespace {

class FunctionWidgetTest : public OnePageTest<FunctionWidget>
{
protected:
    void build(const std::string &settings = std::string())
    {
        OnePageTest::build(settings);
        menu = std::make_unique<FunctionMenuWidget>();
        QObject::connect(page.get(), &FunctionWidget::signalFunctionSelect, menu.get(),
                         &FunctionMenuWidget::slotFunctionSelect);
        QObject::connect(page.get(), &FunctionWidget::signalFunctionSelect, page.get(),
                         [this](int key, int code) { selections.emplace_back(key, code); });
        // Queued onto this thread: the key controller emits on its own.
        QObject::connect(KeyCtl::getInstance(), &KeyCtl::clicked, page.get(),
                         [this](int code) { clicked.push_back(code); });
    }

    // What one click of a key emitted.
    std::vector<int> press(int key)
    {
        clicked.clear();
        clickKey(key);
        // A function goes out before the line is re-armed; give its queued
        // delivery a moment to arrive.
        waitUntil([this] { return !clicked.empty(); }, std::chrono::milliseconds(300));
        return clicked;
    }

    QString shownName(const char *label) { return child<QLabel>(*menu, label)->text(); }

    std::unique_ptr<FunctionMenuWidget> menu;
    std::vector<std::pair<int, int>> selections;
    std::vector<int> clicked;
};

} // namespace

TEST_F(FunctionWidgetTest, StoredFunctionsAreBoundAtStartAndUnknownCodesCountAsOff)
{
    build("[AppConfig]\nfunctionF1=9\nfunctionF2=99\nfunctionF3=17\n");
    EXPECT_EQ(press(KeyCtl::F1), std::vector<int>{9});
    // 99 is beyond the list and 17 is not offered: neither is bound.
    EXPECT_TRUE(press(KeyCtl::F2).empty());
    EXPECT_TRUE(press(KeyCtl::F3).empty());
    EXPECT_EQ(shownName("functionMenuF1Name"), "斑马纹");
    EXPECT_EQ(shownName("functionMenuF2Name"), "关闭");
    EXPECT_EQ(shownName("functionMenuF3Name"), "关闭");
    page->setKey(KeyCtl::F2);
    EXPECT_TRUE(child<QPushButton>(*page, "functionCode0")->isChecked());
}

TEST_F(FunctionWidgetTest, ChoosingAFunctionBindsItToTheEditedKeyAndStoresIt)
{
    build("[AppConfig]\nfunctionF1=9\n");
    page->setKey(KeyCtl::F2);
    EXPECT_EQ(child<QLabel>(*page, "functionTitle")->text(), "F2自定义");
    click(child<QPushButton>(*page, "functionCode24"));
    EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{KeyCtl::F2, 24}}));
    EXPECT_EQ(press(KeyCtl::F2), std::vector<int>{24});
    EXPECT_EQ(press(KeyCtl::F1), std::vector<int>{9});
    EXPECT_EQ(shownName("functionMenuF2Name"), "扫描模式");

    // Back to off: the key goes quiet.
    click(child<QPushButton>(*page, "functionCode0"));
    EXPECT_TRUE(press(KeyCtl::F2).empty());
    EXPECT_EQ(savedValue("functionF2"), "");
    expectSavedOnHide(*page, {{"functionF2", "0"}, {"functionF1", "9"}});

    // Another key keeps its own selection.
    page->show();
    page->setKey(KeyCtl::F1);
    EXPECT_TRUE(child<QPushButton>(*page, "functionCode9")->isChecked());
    page->setKey(7);
    EXPECT_EQ(page->key(), KeyCtl::F1);
}

TEST_F(FunctionWidgetTest, TheListOffersTwentyFiveFunctionsInItsOrder)
{
    build();
    std::vector<QPushButton *> buttons;
    for (QPushButton *button : page->findChildren<QPushButton *>())
        if (button->objectName().startsWith("functionCode"))
            buttons.push_back(button);
    std::sort(buttons.begin(), buttons.end(), [](QPushButton *a, QPushButton *b) {
        return std::make_pair(a->y(), a->x()) < std::make_pair(b->y(), b->x());
    });
    std::vector<int> codes;
    for (QPushButton *button : buttons)
        codes.push_back(button->objectName().mid(12).toInt());
    EXPECT_EQ(codes, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19, 20, 25, 23, 21,
                                       22, 24, 0}));
    EXPECT_EQ(buttons.front()->text(), "截图");
    EXPECT_EQ(buttons.back()->text(), "关闭");
}
