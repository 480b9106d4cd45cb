#include "AntennaExternal.h"
#include "EraseLutSuccess.h"
#include "ImportLutFailed.h"
#include "ImportLutSuccess.h"
#include "LutContrast.h"
#include "PageTest.h"
#include "PreConfig.h"
#include "ResetSystem.h"
#include "ScanProgress.h"
#include "ScreenFrameFail.h"
#include "ScreenFrameSuccess.h"
#include "TimeSetting.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

namespace {

class MessagePagesTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        startStore();
    }

    static QString text(const QWidget &page) { return child<QLabel>(page, "labelText")->text(); }
};

TEST_F(MessagePagesTest, EachPageSaysItsMessageInChineseAndFitsTheMessageArea)
{
    const std::pair<QFrame *, const char *> pages[] = {
        {new ScreenFrameSuccess, "截图成功 USB:Image/"},      {new ScreenFrameFail, "截图失败 请插入USB设备"},
        {new PreConfig, "是否覆盖之前的预设值"},               {new ResetSystem, "是否恢复出厂设置"},
        {new AntennaExternal, "请确保所有天线安装正确！"},      {new TimeSetting, "时间设置成功"},
        {new ImportLutSuccess, "导入自定义LUT文件成功"},        {new ImportLutFailed, "超过导入上限50个，导入失败"},
        {new EraseLutSuccess, "删除自定义LUT文件成功"},         {new LutContrast, "请确保LUT开启且加载有效文件"},
        {new ScanProgress, "正在扫频"}};
    const QRect area(0, 0, 707, 113);
    for (const auto &each : pages) {
        std::unique_ptr<QFrame> page(each.first);
        const QString name = page->objectName();
        EXPECT_EQ(text(*page), QString::fromUtf8(each.second)) << name.toStdString();
        EXPECT_EQ(page->geometry(), area) << name.toStdString();
        for (QWidget *control : page->findChildren<QWidget *>())
            EXPECT_TRUE(area.contains(control->geometry())) << control->objectName().toStdString();
        const QList<QPushButton *> buttons = page->findChildren<QPushButton *>();
        EXPECT_EQ(buttons.size(), name == "PreConfig" || name == "ResetSystem" ? 2 : 0) << name.toStdString();
        for (QPushButton *button : buttons)
            EXPECT_TRUE(button->height() >= 60 && !button->text().isEmpty()) << name.toStdString();
        if (name != "ScanProgress") {
            const QByteArray icon = (name.left(1).toLower() + name.mid(1) + "Icon").toLatin1();
            QLabel *label = child<QLabel>(*page, icon.constData());
            EXPECT_TRUE(label != nullptr && !label->pixmap(Qt::ReturnByValue).isNull()) << icon.constData();
        }
    }

    // The favourite page asks the question of its type.
    PreConfig page;
    page.setPreConfigType(PreConfig::PRE_CONFIG_LOAD);
    EXPECT_EQ(text(page), QString::fromUtf8("是否加载保存的预设值"));
    testing::internal::CaptureStdout();
    page.setPreConfigType(static_cast<PreConfig::PreConfigType>(7));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("[ WARNING ]"), std::string::npos);
    EXPECT_EQ(page.preConfigType(), PreConfig::PRE_CONFIG_LOAD) << "an unknown request asks nothing new";
    page.setPreConfigType(PreConfig::PRE_CONFIG_SAVE);
    EXPECT_EQ(text(page), QString::fromUtf8("是否覆盖之前的预设值"));
}

TEST_F(MessagePagesTest, ScanPageSaysDoneOnlyAfterAHundred)
{
    ScanProgress page;
    showPage(page);
    QProgressBar *bar = child<QProgressBar>(page, "scanProgressBar");
    QLabel *done = child<QLabel>(page, "scanProgressDone");
    ASSERT_TRUE(bar != nullptr && done != nullptr);
    EXPECT_FALSE(bar->isTextVisible());
    EXPECT_EQ(done->text(), QString::fromUtf8("完成"));
    const struct {
        int reported;
        int bar;
        bool done;
    } steps[] = {{0, 0, false},   {35, 35, false}, {99, 99, false},   {100, 100, true},
                 {60, 60, true},  {0, 0, false},   {150, 100, true},  {-3, 0, false}};
    for (const auto &step : steps) {
        page.setProgress(step.reported);
        EXPECT_EQ(bar->value(), step.bar) << step.reported;
        EXPECT_EQ(done->isVisible(), step.done) << step.reported;
    }
}

} // namespace
