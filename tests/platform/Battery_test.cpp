#include "Battery.h"
#include "PlatformTest.h"

#include <QSignalSpy>
#include <QThread>
#include <vector>

namespace {

using BatteryTest = BoardTest;

TEST_F(BatteryTest, LevelsOfBothPacks)
{
    Battery *battery = Battery::getInstance();
    QSignalSpy spy(battery, &Battery::signalBattery);
    const std::pair<float, int> cases[] = {
        {8.0f, 72},   // 100 - trunc(0.4 / 1.4 x 100)
        {14.0f, 42},  // 100 - trunc(2.8 / 4.8 x 100)
        {9.0f, 0},    // the high pack from 9 V on
        {8.9f, 100},  // the low pack is full from 8.4 V on
        {8.4f, 100},
        {16.8f, 100},
        {20.0f, 100},
        {7.0f, 0},
        {7.7f, 50},
        {12.0f, 0},
        {0.0f, 0},    // no battery
    };
    for (const auto &c : cases) {
        battery->setBatteryVoltage(false, c.first, c.first);
        ASSERT_EQ(spy.count(), 1);
        const QList<QVariant> arguments = spy.takeFirst();
        EXPECT_EQ(arguments.at(2).toInt(), c.second) << c.first << " V";
        EXPECT_EQ(arguments.at(4).toInt(), c.second) << c.first << " V";
    }
}

// The MCU's power report: three big-endian counts of tenths of a volt.
TEST_F(BatteryTest, McuPowerReportArrivesOnTheUserInterfaceThread)
{
    ASSERT_TRUE(startLink(board()));
    QObject receiver;
    std::vector<QList<QVariant>> reports;
    QObject::connect(Battery::getInstance(), &Battery::signalBattery, &receiver,
                     [&](bool externalPower, float voltageA, int levelA, float voltageB, int levelB) {
                         EXPECT_EQ(QThread::currentThread(), receiver.thread());
                         reports.push_back({externalPower, voltageA, levelA, voltageB, levelB});
                     });
    board().mcu().send(0x12, {0, 0, 0, 120, 0, 0, 0, 80, 0, 0, 0, 140});
    ASSERT_TRUE(waitUntil([&] { return !reports.empty(); }));
    EXPECT_TRUE(reports[0].at(0).toBool());
    EXPECT_FLOAT_EQ(reports[0].at(1).toFloat(), 8.0f);
    EXPECT_EQ(reports[0].at(2).toInt(), 72);
    EXPECT_FLOAT_EQ(reports[0].at(3).toFloat(), 14.0f);
    EXPECT_EQ(reports[0].at(4).toInt(), 42);
}

} // namespace
