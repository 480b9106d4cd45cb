#include "SignalPageTest.h"
#include "WirelessChannelWidget.h"

#include <QLabel>
#include <array>

namespace {

using Entries = WirelessChannelWidget::ScanEntries;

enum Look { Normal, Current, Good, Unknown };

class WirelessChannelTest : public SignalPageTest<WirelessChannelWidget>
{
protected:
    // How a channel button looks on screen: the current channel is filled
    // with the accent colour, a recommended one is outlined with it.
    std::array<Look, 20> looks()
    {
        const QImage image = page->grab().toImage();
        std::array<Look, 20> result;
        for (int channel = 0; channel < 20; ++channel) {
            const QRect area = channelButton(channel)->geometry();
            const QColor fill = image.pixelColor(area.topLeft() + QPoint(30, 12));
            const QColor edge = image.pixelColor(area.topLeft() + QPoint(3, 36));
            result[static_cast<size_t>(channel)] = accent(fill) ? Current : accent(edge) ? Good
                                                                 : fill.blue() < 90  ? Normal
                                                                                     : Unknown;
        }
        return result;
    }

    static bool accent(const QColor &c)
    {
        return std::abs(c.red() - 45) < 20 && std::abs(c.green() - 156) < 20 && std::abs(c.blue() - 255) < 20;
    }

    QPushButton *channelButton(int channel)
    {
        return button(QStringLiteral("wirelessChannel%1").arg(channel).toLatin1().constData());
    }

    QString channelLabel() { return child<QLabel>(*page, "wirelessChannelLabel")->text(); }

    // The percentages the page reports, taken on the user-interface thread.
    void recordScan()
    {
        QObject::connect(page.get(), &WirelessChannelWidget::signalScanPercent, page.get(),
                         [this](int percent) { percents.push_back(percent); });
        QObject::connect(page.get(), &WirelessChannelWidget::signalScanMsgHide, page.get(), [this] { ++hides; });
    }

    void startScan()
    {
        QPushButton *scan = button("wirelessScan");
        ASSERT_TRUE(scan->isEnabled());
        ASSERT_TRUE(scan->isChecked());
        click(scan);
    }

    bool receiverOff() { return board().platform().gpioValue(25) == 0 && board().platform().gpioValue(26) == 0; }

    std::vector<int> percents;
    int hides = 0;
};

Entries entriesWith(const std::vector<std::pair<int, bool>> &levels)
{
    Entries entries;
    for (int channel = 0; channel < 20; ++channel) {
        const auto &value = levels[static_cast<size_t>(channel)];
        entries[static_cast<size_t>(channel)] = {
            value.second ? WirelessChannelWidget::STYLE_GOOD : WirelessChannelWidget::STYLE_NORMAL, value.first,
            channel};
    }
    return entries;
}

std::vector<int> goodChannels(const Entries &entries)
{
    std::vector<int> channels;
    for (const auto &entry : entries) {
        if (entry.style == WirelessChannelWidget::STYLE_GOOD)
            channels.push_back(entry.channel);
    }
    return channels;
}

} // namespace

