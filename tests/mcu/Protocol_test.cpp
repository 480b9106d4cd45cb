#include "Battery.h"
#include "HDMICtl.h"
#include "LinkTest.h"
#include "Protocol.h"
#include "RtcCtl.h"
#include "Version.h"
#include "WHDICtl.h"

#include <tuple>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// The application's view of the link, as the tests can see it.
class ProtocolTest : public LinkTest
{
protected:
    std::string mcuVersion()
    {
        std::string version;
        Version::getInstance()->getMcuVersion(version);
        return version;
    }

    // The MCU reports its version; true once the application holds it.
    bool versionArrives(uint8_t a, uint8_t b, uint8_t c)
    {
        mcu().sendRaw(frame(0x00, {a, b, c}));
        const std::string expected = "0" + std::to_string(a) + std::to_string(b) + std::to_string(c);
        return waitUntil([&] { return mcuVersion() == expected; }, std::chrono::seconds(3));
    }

    static Bytes frame(uint8_t command, const Bytes &data)
    {
        Bytes bytes = {0xAA, 0xBB, command, static_cast<uint8_t>(data.size())};
        bytes.insert(bytes.end(), data.begin(), data.end());
        uint8_t sum = 0;
        for (uint8_t byte : bytes)
            sum ^= byte;
        bytes.push_back(sum);
        return bytes;
    }

