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

const uint32_t white = 0x3FFFFFFFu;

class LutWidgetTest : public ColourPageTest
{
protected:
    // The LUT list holds the preset and user files given; "Lut/User/White.cube"
    // is a cube that makes everything white.
    void build(const std::string &settings, const std::string &preset, const std::string &user)
    {
        startStore(settings);
        std::filesystem::create_directories(workFile("Lut/User"));
        std::ofstream cube(workFile("Lut/User/White.cube"));
        cube << "LUT_3D_SIZE 17\n";
        for (int i = 0; i < 4913; ++i)
            cube << "1.0 1.0 1.0\n";
        cube.close();
        std::ofstream(workFile("Lut/LutFile.ini")) << "0  " << preset << "\n1  " << user << "\n";
        page = std::make_unique<LutWidget>();
        showPage(*page);
    }

    void reconfigure(const char *key, int value)
    {
        AppConfig::getInstance()->setValue(key, value);
        page->configUpdate();
    }

    uint32_t lutOn() { return field(VID_3DLUT_CTL, 0, 0); }
    uint32_t splitOn() { return field(VID_3DLUT_CTL, 8, 8); }
    QPushButton *button(const char *name) { return child<QPushButton>(*page, name); }

    // The identity preset: red in bits 0-9, blue in bits 20-29.
    void expectIdentity()
    {
        const std::vector<uint32_t> lut = lutRegion();
        EXPECT_EQ(lut[0], 0u);
        EXPECT_EQ(lut[8], 511u);            // r = 8 of 16
        EXPECT_EQ(lut[4096], 1023u);        // r = 16
        EXPECT_EQ(lut[4608], 1023u << 20);  // b = 16
        EXPECT_EQ(lut[4912], white);
    }

    std::unique_ptr<LutWidget> page;
};

const char *identity = "Lut/Pre/Identity.cube";
const char *whiteCube = "Lut/User/White.cube";

} // namespace

TEST_F(LutWidgetTest, AtStartTheSelectedListsFileIsLoadedAndTheLutOnWithoutSplit)
{
    build("[AppConfig]\ncolorLutEnable=true\ncolorLutSelect=0\n", identity, whiteCube);
    EXPECT_EQ(lutOn(), 1u);
    EXPECT_EQ(splitOn(), 0u);
    expectIdentity();
    EXPECT_TRUE(button("lutEnable")->isChecked());
    EXPECT_TRUE(button("lutSourcePre")->isChecked());
    EXPECT_EQ(child<QLabel>(*page, "lutPreFile")->text(), "Identity.cube");
    EXPECT_EQ(child<QLabel>(*page, "lutUserFile")->text(), "White.cube");

    reconfigure("colorLutSelect", 1);
    EXPECT_EQ(lutRegion(), std::vector<uint32_t>(4913, white));
    EXPECT_TRUE(button("lutSourceUser")->isChecked());
    AppConfig::getInstance()->setValue("colorLutEnable", false);
    page->configUpdate();
    EXPECT_EQ(lutOn(), 0u);
    EXPECT_FALSE(button("lutEnable")->isChecked());

    // Out-of-range lists are held to the two there are.
    AppConfig::getInstance()->setValue("colorLutEnable", true);
    reconfigure("colorLutSelect", -3);
    EXPECT_TRUE(button("lutSourcePre")->isChecked());
    expectIdentity();
    reconfigure("colorLutSelect", 7);
    EXPECT_TRUE(button("lutSourceUser")->isChecked());
    EXPECT_EQ(lutRegion(), std::vector<uint32_t>(4913, white));
}

TEST_F(LutWidgetTest, AFileThatDoesNotLoadLeavesTheLutOffSaysSoAndKeepsTheSetting)
{
    const std::string text = "LUT_3D_SIZE 17\n0 0 0\n0.5 0.5 0.5\n";
    build("[AppConfig]\ncolorLutEnable=true\ncolorLutSelect=0\n", "invalid", whiteCube);
    std::ofstream(workFile("Lut/Pre/Cut.cube")) << text;
    for (const std::string &path : {std::string("invalid"), std::string("Lut/Pre/Missing.cube"),
                                    std::string("Lut/Pre/Cut.cube")}) {
        LutConfig::getInstance()->modify(LutWidget::SourcePreset, path);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        page->configUpdate();
        const std::string console = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
        EXPECT_NE(console.find("the LUT stays off"), std::string::npos) << path << ": " << console;
        EXPECT_EQ(lutOn(), 0u) << path;
        EXPECT_FALSE(button("lutEnable")->isChecked()) << path;
    }
    page->hide();
    EXPECT_EQ(savedValue("colorLutEnable"), "true");
}

