#include "../../color/CubeFiles.h"
#include "CalibrateCtl.h"
#include "McuLink.h"
#include "PageTest.h"
#include "SystemInfoAbout.h"
#include "SystemInfoMainWidget.h"
#include "SystemUpgrade.h"
#include "Version.h"

#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <memory>

namespace {

class SystemInfoMainWidgetTest : public OnePageTest<SystemInfoMainWidget>
{
protected:
    // The working directory with a factory cube of half level and the user's
    // white cube in the calibration folder.
    void build(const std::string &settings = std::string())
    {
        OnePageTest::build(settings);
        writeText(workFile("calibrate.cube"), constantCube(0.5));
        std::filesystem::create_directories(workFile("Lut/Calibrate"));
        writeText(workFile("Lut/Calibrate/mine.cube"), constantCube(1.0));
        writeText(workFile("Lut/Calibrate/broken.cube"), "LUT_3D_SIZE 17\n0.1 0.2 0.3\n");
        QObject::connect(page.get(), &SystemInfoMainWidget::signalPreConfig, page.get(),
                         [this](int type) { preConfigs.push_back(type); });
        QObject::connect(page.get(), &SystemInfoMainWidget::signalSystemReset, page.get(), [this] { ++resets; });
        QObject::connect(page.get(), &SystemInfoMainWidget::signalCalibrateFileOp, page.get(),
                         [this](int op, bool load) { fileOps.emplace_back(op, load); });
    }

    uint32_t calibrationWord()
    {
        return static_cast<const uint32_t *>(board().pl().memory(PLMemory::LUT3D_MEMORY0))[0];
    }
    bool calibrationOn() { return field(CALI_3DLUT_CTL, 0, 0) == 1; }
    QString label(const char *name) { return child<QLabel>(*page, name)->text(); }

    std::vector<int> preConfigs;
    int resets = 0;
    std::vector<std::pair<int, bool>> fileOps;
};

} // namespace

TEST_F(SystemInfoMainWidgetTest, CalibrationModeLoadsTheUserFileOrTheFactoryCubeAndABrokenFileChangesNothing)
{
    build("[AppConfig]\ncolorLutCalibrateEnable=false\ncolorLutCalibrateFile=Lut/Calibrate/mine.cube\n");
    EXPECT_EQ(label("systemCalibrateFile"), "mine.cube");
    EXPECT_FALSE(calibrationOn()) << "the page itself pushes nothing at start";

    click(button("systemCalibrateEnable"));
    EXPECT_TRUE(calibrationOn());
    EXPECT_EQ(calibrationWord(), whiteWord);
    click(button("systemCalibrateEnable"));
    EXPECT_TRUE(calibrationOn());
    EXPECT_EQ(calibrationWord(), halfWord);
    click(button("systemCalibrateEnable"));
    expectSavedOnHide(*page, {{"colorLutCalibrateEnable", "true"}});

    // Without a factory cube, leaving calibration mode leaves the panel
    // uncalibrated, as the next start would.
    page->show();
    std::filesystem::remove(workFile("calibrate.cube"));
    click(button("systemCalibrateEnable"));
    EXPECT_FALSE(calibrationOn());
    expectSavedOnHide(*page, {{"colorLutCalibrateEnable", "false"}});

    // A user file that does not load leaves mode and calibration as they were.
    rebuild("[AppConfig]\ncolorLutCalibrateFile=Lut/Calibrate/broken.cube\n");
    EXPECT_EQ(label("systemCalibrateFile"), "broken.cube");
    writeText(workFile("calibrate.cube"), constantCube(0.5));
    ASSERT_TRUE(CalibrateCtl::getInstance()->loadFile("calibrate.cube"));

    click(button("systemCalibrateEnable"));
    EXPECT_FALSE(button("systemCalibrateEnable")->isChecked());
    EXPECT_TRUE(calibrationOn());
    EXPECT_EQ(calibrationWord(), halfWord);
    EXPECT_FALSE(label("systemCalibrateHint").isEmpty());
    page->hide();
    EXPECT_NE(savedValue("colorLutCalibrateEnable"), "true");

    // A path written with backslashes shows its file name too.
    AppConfig::getInstance()->setValue("colorLutCalibrateFile", std::string("D:\\cubes\\panel.cube"));
    page->configUpdate();
    EXPECT_EQ(label("systemCalibrateFile"), "panel.cube");
    EXPECT_TRUE(label("systemCalibrateHint").isEmpty());
}

