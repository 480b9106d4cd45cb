#include "ColourPageTest.h"
#include "KeyCtl.h"
#include "LutConfig.h"
#include "LutCtl.h"
#include "LutWidget.h"
#include "VideoOption.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

const char *identity = "Lut/Pre/Identity.cube";
const char *whiteCube = "Lut/User/White.cube";
const std::vector<uint32_t> allWhite(4913, 0x3FFFFFFFu);

class LutWidgetTest : public OnePageTest<LutWidget, ColourPageTest>
{
protected:
    // The LUT list holds the preset and user files given; "Lut/User/White.cube"
    // makes everything white.
    void build(const std::string &settings, const std::string &preset, const std::string &user)
    {
        startStore(settings);
        std::filesystem::create_directories(workFile("Lut/User"));
        std::ofstream cube(workFile(whiteCube));
        cube << "LUT_3D_SIZE 17\n";
        for (int i = 0; i < 4913; ++i)
            cube << "1.0 1.0 1.0\n";
        cube.close();
        std::ofstream(workFile("Lut/LutFile.ini")) << "0  " << preset << "\n1  " << user << "\n";
        page = std::make_unique<LutWidget>();
        showPage(*page);
    }

    void reconfigure(bool on, int source)
    {
        AppConfig::getInstance()->setValue("colorLutEnable", on);
        AppConfig::getInstance()->setValue("colorLutSelect", source);
        page->configUpdate();
    }

    uint32_t lutOn() { return field(VID_3DLUT_CTL, 0, 0); }
    uint32_t splitOn() { return field(VID_3DLUT_CTL, 8, 8); }

    // The identity preset: red in bits 0-9, blue in bits 20-29.
    bool identityLoaded()
    {
        const std::vector<uint32_t> lut = lutRegion();
        return lut[8] == 511u && lut[4096] == 1023u && lut[4608] == 1023u << 20;
    }
};

} // namespace

TEST_F(LutWidgetTest, AtStartTheSelectedListsFileIsLoadedAndTheLutOnWithoutSplit)
{
    build("[AppConfig]\ncolorLutEnable=true\ncolorLutSelect=0\n", identity, whiteCube);
    EXPECT_EQ(lutOn(), 1u);
    EXPECT_EQ(splitOn(), 0u);
    EXPECT_TRUE(identityLoaded());
    EXPECT_TRUE(button("lutEnable")->isChecked());
    EXPECT_TRUE(button("lutSourcePre")->isChecked());
    EXPECT_EQ(child<QLabel>(*page, "lutUserFile")->text(), "White.cube");

    reconfigure(true, 7); // held to the user list
    EXPECT_EQ(lutRegion(), allWhite);
    EXPECT_TRUE(button("lutSourceUser")->isChecked());
    reconfigure(true, -3);
    EXPECT_TRUE(identityLoaded());
    reconfigure(false, 1);
    EXPECT_EQ(lutOn(), 0u);
    EXPECT_TRUE(identityLoaded()) << "nothing loaded while off";
}

TEST_F(LutWidgetTest, AFileThatDoesNotLoadLeavesTheLutOffSaysSoAndKeepsTheSetting)
{
    build("[AppConfig]\ncolorLutEnable=true\ncolorLutSelect=0\n", "invalid", whiteCube);
    std::ofstream(workFile("Lut/Pre/Cut.cube")) << "LUT_3D_SIZE 17\n0 0 0\n0.5 0.5 0.5\n";
    for (const char *path : {"invalid", "Lut/Pre/Missing.cube", "Lut/Pre/Cut.cube"}) {
        LutConfig::getInstance()->modify(LutWidget::SourcePreset, path);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        page->configUpdate();
        const std::string console = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
        EXPECT_NE(console.find("the LUT stays off"), std::string::npos) << path << ": " << console;
        EXPECT_EQ(lutOn(), 0u) << path;
        EXPECT_FALSE(button("lutEnable")->isChecked()) << path;
    }
    expectSavedOnHide(*page, {{"colorLutEnable", "true"}});
}