    static Bytes join(std::initializer_list<Bytes> parts)
    {
        Bytes all;
        for (const Bytes &part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }
};

TEST_F(ProtocolTest, ValidFramesAreAcknowledgedAndReassembledFromAnyPiecesStrayBytesSkipped)
{
    ASSERT_TRUE(startLink());
    mcu().sendRaw({0xAA, 0xBB, 0x01, 0x01, 0x05, 0x14});
    // The acknowledgement on the wire is AA BB 0F 02 01 05 18: the model
    // only records frames whose checksum holds.
    ASSERT_TRUE(waitFor(0x0F, {0x01, 0x05}));
    EXPECT_EQ(mcu().badFrames(), 0u);

    mcu().setFragment(3);
    // Noise, a header that is not followed by 0xBB, and 0xAA 0xAA 0xBB, which
    // does not synchronise: the version 7 frame behind it is lost.
    mcu().sendRaw(join({{0x00, 0x55, 0xAA, 0x01}, {0xAA}, frame(0x00, {7, 7, 7})}));
    // Two frames back to back, one of them without data.
    mcu().sendRaw(join({frame(0x00, {4, 5, 6}), frame(0x11, {})}));
    ASSERT_TRUE(waitUntil([&] { return mcuVersion() == "0456"; }));
    EXPECT_TRUE(waitFor(0x0F, {0x11}));
    EXPECT_FALSE(received(0x0F, {0x00, 7, 7, 7}));
}

TEST_F(ProtocolTest, OversizedAndCorruptFramesAreDroppedAndTheNextFrameIsFound)
{
    ASSERT_TRUE(startLink());
    CaptureStderr();
    // A length above the 64-byte data field, then a frame right behind it.
    mcu().sendRaw(join({{0xAA, 0xBB, 0x00, 65}, frame(0x00, {1, 1, 1})}));
    ASSERT_TRUE(waitUntil([&] { return mcuVersion() == "0111"; }));
    // A bad checksum: neither acknowledged nor dispatched. A length byte that
    // starts the next frame is looked at again as its header.
    Bytes corrupt = frame(0x00, {2, 2, 2});
    corrupt.back() ^= 0x01;
    mcu().sendRaw(join({corrupt, {0xAA, 0xBB, 0x00, 0xFF}, {0xAA, 0xBB, 0x00}, frame(0x00, {3, 3, 3})}));
    ASSERT_TRUE(waitUntil([&] { return mcuVersion() == "0333"; }));
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: check sum error\n\033[0m");
    EXPECT_FALSE(received(0x0F, {0x00, 2, 2, 2}));
    EXPECT_TRUE(received(0x0F, {0x00, 1, 1, 1}));
    EXPECT_TRUE(waitFor(0x0F, {0x00, 3, 3, 3}));

    // A full data field still fits.
    Bytes full(64, 0x42);
    mcu().sendRaw(frame(0x03, full));
    full.insert(full.begin(), 0x03);
    EXPECT_TRUE(waitFor(0x0F, full));
}

TEST_F(ProtocolTest, AcknowledgementsAndQuestionsAreNotAcknowledgedAFlipIsConfirmedByTheMcusState)
{
    ASSERT_TRUE(startLink());
    mcu().setAcknowledge(false);
    mcu().sendRaw(join({frame(0x0F, {0x42}), frame(0x85, {1}), frame(0x00, {9, 8, 7})}));
    ASSERT_TRUE(waitFor(0x0F, {0x00, 9, 8, 7}));
    // An application value is repeated until acknowledged; the
    // acknowledgement the application sent is never repeated.
    const uint8_t volume = 33;
    UartSendValue(0x06, &volume, 1);
    ASSERT_TRUE(waitUntil([&] { return dataOf(0x06).size() >= 3; }, std::chrono::seconds(6)));
    const std::vector<Bytes> acknowledgements = dataOf(0x0F);
    EXPECT_EQ(std::count(acknowledgements.begin(), acknowledgements.end(), Bytes{0x00, 9, 8, 7}), 1);
    EXPECT_FALSE(received(0x0F, {0x0F, 0x42}));
    EXPECT_FALSE(received(0x0F, {0x85, 1}));

    // A flip request, once confirmed, is not repeated.
    const uint8_t flipped = 1;
    UartSendValue(0x0B, &flipped, 1);
    ASSERT_TRUE(waitFor(0x0B, {flipped}));
    // The MCU answers with its own flip state, which need not echo the request.
    mcu().sendRaw(frame(0x0F, {0x0B, 0}));
    pause(2500);
    EXPECT_EQ(mcu().count(0x0B), 1u) << "confirmed: not repeated";
}

TEST_F(ProtocolTest, OneResendEntryPerCommandHoldsTheLatestFrameUntilItsOwnAcknowledgement)
{
    ASSERT_TRUE(startLink());
    mcu().setAcknowledge(false);
    const uint8_t first = 10;
    const uint8_t second = 20;
    const uint8_t fan = 1;
    UartSendValue(0x06, &first, 1);
    UartSendValue(0x06, &second, 1);
    UartSendValue(0x08, &fan, 1);
    ASSERT_TRUE(
        waitUntil([&] { return dataOf(0x06).size() >= 4 && dataOf(0x08).size() >= 3; }, std::chrono::seconds(8)));

    const std::vector<Bytes> volumes = dataOf(0x06);
    EXPECT_EQ(volumes[0], Bytes{first});
    for (size_t i = 1; i < volumes.size(); ++i)
        EXPECT_EQ(volumes[i], Bytes{second}) << "repeat " << i;
    // Repeated about once a second, never sooner.
    std::vector<sim::McuModel::Clock::time_point> times;
    for (const sim::McuModel::Frame &frame : mcu().received()) {
        if (frame.command == 0x08)
            times.push_back(frame.time);
    }
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_GE(times[i] - times[i - 1], std::chrono::milliseconds(900));

    // The MCU acknowledges only the older value: the newer one is repeated.
    mcu().sendRaw(frame(0x0F, {0x06, first}));
    const size_t before = dataOf(0x06).size();
    EXPECT_TRUE(waitUntil([&] { return dataOf(0x06).size() >= before + 2; }, std::chrono::seconds(5)));
    EXPECT_EQ(dataOf(0x06).back(), Bytes{second});

    // Acknowledged: no more repeats.
    mcu().setAcknowledge(true);
    ASSERT_TRUE(waitFor(0x06, {second}) && waitUntil([&] { return dataOf(0x06).size() >= before + 3; }));
    const size_t settled = dataOf(0x06).size();
    pause(2500);
    EXPECT_LE(dataOf(0x06).size(), settled + 1);
}

TEST_F(ProtocolTest, TheUpdateRequestStopsAllSending)
{
    ASSERT_TRUE(startLink());
    auto requests = std::make_shared<Recorder<bool>>();
    QObject::connect(Version::getInstance(), &Version::signalMcuUpgrade, [requests] { requests->add(true); });
    mcu().setAcknowledge(false);
    const uint8_t volume = 5;
    UartSendValue(0x06, &volume, 1);
    ASSERT_TRUE(waitUntil([&] { return dataOf(0x06).size() >= 2; }, std::chrono::seconds(5)));

    mcu().send(0x31, {});
    ASSERT_TRUE(waitUntil([&] { return !requests->values().empty(); }));
    pause(200);
    const size_t volumes = dataOf(0x06).size();
    const uint8_t fan = 1;
    UartSendValue(0x08, &fan, 1);
    mcu().sendRaw(frame(0x00, {1, 1, 1}));
    pause(2500);
    EXPECT_EQ(dataOf(0x06).size(), volumes) << "nothing is resent";
    EXPECT_EQ(mcu().count(0x08), 0u) << "nothing new is sent";
    EXPECT_FALSE(received(0x0F, {0x00, 1, 1, 1})) << "nothing is acknowledged";
}

TEST_F(ProtocolTest, ReportsReachTheirControllers)
{
    ASSERT_TRUE(startLink());
    auto power = std::make_shared<Recorder<std::tuple<bool, float, float>>>();
    QObject::connect(Battery::getInstance(), &Battery::signalBattery,
                     [power](bool external, float a, int, float b, int) { power->add({external, a, b}); });
    auto times = std::make_shared<Recorder<std::vector<int>>>();
    QObject::connect(RtcCtl::getInstance(), &RtcCtl::signalUpdateTime,
                     [times](int year, int month, int day, int hour, int minute, int second) {
                         times->add({year, month, day, hour, minute, second});
                     });

    // 5.1 V external, 7.4 V and -0.5 V batteries.
    mcu().sendRaw(frame(0x12, {0, 0, 0, 51, 0, 0, 0, 74, 0xFF, 0xFF, 0xFF, 0xFB}));
    ASSERT_TRUE(waitUntil([&] { return !power->values().empty(); }));
    EXPECT_EQ(power->values()[0], std::make_tuple(true, 7.4f, -0.5f));
    // Exactly 5.0 V is not external power; the missing third value is 0.
    mcu().sendRaw(frame(0x12, {0, 0, 0, 50, 0, 0, 0, 80}));
    ASSERT_TRUE(waitUntil([&] { return power->values().size() == 2; }));
    EXPECT_EQ(power->values()[1], std::make_tuple(false, 8.0f, 0.0f));

    // A clock report short of its four bytes is ignored.
    mcu().sendRaw(join({frame(0x0A, {0x66, 0x5B, 0x0E}), frame(0x0A, {0x66, 0x5B, 0x0E, 0x40})}));
    ASSERT_TRUE(waitUntil([&] { return !times->values().empty(); }));
    EXPECT_EQ(times->values().size(), 1u);

    // Turned over: the G-sensor's angle (signed) makes the application ask the
    // MCU to flip, and the MCU's acknowledgement turns picture and touch.
    mcu().sendRaw(frame(0x09, {0, 1, 0, 2, 0, 3, 0xFF, 0xFF, 0xFF, 0xA6}));
    ASSERT_TRUE(waitFor(0x0B, {1}));
    EXPECT_TRUE(waitUntil([&] {
        return board().pl().field(TOUCHEVENT_ROTATE, 1, 0) == 3 && board().pl().field(DISP_FLIP_CONTROL, 0, 0) == 1;
    }));
}

TEST_F(ProtocolTest, ReadBackAnswersArePrinted)
{
    ASSERT_TRUE(startLink());
    mcu().setChannel(7);
    mcu().setStrength(61);
    mcu().setHDMI({1, 0x08, 0x98, 0x07, 0x80, 0x04, 0x65, 0x04, 0x38, 0x1D, 0x01, 1});
    mcu().setWHDI({0, 0x03, 0x20, 0x02, 0xD0});
    CaptureStdout();
    const uint8_t zero = 0;
    for (uint8_t command : {0x81, 0x82, 0x83, 0x84, 0x95})
        UartSendValue(command, &zero, 1);
    const bool answered = waitFor(0x84, {0}) && waitUntil([&] { return mcu().count(0x95) == 1; });
    pause(300);
    const std::string output = GetCapturedStdout();
    ASSERT_TRUE(answered);
    EXPECT_NE(output.find("WHDI Channel : 7 \n"), std::string::npos) << output;
    EXPECT_NE(output.find("\n**HDMI video active : true ***\nHtotal : 2200    Hactive : 1920\n"
                          "Vtotal : 1125    Vactive : 1080\nPCLK   : 7425    I/P     : I\n\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("\n**WHDI video active : false ***\nHtotal : 800    Hactive : 720\n"
                          "Vtotal : 0    Vactive : 0\nPCLK   : 0    I/P     : I\n\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("WHDI signal quality : 61\n"), std::string::npos) << output;
}

TEST_F(ProtocolTest, WirelessAndHdmiReportsReachTheirReceivers)
{
    Recorder<std::string> changes;
    WHDICtl *whdi = WHDICtl::getInstance();
    QObject::connect(whdi, &WHDICtl::signalChannel, [&](int value) { changes.add("channel " + std::to_string(value)); });
    QObject::connect(whdi, &WHDICtl::signalStrength,
                     [&](int value) { changes.add("strength " + std::to_string(value)); });
    QObject::connect(whdi, &WHDICtl::signalMode, [&](bool on) { changes.add(on ? "encrypted" : "open"); });
    QObject::connect(HDMICtl::getInstance(), &HDMICtl::signalUpdateHDMI, [&] { changes.add("hdmi"); });

    // A protocol of its own, fed the way the serial reader feeds it; the
    // read-back answers count as reports, empty reports change nothing.
    Protocol protocol(false);
    const Bytes bytes = join({frame(0x01, {12}), frame(0x04, {77}), frame(0x15, {1}), frame(0x04, {}),
                              frame(0x0F, {0x81, 13}), frame(0x0F, {0x84, 70}), frame(0x0F, {0x95, 0}),
                              frame(0x02, {1, 0x06, 0x72, 0x05, 0x00, 0x02, 0xEE, 0x02, 0xD0, 0x1D, 0x01, 0, 1, 5})});
    protocol(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(changes.values(), (std::vector<std::string>{"channel 12", "strength 77", "encrypted", "channel 13",
                                                          "strength 70", "open", "hdmi"}));
    int width = 0;
    int height = 0;
    EXPECT_TRUE(HDMICtl::getInstance()->getSize(width, height));
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 720);
}

TEST(ProtocolDecoding, MissingFieldsTakeTheirDefaults)
{
    const Protocol::HDMIData empty = Protocol::decodeHDMI(nullptr, 0);
    EXPECT_FALSE(empty.active);
    EXPECT_EQ(empty.horTotal + empty.horActive + empty.verTotal + empty.verActive + empty.pixelClock, 0);
    EXPECT_FALSE(empty.progressive);
    EXPECT_EQ(empty.colorSpace, 1);
    EXPECT_EQ(empty.colorDepth, 5);

    // A 16-bit field needs both of its bytes.
    const uint8_t partial[] = {1, 0x12, 0x34, 0x56};
    const Protocol::HDMIData cut = Protocol::decodeHDMI(partial, sizeof(partial));
    EXPECT_TRUE(cut.active);
    EXPECT_EQ(cut.horTotal, 0x1234);
    EXPECT_EQ(cut.horActive, 0);

    const uint8_t full[] = {0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 9, 3};
    const Protocol::HDMIData all = Protocol::decodeHDMI(full, sizeof(full));
    EXPECT_EQ(std::make_tuple(all.horTotal, all.horActive, all.verTotal, all.verActive, all.pixelClock),
              std::make_tuple(1, 2, 3, 4, 5));
    EXPECT_TRUE(all.progressive);
    EXPECT_EQ(all.colorSpace, 9);
    EXPECT_EQ(all.colorDepth, 3);

    const uint8_t sample[] = {0xFF, 0xFE, 0, 2, 0, 3, 0x80, 0x00, 0xFF};
    const Protocol::GsensorData tilt = Protocol::decodeGsensor(sample, sizeof(sample));
    EXPECT_EQ(tilt.x, 0xFFFE) << "the first three are unsigned";
    EXPECT_EQ(tilt.a, -32768);
    EXPECT_EQ(tilt.angle, 0) << "one byte short of the angle";

    const uint8_t three[] = {0, 0, 0};
    const Protocol::PowerData none = Protocol::decodeVoltage(three, sizeof(three));
    EXPECT_FALSE(none.externalPower);
    EXPECT_EQ(none.voltageA, 0.0f);
}

} // namespace
