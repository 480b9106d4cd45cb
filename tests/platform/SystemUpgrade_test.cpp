#include "OutputCapture.h"
#include "PlatformTest.h"
#include "SystemUpgrade.h"
#include "UpgradePackage.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <memory>
#include <optional>

namespace {

using std::chrono::milliseconds;

const QString noPackage = QStringLiteral("请将升级文件放入USB设备中并插入系统!");
const QString packageFound = QStringLiteral("检测到升级文件，请确认是否升级!");
const QString upgrading = QStringLiteral("正在升级中，请勿关机和断开电源!");
const QString failed = QStringLiteral("升级失败");
const QString mcuFailed = QStringLiteral("MCU升级失败，请重新开机并长按F1");

class SystemUpgradeTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        source.emplace(workFile("source"));
        page = std::make_unique<SystemUpgrade>();
        label = page->findChild<QLabel *>(QStringLiteral("upgradeLabel"));
        button = page->findChild<QPushButton *>(QStringLiteral("upgradeButton"));
        bar = page->findChild<QProgressBar *>(QStringLiteral("upgradeProgressBar"));
        ASSERT_TRUE(label != nullptr && button != nullptr && bar != nullptr);
        ASSERT_TRUE(output.start());
    }

    void TearDown() override
    {
        output.stop();
        page.reset();
        BoardTest::TearDown();
    }

    std::string onBoard(const std::string &absolutePath) { return board().tree().path(absolutePath); }

    // Puts a package of these files on a stick and opens the page.
    void offer(const std::vector<Upgrade::package> &files)
    {
        ASSERT_TRUE(board().tree().insertUsb('b'));
        ASSERT_TRUE(source->describe(files));
        ASSERT_TRUE(source->pack(onBoard("/run/media/sdb1/PAVORX.tar.gz")));
        page->show();
    }

    void reopen()
    {
        page->hide();
        page->show();
    }

    std::vector<int> progress(const QSignalSpy &spy)
    {
        std::vector<int> values;
        for (const QList<QVariant> &change : spy)
            values.push_back(change.at(0).toInt());
        return values;
    }

    std::optional<UpgradePackage> source;
    std::unique_ptr<SystemUpgrade> page;
    QLabel *label = nullptr;
    QPushButton *button = nullptr;
    QProgressBar *bar = nullptr;
    sim::OutputCapture output;
};

TEST_F(SystemUpgradeTest, OffersTheUpgradeOnlyWithAPackage)
{
    page->show();
    EXPECT_EQ(label->text(), noPackage);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(bar->isVisible());

    ASSERT_TRUE(board().tree().insertUsb('b'));
    reopen();
    EXPECT_EQ(label->text(), noPackage) << "a stick without the package";

    offer({});
    reopen();
    EXPECT_EQ(label->text(), packageFound);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(SystemUpgradeTest, EmptyDescriptionCompletesAndRestartsReopeningChangesNothing)
{
    ASSERT_TRUE(startLink(board()));
    offer({});
    QSignalSpy started(page.get(), &SystemUpgrade::signalUpgrade);
    QSignalSpy bars(bar, &QProgressBar::valueChanged);
    button->click();
    EXPECT_EQ(label->text(), upgrading);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(started.count(), 1);
    reopen();
    EXPECT_EQ(label->text(), upgrading) << "reopened";
    EXPECT_FALSE(button->isEnabled()) << "reopened";
    EXPECT_TRUE(waitUntil([&] { return output.contains("****Upgrade start****"); }));

    ASSERT_TRUE(waitUntil([&] { return bar->value() == 100; }));
    EXPECT_EQ(progress(bars), (std::vector<int>{10, 20, 80, 100}));
    EXPECT_TRUE(waitUntil([&] { return output.contains("***restart system after 5 seconds***"); }));
    settle(milliseconds(3000));
    EXPECT_EQ(board().system().restartCount(), 0) << "not before five seconds";
    ASSERT_TRUE(waitUntil([&] { return board().system().restartCount() == 1; }));
    EXPECT_TRUE(waitUntil([&] { return framesOf(board(), 0x0C) == std::vector<std::vector<uint8_t>>{{0}}; }));
    EXPECT_EQ(label->text(), upgrading);
}

TEST_F(SystemUpgradeTest, FirmwareHandsOverToTheMcuAtFifty)
{
    ASSERT_TRUE(startLink(board()));
    std::string firmware(2048, '\0');
    for (size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<char>(i * 7);
    board().mcu().setFirmware(std::vector<uint8_t>(firmware.begin(), firmware.end()));
    offer({source->install("fieldmon", "new build", "/home/root/app/fieldmon"),
                source->install("RX.bin", firmware, "/home/root/app/RX.bin")});
    QSignalSpy bars(bar, &QProgressBar::valueChanged);
    button->click();

    ASSERT_TRUE(waitUntil([&] { return bar->value() >= 50; }, milliseconds(15000)));
    const std::vector<int> start = progress(bars);
    ASSERT_GE(start.size(), 4u);
    EXPECT_EQ(std::vector<int>(start.begin(), start.begin() + 4), (std::vector<int>{10, 20, 40, 50}));

    ASSERT_TRUE(waitUntil([&] { return board().system().restartCount() == 1; }, milliseconds(30000)));
    EXPECT_TRUE(board().mcu().bootLoader().complete);
    EXPECT_TRUE(board().mcu().bootLoader().matches);
    const std::vector<int> all = progress(bars);
    EXPECT_EQ(all.back(), 100);
    for (size_t i = 4; i < all.size(); ++i)
        EXPECT_GT(all[i], all[i - 1]) << "the MCU's part runs from 50 to 100";
    EXPECT_TRUE(output.contains("***restart system after 5 seconds***"));
    EXPECT_EQ(fileBytes(onBoard("/home/root/app/fieldmon")), "new build");
}

TEST_F(SystemUpgradeTest, LinkDownFailsTheHandOver)
{
    offer({source->install("RX.bin", "firmware", "/home/root/app/RX.bin")});
    button->click();
    ASSERT_TRUE(waitUntil([&] { return label->text() == mcuFailed; }));
    EXPECT_EQ(bar->value(), 50);
    settle(milliseconds(500));
    EXPECT_EQ(board().system().restartCount(), 0);
}

TEST_F(SystemUpgradeTest, FailureKeepsTheProgressAndOffersTheUpgradeAgain)
{
    Upgrade::package corrupt = source->install("a.bin", "alpha", "/home/root/app/a.bin");
    corrupt.Md5[0] = corrupt.Md5[0] == '0' ? '1' : '0';
    offer({corrupt});
    QSignalSpy bars(bar, &QProgressBar::valueChanged);
    button->click();
    ASSERT_TRUE(waitUntil([&] { return label->text() == failed; }));
    EXPECT_EQ(progress(bars), (std::vector<int>{10, 20}));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(onBoard("/home/root/app/a.bin")));

    reopen();
    EXPECT_EQ(label->text(), packageFound);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_FALSE(bar->isVisible());
    settle(milliseconds(500));
    EXPECT_EQ(board().system().restartCount(), 0);
}

} // namespace