TEST(WirelessChannelRanking, AtMostTheFiveQuietestOfTheGoodChannelsKeepTheirMark)
{
    // Seven channels were quiet enough at least once; the five with the
    // lowest sums stay recommended, in the order of their sums.
    std::vector<std::pair<int, bool>> levels(20, {9000, false});
    levels[2] = {3000, true};
    levels[5] = {200, true};
    levels[8] = {2500, true};
    levels[11] = {100, true};
    levels[13] = {1500, true};
    levels[16] = {4000, true};
    levels[19] = {900, true};
    levels[0] = {50, false}; // quiet in sum but never below the mark in one measurement
    Entries entries = entriesWith(levels);
    WirelessChannelWidget::rankEntries(entries);
    EXPECT_EQ(goodChannels(entries), (std::vector<int>{11, 5, 19, 13, 8}));
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_LE(entries[i - 1].level, entries[i].level);

    // With fewer than six, a channel quiet only once keeps its mark however
    // loud it was otherwise.
    levels.assign(20, {9000, false});
    levels[7] = {39000, true};
    levels[3] = {10, true};
    entries = entriesWith(levels);
    WirelessChannelWidget::rankEntries(entries);
    EXPECT_EQ(goodChannels(entries), (std::vector<int>{3, 7}));

    // A silent band: equal sums keep their order, the first five channels win.
    levels.assign(20, {0, true});
    entries = entriesWith(levels);
    WirelessChannelWidget::rankEntries(entries);
    EXPECT_EQ(goodChannels(entries), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(WirelessChannelTest, AWholeScanReportsEveryPercentAndRecommendsTheFiveQuietestChannels)
{
    build("[AppConfig]\ninputChannel=4\n", false);
    recordScan();
    std::array<int, 20> levels;
    levels.fill(2000);
    // Seven quiet channels, the current one among them.
    const std::array<std::pair<int, int>, 7> quiet = {{{1, 100}, {4, 50}, {6, 300}, {9, 20}, {12, 200}, {15, 350}, {18, 10}}};
    for (const auto &channel : quiet)
        levels[static_cast<size_t>(channel.first)] = channel.second;
    ASSERT_TRUE(board().scanReceiver().setLevels(levels));
    // The page parks the receiver on the first channel once, and powers it down.
    ASSERT_TRUE(waitUntil([&] { return board().scanReceiver().tuneCount() == 1 && receiverOff(); }));
    EXPECT_EQ(board().scanReceiver().tunedChannel(), 0);

    startScan();
    EXPECT_FALSE(button("wirelessScan")->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return button("wirelessScan")->isEnabled(); }, std::chrono::seconds(60)));

    std::vector<int> expected;
    for (int percent = 0; percent <= 100; ++percent)
        expected.push_back(percent);
    EXPECT_EQ(percents, expected);
    EXPECT_EQ(board().scanReceiver().tuneCount(), 201);
    EXPECT_TRUE(receiverOff());
    EXPECT_TRUE(button("wirelessScan")->isChecked());

    const std::array<Look, 20> shown = looks();
    for (int channel = 0; channel < 20; ++channel) {
        const bool recommended = channel == 18 || channel == 9 || channel == 1 || channel == 12;
        const Look expectedLook = channel == 4 ? Current : recommended ? Good : Normal;
        EXPECT_EQ(shown[static_cast<size_t>(channel)], expectedLook) << "channel " << channel;
    }
    EXPECT_EQ(hides, 0);

    // Picking another channel: the old current one shows its recommendation.
    click(channelButton(6));
    const std::array<Look, 20> after = looks();
    EXPECT_EQ(after[4], Good);
    EXPECT_EQ(after[6], Current);
    EXPECT_EQ(after[15], Normal);
}

TEST_F(WirelessChannelTest, LeavingThePageStopsTheScanAndTheNextScanStartsAfresh)
{
    build(std::string(), false);
    recordScan();
    startScan();
    ASSERT_TRUE(waitUntil([&] { return !percents.empty() && percents.back() >= 2; }));
    page->hide();
    EXPECT_TRUE(receiverOff());
    const int tuned = board().scanReceiver().tuneCount();
    settle(500);
    const size_t reported = percents.size();
    settle(300);
    EXPECT_EQ(percents.size(), reported);
    EXPECT_EQ(board().scanReceiver().tuneCount(), tuned);
    EXPECT_EQ(hides, 1);
    EXPECT_TRUE(receiverOff());

    // Back on the page the thread waits for the next scan, which counts from 0.
    page->show();
    percents.clear();
    startScan();
    ASSERT_TRUE(waitUntil([&] { return percents.size() >= 3; }));
    EXPECT_EQ(percents[0], 0);
    EXPECT_EQ(percents[1], 1);
    EXPECT_EQ(percents[2], 2);
    EXPECT_GT(board().scanReceiver().tuneCount(), tuned);
    EXPECT_FALSE(receiverOff());
    // The page going away mid-scan powers the receiver down.
    page.reset();
    EXPECT_TRUE(receiverOff());
}

