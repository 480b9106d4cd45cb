#include "AppConfig.h"
#include "BoardTest.h"
#include "CubeFiles.h"
#include "MainWindow.h"

#include <filesystem>
#include <memory>

namespace {

class CalibrationStartTest : public BoardTest
{
protected:
    // A first start with the seeded working directory, the given settings and
    // calibrate.cube replaced by a test cube.
    void start(const std::string &settings, const std::string &factoryCube)
    {
        std::filesystem::copy(FIELDMON_SEED_DIR, workDir(), std::filesystem::copy_options::recursive);
        std::filesystem::remove(workFile("calibrate.cube"));
        if (!factoryCube.empty())
            writeText(workFile("calibrate.cube"), factoryCube);
        writeText(workFile("config.ini"), "[AppConfig]\n" + settings);
        AppConfig::getInstance()->init("config.ini");
        window = std::make_unique<MainWindow>();
    }

    uint32_t calibrationWord(int index)
    {
        return static_cast<const uint32_t *>(board().pl().memory(PLMemory::LUT3D_MEMORY0))[index];
    }

    bool calibrationOn() { return board().pl().field(CALI_3DLUT_CTL, 0, 0) == 1; }

    // The window's threads use the board's devices: it goes before the board.
    void TearDown() override
    {
        window.reset();
        BoardTest::TearDown();
    }

    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(CalibrationStartTest, FactoryCubeWhenUserCalibrationIsOff)
{
    start("colorLutCalibrateEnable=false\n", constantCube(0.5));
    EXPECT_TRUE(calibrationOn());
    EXPECT_EQ(calibrationWord(0), halfWord);
    EXPECT_EQ(calibrationWord(4912), halfWord);
}

TEST_F(CalibrationStartTest, UserFileWhenUserCalibrationIsOn)
{
    std::filesystem::create_directories(workFile("Lut/Calibrate"));
    writeText(workFile("Lut/Calibrate/mine.cube"), constantCube(1.0));
    start("colorLutCalibrateEnable=true\ncolorLutCalibrateFile=Lut/Calibrate/mine.cube\n", constantCube(0.5));
    EXPECT_TRUE(calibrationOn());
    EXPECT_EQ(calibrationWord(0), whiteWord);
}

TEST_F(CalibrationStartTest, MissingUserFileLoadsNothingEvenWithAFactoryCube)
{
    start("colorLutCalibrateEnable=true\ncolorLutCalibrateFile=Lut/Calibrate/gone.cube\n", constantCube(0.5));
    EXPECT_FALSE(calibrationOn());
    EXPECT_EQ(calibrationWord(0), 0u);
}

TEST_F(CalibrationStartTest, BrokenOrMissingFactoryCubeLeavesCalibrationOff)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    start("", "LUT_3D_SIZE 17\n0 0 0\n");
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(calibrationOn());
    EXPECT_EQ(calibrationWord(0), 0u);
}