TEST_F(LutWidgetTest, TheSwitchShowsTheLutSplitAgainstThePictureAndIsSavedOnHide)
{
    build(std::string(), identity, "invalid");
    click(button("lutEnable"));
    EXPECT_EQ(lutOn(), 1u);
    EXPECT_EQ(splitOn(), 1u);
    EXPECT_TRUE(VideoOption::getInstance()->isLutContrast());
    expectIdentity();
    EXPECT_EQ(savedValue("colorLutEnable"), "false");
    page->hide();
    EXPECT_EQ(savedValue("colorLutEnable"), "true");

    page->show();
    click(button("lutEnable"));
    EXPECT_EQ(lutOn(), 0u);
    EXPECT_EQ(splitOn(), 0u);
    EXPECT_FALSE(VideoOption::getInstance()->isLutContrast());
    page->hide();
    EXPECT_EQ(savedValue("colorLutEnable"), "false");
}

TEST_F(LutWidgetTest, ChangingTheListSwitchesTheLutOnWithThatListsFile)
{
    build(std::string(), identity, whiteCube);
    click(button("lutSourceUser"));
    EXPECT_EQ(lutOn(), 1u);
    EXPECT_TRUE(button("lutEnable")->isChecked());
    EXPECT_EQ(lutRegion(), std::vector<uint32_t>(4913, white));

    click(button("lutSourcePre"));
    EXPECT_EQ(lutOn(), 1u);
    expectIdentity();

    // The list already selected loads nothing again.
    auto *memory = static_cast<uint32_t *>(board().pl().memory(PLMemory::LUT3D_MEMORY1));
    std::fill(memory, memory + 4913, 0u);
    click(button("lutSourcePre"));
    EXPECT_EQ(lutRegion(), std::vector<uint32_t>(4913, 0u));

    // A list without a file takes the LUT off.
    LutConfig::getInstance()->modify(LutWidget::SourceUser, "invalid");
    testing::internal::CaptureStdout();
    click(button("lutSourceUser"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(lutOn(), 0u);
    EXPECT_FALSE(button("lutEnable")->isChecked());
    page->hide();
    EXPECT_EQ(savedValue("colorLutSelect"), "1");
    EXPECT_EQ(savedValue("colorLutEnable"), "false");
}

TEST_F(LutWidgetTest, FrontKeysToggleTheLutAndItsSplitWhichNeedsALut)
{
    build(std::string(), "invalid", "invalid");
    QSignalSpy message(page.get(), &LutWidget::signalMsgLutContrast);
    KeyCtl::getInstance()->registerFunction(KeyCtl::F1, KeyCtl::FUNC_LUT);
    KeyCtl::getInstance()->registerFunction(KeyCtl::F2, KeyCtl::FUNC_LUT_COMPARE);
    clickKey(KeyCtl::F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return message.count() == 1; }, 5000));
    testing::internal::CaptureStdout();
    clickKey(KeyCtl::F1); // no file: the LUT stays off
    QTest::qWait(50);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(lutOn(), 0u);

    LutConfig::getInstance()->modify(LutWidget::SourcePreset, identity);
    clickKey(KeyCtl::F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lutOn() == 1u; }, 5000));
    EXPECT_EQ(splitOn(), 1u);
    clickKey(KeyCtl::F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return splitOn() == 0u; }, 5000));
    EXPECT_EQ(lutOn(), 1u);
    clickKey(KeyCtl::F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return splitOn() == 1u; }, 5000));
    clickKey(KeyCtl::F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lutOn() == 0u; }, 5000));
    EXPECT_EQ(splitOn(), 0u);
    clickKey(KeyCtl::F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return message.count() == 2; }, 5000));
    EXPECT_FALSE(VideoOption::getInstance()->isLutContrast());
}

TEST_F(LutWidgetTest, ListButtonsAskForThePickerApplyingOnlyTheSelectedList)
{
    build(std::string(), identity, whiteCube);
    QSignalSpy preset(page.get(), &LutWidget::signalPreSelectLut);
    QSignalSpy user(page.get(), &LutWidget::signalUserLutOp);
    click(button("lutPreSelect"));
    click(button("lutUserSelect"));
    click(button("lutUserImport"));
    click(button("lutUserErase"));
    reconfigure("colorLutSelect", 1);
    click(button("lutPreSelect"));
    click(button("lutUserSelect"));
    ASSERT_EQ(preset.count(), 2);
    EXPECT_EQ(preset[0], QVariantList{true});
    EXPECT_EQ(preset[1], QVariantList{false});
    ASSERT_EQ(user.count(), 4);
    EXPECT_EQ(user[0], (QVariantList{0, false}));
    EXPECT_EQ(user[1], (QVariantList{1, false}));
    EXPECT_EQ(user[2], (QVariantList{2, false}));
    EXPECT_EQ(user[3], (QVariantList{0, true}));
}

TEST_F(LutWidgetTest, ALutThePickerSwitchedOnShowsWhenThePageComesBack)
{
    build(std::string(), identity, whiteCube);
    page->hide();
    ASSERT_TRUE(LutCtl::getInstance()->loadFile(whiteCube));
    LutCtl::getInstance()->lutEnable(true);
    page->show();
    EXPECT_TRUE(button("lutEnable")->isChecked());
    EXPECT_EQ(child<QLabel>(*page, "lutPreFile")->text(), "Identity.cube");
    page->hide();
    EXPECT_EQ(savedValue("colorLutEnable"), "true");
}