TEST_F(WirelessChannelTest, ChannelAndAntennaChoicesAndReportsReachTheMcuAndTheSettingsBadOnesFallBack)
{
    build("[AppConfig]\ninputChannel=5\ninputAntenna=external\n");
    ASSERT_TRUE(waitForValues(0x10, 1));
    EXPECT_EQ(mcuValues(0x10).back(), std::vector<uint8_t>{1});
    EXPECT_EQ(channelLabel(), "CH.05");
    EXPECT_TRUE(button("wirelessAntennaExternal")->isChecked());
    EXPECT_EQ(looks()[5], Current);

    int antennaNotices = 0;
    QObject::connect(page.get(), &WirelessChannelWidget::signalAntennaExternal, [&] { ++antennaNotices; });
    click(channelButton(12));
    ASSERT_TRUE(waitForValues(0x01, 1));
    EXPECT_EQ(mcuValues(0x01).back(), std::vector<uint8_t>{12});
    EXPECT_EQ(channelLabel(), "CH.12");
    EXPECT_EQ(looks()[5], Normal);
    EXPECT_EQ(looks()[12], Current);

    click(button("wirelessAntennaIn"));
    ASSERT_TRUE(waitForValues(0x10, 2));
    EXPECT_EQ(mcuValues(0x10).back(), std::vector<uint8_t>{0});
    EXPECT_EQ(antennaNotices, 0);
    EXPECT_EQ(savedValue("inputChannel"), "5");
    expectSavedOnHide(*page, {{"inputChannel", "12"}, {"inputAntenna", "in"}});

    page->show();
    click(button("wirelessAntennaExternal"));
    ASSERT_TRUE(waitForValues(0x10, 3));
    EXPECT_EQ(mcuValues(0x10).back(), std::vector<uint8_t>{1});
    EXPECT_EQ(antennaNotices, 1);
    expectSavedOnHide(*page, {{"inputAntenna", "external"}});

    // The channel the MCU reports is shown, passed on and stored; a bad one is not.
    page->show();
    std::vector<int> passedOn;
    QObject::connect(page.get(), &WirelessChannelWidget::signalChannel, [&](int channel) { passedOn.push_back(channel); });
    board().mcu().send(0x01, {7});
    ASSERT_TRUE(waitUntil([&] { return channelLabel() == "CH.07"; }));
    EXPECT_EQ(looks()[7], Current);
    // A channel the band does not have is ignored.
    board().mcu().send(0x01, {25});
    settle(300);
    EXPECT_EQ(channelLabel(), "CH.07");
    EXPECT_EQ(passedOn, std::vector<int>{7});
    expectSavedOnHide(*page, {{"inputChannel", "7"}});
    EXPECT_EQ(mcuValues(0x01).size(), 1u) << "following the MCU sends it nothing back";

    // Bad settings fall back to channel 0 and the internal antenna.
    const size_t antennaSent = mcuValues(0x10).size();
    rebuild("[AppConfig]\ninputChannel=99\ninputAntenna=roof\n");
    EXPECT_EQ(channelLabel(), "CH.00");
    EXPECT_TRUE(button("wirelessAntennaIn")->isChecked());
    ASSERT_TRUE(waitForValues(0x10, antennaSent + 1));
    EXPECT_EQ(mcuValues(0x10).back(), std::vector<uint8_t>{0});
    int channel = -1;
    AppConfig::getInstance()->findValue("inputChannel", channel);
    EXPECT_EQ(channel, 0);
    const std::array<Look, 20> shown = looks();
    EXPECT_EQ(shown[0], Current);
    for (int other = 1; other < 20; ++other)
        EXPECT_EQ(shown[static_cast<size_t>(other)], Normal);
}
