#include "../../color/CubeFiles.h"
#include "AppConfig.h"
#include "McuLink.h"
#include "PageTest.h"
#include "PreConfig.h"
#include "ResetSystem.h"
#include "ZebraWidget.h"

#include <QPushButton>
#include <QSignalSpy>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

std::string stored(const char *key)
{
    std::string value;
    AppConfig::getInstance()->findValue(key, value);
    return value;
}

// A confirmation page beside the zebra page, whose register shows whether the
// pages re-read their settings.
class ConfirmationTest : public PageTest
{
protected:
    template <typename Page>
    std::unique_ptr<Page> build(const std::string &settings)
    {
        startStore(settings);
        zebra = std::make_unique<ZebraWidget>();
        auto page = std::make_unique<Page>();
        showPage(*page);
        return page;
    }

    // Presses a button; what the application printed meanwhile.
    std::string press(QWidget &page, const char *button)
    {
        testing::internal::CaptureStdout();
        click(child<QPushButton>(page, button));
        return testing::internal::GetCapturedStdout();
    }

    uint32_t zebraOn() { return field(ZEBRA_LINE_CTL, 0, 0); }

    std::unique_ptr<ZebraWidget> zebra;
};

TEST_F(ConfirmationTest, LoadingAMissingFavouriteChangesNothingAndSaysSo)
{
    auto page = build<PreConfig>("[AppConfig]\nphotoZebraEnable=true\nphotoZebraMinValue=70\n");
    QSignalSpy hidden(page.get(), &PreConfig::signalMsgHide);
    AppConfig::getInstance()->save();
    const std::string before = readText(workFile("config.ini"));
    page->setPreConfigType(PreConfig::PRE_CONFIG_LOAD);
    EXPECT_NE(press(*page, "msgOk").find("favourite config load ok\n"), std::string::npos);
    EXPECT_EQ(hidden.count(), 1);
    EXPECT_EQ(zebraOn(), 1u);
    AppConfig::getInstance()->save();
    EXPECT_EQ(readText(workFile("config.ini")), before) << "the whole table as it was";

    // A favourite that cannot be written is not reported as saved.
    fs::create_directory(workFile("favorite.ini"));
    page->setPreConfigType(PreConfig::PRE_CONFIG_SAVE);
    EXPECT_EQ(press(*page, "msgOk").find("favourite config save ok"), std::string::npos);
}

TEST_F(ConfirmationTest, SavedFavouriteComesBackOnLoadAndReachesThePages)
{
    auto page = build<PreConfig>("[AppConfig]\nphotoZebraEnable=true\nscanMode=pix\n");
    QSignalSpy hidden(page.get(), &PreConfig::signalMsgHide);
    page->setPreConfigType(PreConfig::PRE_CONFIG_SAVE);
    EXPECT_NE(press(*page, "msgOk").find("favourite config save ok\n"), std::string::npos);
    ASSERT_TRUE(fs::exists(workFile("favorite.ini")));

    // Changed since: zebra off on its page, another scan mode in the store.
    showPage(*zebra);
    click(child<QPushButton>(*zebra, "zebraEnable"));
    AppConfig::getInstance()->setValue("scanMode", "pixTopix");
    ASSERT_EQ(zebraOn(), 0u);

    page->setPreConfigType(PreConfig::PRE_CONFIG_LOAD);
    EXPECT_EQ(press(*page, "msgCancel"), "");
    EXPECT_EQ(stored("scanMode"), "pixTopix") << "cancel loads nothing";
    EXPECT_EQ(press(*page, "msgOk"), "favourite config load ok\n");
    EXPECT_EQ(stored("scanMode"), "pix");
    EXPECT_EQ(zebraOn(), 1u) << "the zebra page re-read its settings";
    EXPECT_EQ(hidden.count(), 3);
}

// Notes, when the settings are re-read, whether the user LUTs were gone by
// then, and sends a value to the MCU as a page may.
class ResetWitness : public Config
{
public:
    explicit ResetWitness(std::string userLut) : userLut(std::move(userLut)) {}

    void configInit() override
    {
        ++rereads;
        userLutGoneFirst = !fs::exists(userLut);
        const uint8_t volume = 9;
        UartSendValue(0x06, &volume, 1);
    }

    int rereads = 0;
    bool userLutGoneFirst = false;

private:
    std::string userLut;
};

TEST_F(ConfirmationTest, ResetSendsTheChannelFirstThenRestoresEverythingCancelTouchesNothing)
{
    auto page = build<ResetSystem>("[AppConfig]\nlanguage=English\nscanMode=pix\naudioValue=80\n"
                                   "photoZebraEnable=true\n");
    std::ofstream(workFile("favorite.ini")) << "[AppConfig]\nscanMode=pixTopix\n";
    fs::create_directories(workFile("Lut/User"));
    std::ofstream(workFile("Lut/User/mine.cube")) << "LUT_3D_SIZE 2\n";
    ASSERT_TRUE(startLink(board()));
    ResetWitness witness(workFile("Lut/User/mine.cube"));
    QSignalSpy ok(page.get(), &ResetSystem::signalMsgOk);
    QSignalSpy hidden(page.get(), &ResetSystem::signalMsgHide);
    auto sent = [&] {
        std::vector<sim::McuModel::Frame> frames;
        for (const sim::McuModel::Frame &frame : board().mcu().received()) {
            if (frame.command != 0x0F)
                frames.push_back(frame);
        }
        return frames;
    };

    const std::string settings = readText(workFile("config.ini"));
    EXPECT_EQ(press(*page, "msgCancel"), "reset system cancel\n");
    EXPECT_EQ(hidden.count(), 1);
    waitUntil([] { return false; }, std::chrono::milliseconds(300));
    const size_t before = sent().size();
    EXPECT_EQ(mcuValues(0x01).size(), 0u);
    EXPECT_EQ(readText(workFile("config.ini")), settings);
    EXPECT_TRUE(fs::exists(workFile("favorite.ini")) && fs::exists(workFile("Lut/User/mine.cube")));

    EXPECT_NE(press(*page, "msgOk").find("reset system ok\n"), std::string::npos);
    EXPECT_EQ(ok.count(), 1);
    // The MCU hears channel 0 before anything the re-reading pages send, and
    // the user LUTs went before the settings were re-read.
    ASSERT_TRUE(waitUntil([&] { return sent().size() >= before + 2; }));
    const std::vector<sim::McuModel::Frame> frames = sent();
    EXPECT_EQ(frames[before].command, 0x01);
    EXPECT_EQ(frames[before].data, std::vector<uint8_t>{0});
    EXPECT_EQ(frames[before + 1].command, 0x06);
    EXPECT_EQ(witness.rereads, 1);
    EXPECT_TRUE(witness.userLutGoneFirst);

    EXPECT_FALSE(fs::exists(workFile("favorite.ini")));
    EXPECT_EQ(savedValue("language"), "Chinese");
    EXPECT_EQ(savedValue("scanMode"), "normal");
    EXPECT_EQ(savedValue("audioValue"), "50");
    EXPECT_EQ(stored("language"), "Chinese");
    EXPECT_EQ(zebraOn(), 0u) << "the pages took the defaults";
}

} // namespace