TEST_F(SystemInfoMainWidgetTest, ConfirmationButtonsStayOffUntilTheConfirmationIsGoneAndFileButtonsSayWhatFor)
{
    build();
    click(button("systemFavouriteSave"));
    EXPECT_FALSE(button("systemFavouriteSave")->isEnabled());
    EXPECT_FALSE(button("systemFavouriteLoad")->isEnabled());
    page->preConfigUse();
    click(button("systemFavouriteLoad"));
    EXPECT_EQ(preConfigs, (std::vector<int>{0, 1}));
    page->preConfigUse();
    EXPECT_TRUE(button("systemFavouriteSave")->isEnabled());

    click(button("systemReset"));
    EXPECT_EQ(resets, 1);
    EXPECT_FALSE(button("systemReset")->isEnabled());
    page->resetButtonUse();
    EXPECT_TRUE(button("systemReset")->isEnabled());

    // The file buttons tell the picker what for and whether to load.
    AppConfig::getInstance()->setValue("colorLutCalibrateEnable", true);
    page->configUpdate();
    click(button("systemCalibrateImport"));
    click(button("systemCalibrateErase"));
    page->hide();
    AppConfig::getInstance()->setValue("colorLutCalibrateEnable", false);
    page->show();
    click(button("systemCalibrateSelect"));
    EXPECT_EQ(fileOps, (std::vector<std::pair<int, bool>>{{1, true}, {2, true}, {0, false}}));
}

TEST_F(SystemInfoMainWidgetTest, LanguageSwitchRetranslatesEveryPageAndIsStored)
{
    build();
    SystemUpgrade upgrade;
    QLabel *title = upgrade.findChild<QLabel *>("upgradeTitleLabel");
    ASSERT_EQ(title->text(), "系统升级");
    click(button("systemLanguageEnglish"));
    EXPECT_EQ(title->text(), "System upgrade");
    expectSavedOnHide(*page, {{"language", "English"}});
    page->show();
    click(button("systemLanguageChinese"));
    EXPECT_EQ(title->text(), "系统升级");
    EXPECT_TRUE(button("systemLanguageChinese")->isChecked());
    expectSavedOnHide(*page, {{"language", "Chinese"}});

    // An unknown language shows Chinese.
    rebuild("[AppConfig]\nlanguage=Klingon\n");
    EXPECT_TRUE(button("systemLanguageChinese")->isChecked());
}

TEST_F(SystemInfoMainWidgetTest, AboutShowsTheThreeVersionsAndOffersTheReset)
{
    startStore();
    board().pl().set(FPGA_VER_NUM, 0x20190725u);
    SystemInfoAbout about;
    int resets = 0;
    QObject::connect(&about, &SystemInfoAbout::signalReset, &about, [&] { ++resets; });
    showPage(about);
    EXPECT_EQ(child<QLabel>(about, "aboutSoftValue")->text(), "0348");
    EXPECT_EQ(child<QLabel>(about, "aboutFpgaValue")->text(), "20190725");
    EXPECT_EQ(child<QLabel>(about, "aboutMcuValue")->text(), "");
    EXPECT_EQ(child<QLabel>(about, "aboutModelValue")->text(), "FM-7");

    // The MCU reports its version later; the next showing has it.
    ASSERT_TRUE(startLink(board()));
    board().mcu().send(0x00, {1, 2, 3});
    ASSERT_TRUE(waitUntil([&] {
        std::string version;
        Version::getInstance()->getMcuVersion(version);
        return !version.empty();
    }));
    about.hide();
    about.show();
    EXPECT_EQ(child<QLabel>(about, "aboutMcuValue")->text(), "0123");

    QPushButton *reset = child<QPushButton>(about, "aboutReset");
    click(reset);
    EXPECT_EQ(resets, 1);
    EXPECT_FALSE(reset->isEnabled());
    about.resetButtonUse();
    EXPECT_TRUE(reset->isEnabled());
}