TEST_F(LutWidgetTest, TheSwitchAndTheListsShowALutSplitAgainstThePictureSavedOnHide)
{
    build("[AppConfig]\ncolorLutEnable=false\ncolorLutSelect=0\n", identity, whiteCube);
    click(button("lutEnable"));
    EXPECT_EQ(lutOn(), 1u);
    EXPECT_EQ(splitOn(), 1u);
    EXPECT_TRUE(identityLoaded());
    click(button("lutEnable"));
    EXPECT_EQ(lutOn(), 0u);
    EXPECT_EQ(splitOn(), 0u);
    EXPECT_FALSE(VideoOption::getInstance()->isLutContrast());

    // Another list while off switches the LUT on with its file; the list
    // already selected loads nothing again.
    click(button("lutSourceUser"));
    EXPECT_EQ(lutOn(), 1u);
    EXPECT_EQ(lutRegion(), allWhite);
    auto *memory = static_cast<uint32_t *>(board().pl().memory(PLMemory::LUT3D_MEMORY1));
    std::fill(memory, memory + 4913, 0u);
    click(button("lutSourceUser"));
    EXPECT_EQ(lutRegion(), std::vector<uint32_t>(4913, 0u));
    EXPECT_EQ(savedValue("colorLutSelect"), "0");
    expectSavedOnHide(*page, {{"colorLutSelect", "1"}, {"colorLutEnable", "true"}});

    // A list without a file takes the LUT off.
    page->show();
    LutConfig::getInstance()->modify(LutWidget::SourcePreset, "invalid");
    testing::internal::CaptureStdout();
    click(button("lutSourcePre"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(lutOn(), 0u);
    EXPECT_FALSE(button("lutEnable")->isChecked());
}

TEST_F(LutWidgetTest, FrontKeysToggleTheLutAndItsSplitAndThePickerAppliesOnlyTheSelectedList)
{
    build("[AppConfig]\ncolorLutEnable=false\ncolorLutSelect=0\n", identity, whiteCube);
    QSignalSpy message(page.get(), &LutWidget::signalMsgLutContrast);
    pressKey(KeyCtl::F2, KeyCtl::FUNC_LUT_COMPARE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return message.count() == 1; }, 5000));
    pressKey(KeyCtl::F1, KeyCtl::FUNC_LUT);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lutOn() == 1u; }, 5000));
    EXPECT_EQ(splitOn(), 1u);
    clickKey(KeyCtl::F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return splitOn() == 0u; }, 5000));
    EXPECT_EQ(lutOn(), 1u);
    clickKey(KeyCtl::F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lutOn() == 0u; }, 5000));
    clickKey(KeyCtl::F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return message.count() == 2; }, 5000));
    EXPECT_EQ(splitOn(), 0u);

    // The picker applies only the selected list, and a LUT it switched on shows.
    QSignalSpy preset(page.get(), &LutWidget::signalPreSelectLut);
    QSignalSpy user(page.get(), &LutWidget::signalUserLutOp);
    for (const char *name : {"lutPreSelect", "lutUserSelect", "lutUserImport", "lutUserErase"})
        click(button(name));
    EXPECT_EQ(preset.takeFirst(), QVariantList{true});
    EXPECT_EQ(user.takeFirst(), (QVariantList{0, false}));
    EXPECT_EQ(user.takeFirst(), (QVariantList{1, false}));
    EXPECT_EQ(user.takeFirst(), (QVariantList{2, false}));

    // The user list chosen in the picker, loaded and switched on there.
    page->hide();
    AppConfig::getInstance()->setValue("colorLutSelect", 1);
    page->configUpdate();
    ASSERT_TRUE(LutCtl::getInstance()->loadFile(whiteCube));
    LutCtl::getInstance()->lutEnable(true);
    page->show();
    EXPECT_TRUE(button("lutEnable")->isChecked());
    click(button("lutPreSelect"));
    click(button("lutUserSelect"));
    EXPECT_EQ(preset.takeFirst(), QVariantList{false});
    EXPECT_EQ(user.takeFirst(), (QVariantList{0, true}));
    expectSavedOnHide(*page, {{"colorLutEnable", "true"}});
}
