#include "BitWatch.h"
#include "BoardTest.h"
#include "CalibrateCtl.h"
#include "CubeFiles.h"
#include "Lut3D.h"
#include "LutConfig.h"
#include "LutCtl.h"
#include "LutImport.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

namespace fs = std::filesystem;

class LutCtlTest : public BoardTest
{
protected:
    std::vector<uint32_t> region(PLMemory::MemoryIndex index)
    {
        const auto *words = static_cast<const uint32_t *>(board().pl().memory(index));
        return std::vector<uint32_t>(words, words + Lut3D::lutWords);
    }

    void fillRegion(PLMemory::MemoryIndex index, uint32_t value)
    {
        auto *words = static_cast<uint32_t *>(board().pl().memory(index));
        std::fill(words, words + Lut3D::lutWords, value);
    }

    std::string readIndex() { return readText(workFile("Lut/LutFile.ini")); }
};

void white(double, double, double, double out[3])
{
    out[0] = out[1] = out[2] = 1.0;
}

} // namespace

TEST_F(LutCtlTest, DisplayLutRegisterFields)
{
    board().pl().set(VID_3DLUT_CTL, 0xFFFFFFFFu);
    LutCtl &lut = *LutCtl::getInstance();
    EXPECT_EQ(board().pl().get(VID_3DLUT_CTL), 0xFFFFFFFEu) << "off from construction";
    EXPECT_FALSE(lut.getLutEnable());

    board().pl().set(VID_3DLUT_CTL, 0);
    lut.lutPreviewEnable(true);
    EXPECT_EQ(board().pl().get(VID_3DLUT_CTL), 0u) << "compare view only with the LUT on";
    lut.lutEnable(true);
    EXPECT_TRUE(lut.getLutEnable());
    lut.lutPreviewEnable(true);
    EXPECT_EQ(board().pl().get(VID_3DLUT_CTL), 0x101u);
    lut.lutPreviewPosition(960);
    EXPECT_EQ(board().pl().field(VID_3DLUT_CTL, 23, 12), 960u);
    lut.lutPreviewPosition(0x1FFF);
    EXPECT_EQ(board().pl().get(VID_3DLUT_CTL), 0xFFF101u) << "the position stays in its field";
    lut.lutEnable(false);
    EXPECT_EQ(board().pl().get(VID_3DLUT_CTL), 0xFFF100u);
}

TEST_F(LutCtlTest, LoadingAFileFillsTheMemoryBeforeTheStrobe)
{
    LutCtl &lut = *LutCtl::getInstance();
    writeText(workFile("white.cube"), cubeText(17, white));
    uint32_t firstWordAtStrobe = 0;
    uint32_t lastWordAtStrobe = 0;
    auto capture = [&](uint32_t) {
        firstWordAtStrobe = region(PLMemory::LUT3D_MEMORY1)[0];
        lastWordAtStrobe = region(PLMemory::LUT3D_MEMORY1)[4912];
    };
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(watchEdge(
        board().pl(), VID_3DLUT_CTL, 4, true, [&] { fillRegion(PLMemory::LUT3D_MEMORY1, 0); },
        [&] { EXPECT_TRUE(lut.loadFile("white.cube")); }, capture));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::microseconds(5000));
    EXPECT_EQ(firstWordAtStrobe, whiteWord);
    EXPECT_EQ(lastWordAtStrobe, whiteWord);
    EXPECT_EQ(board().pl().get(VID_3DLUT_CTL), 0u) << "strobe low again; loading does not enable";
}

TEST_F(LutCtlTest, AFileThatDoesNotLoadChangesNeitherMemoryNorRegister)
{
    LutCtl &lut = *LutCtl::getInstance();
    writeText(workFile("white.cube"), cubeText(17, white));
    ASSERT_TRUE(lut.loadFile("white.cube"));
    lut.lutEnable(true);
    const std::string cut = cubeText(17, positionColour);
    writeText(workFile("cut.cube"), cut.substr(0, cut.size() / 2));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        BitWatch strobe(board().pl(), VID_3DLUT_CTL, 4, true);
        EXPECT_FALSE(lut.loadFile("cut.cube"));
        EXPECT_FALSE(lut.loadFile("missing.cube"));
        EXPECT_FALSE(strobe.finish()) << "no strobe";
    }
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(region(PLMemory::LUT3D_MEMORY1), std::vector<uint32_t>(Lut3D::lutWords, whiteWord));
    EXPECT_EQ(board().pl().get(VID_3DLUT_CTL), 1u);
}

TEST_F(LutCtlTest, CalibrationLoadsLatchesThenEnables)
{
    board().pl().set(CALI_3DLUT_CTL, 0xF1u);
    CalibrateCtl &calibrate = *CalibrateCtl::getInstance();
    EXPECT_EQ(board().pl().get(CALI_3DLUT_CTL), 0xF0u) << "off from construction";
    EXPECT_EQ(calibrate.getAddr(CalibrateCtl::CalibrateLut), PLControl::getInstance()->getMemAddr(PLMemory::LUT3D_MEMORY0));
    EXPECT_EQ(calibrate.getAddr(CalibrateCtl::CalibrateGamma), nullptr);

    writeText(workFile("calibrate.cube"), cubeText(17, white));
    uint32_t controlAtStrobe = 0;
    uint32_t memoryAtStrobe = 0;
    ASSERT_TRUE(watchEdge(
        board().pl(), CALI_3DLUT_CTL, 4, true,
        [&] {
            board().pl().set(CALI_3DLUT_CTL, 0);
            fillRegion(PLMemory::LUT3D_MEMORY0, 0);
        },
        [&] { EXPECT_TRUE(calibrate.loadFile("calibrate.cube")); },
        [&](uint32_t word) {
            controlAtStrobe = word;
            memoryAtStrobe = region(PLMemory::LUT3D_MEMORY0)[100];
        }));
    EXPECT_EQ(memoryAtStrobe, whiteWord);
    EXPECT_EQ(controlAtStrobe & 1u, 0u) << "enabled only after the strobe";
    EXPECT_EQ(board().pl().get(CALI_3DLUT_CTL), 1u);
    EXPECT_EQ(region(PLMemory::LUT3D_MEMORY1), std::vector<uint32_t>(Lut3D::lutWords, 0u)) << "display LUT untouched";

    // A missing or broken file leaves calibration as it was.
    writeText(workFile("broken.cube"), "LUT_3D_SIZE 17\n0 0 0\n");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(calibrate.loadFile("broken.cube"));
    EXPECT_FALSE(calibrate.loadFile("missing.cube"));
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(region(PLMemory::LUT3D_MEMORY0)[0], whiteWord);
}

TEST_F(LutCtlTest, GammaBlockStrobeAndEnable)
{
    CalibrateCtl &calibrate = *CalibrateCtl::getInstance();
    board().pl().set(CALI_GAMMA_CTL, 0x100u);
    ASSERT_TRUE(watchEdge(
        board().pl(), CALI_GAMMA_CTL, 4, true, [] {}, [&] { calibrate.load(CalibrateCtl::CalibrateGamma); },
        [](uint32_t) {}));
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 0x100u);
    calibrate.enable(CalibrateCtl::CalibrateGamma, true);
    EXPECT_EQ(board().pl().get(CALI_GAMMA_CTL), 0x101u);
    EXPECT_EQ(board().pl().get(CALI_3DLUT_CTL), 0u);
}

TEST_F(LutCtlTest, IndexFileIsCreatedEditedSavedAndReset)
{
    LutConfig &config = *LutConfig::getInstance();
    EXPECT_EQ(readIndex(), "0  invalid\n1  invalid\n");
    EXPECT_EQ(config.getLutFile(0), "invalid");

    EXPECT_TRUE(config.modify(0, "Lut/Pre/Identity.cube"));
    EXPECT_TRUE(config.modify(1, "Lut/User/my grade.cube"));
    EXPECT_FALSE(config.modify(2, "Lut/User/x.cube"));
    EXPECT_EQ(readIndex(), "0  invalid\n1  invalid\n") << "modify works in memory only";
    EXPECT_TRUE(config.save());
    EXPECT_EQ(readIndex(), "0  Lut/Pre/Identity.cube\n1  Lut/User/my grade.cube\n");

    // Read back: the slot numbers on the lines are not used, their order is.
    writeText(workFile("Lut/LutFile.ini"), "7  Lut/Pre/b.cube\n3   Lut/User/a b.cube\n");
    config.init();
    EXPECT_EQ(config.getLutFile(0), "Lut/Pre/b.cube");
    EXPECT_EQ(config.getLutFile(1), "Lut/User/a b.cube");
    EXPECT_EQ(config.getLutFile(5), "invalid");

    // A damaged index still offers both slots.
    writeText(workFile("Lut/LutFile.ini"), "0  Lut/Pre/b.cube\ngarbage\n1  Lut/User/c.cube\n");
    config.init();
    EXPECT_EQ(config.getLutFile(0), "Lut/Pre/b.cube");
    EXPECT_EQ(config.getLutFile(1), "invalid");

    fs::create_directories(workFile("Lut/User"));
    writeText(workFile("Lut/User/a.cube"), "x");
    writeText(workFile("Lut/User/b.cube"), "x");
    config.reset();
    EXPECT_EQ(readIndex(), "0  invalid\n1  invalid\n");
    EXPECT_TRUE(fs::is_empty(workFile("Lut/User")));
    EXPECT_EQ(config.getLutFile(0), "invalid");
}

TEST_F(LutCtlTest, ImportStopsAtFiftyFiles)
{
    const std::string stick = workFile("stick");
    const std::string user = workFile("Lut/User");
    fs::create_directories(stick);
    fs::create_directories(user);
    for (int i = 0; i < 48; ++i)
        writeText(user + "/stored" + std::to_string(i) + ".cube", "stored");
    writeText(user + "/notes.txt", "not a cube");
    for (const char *name : {"a.cube", "b.cube", "c.cube"})
        writeText(stick + "/" + name, std::string("new ") + name);

    EXPECT_FALSE(LutImport::importFiles(stick, {"a.cube", "b.cube", "c.cube"}, user));
    EXPECT_FALSE(fs::exists(user + "/a.cube")) << "nothing copied when refused";

    EXPECT_TRUE(LutImport::importFiles(stick, {"a.cube", "b.cube"}, user));
    EXPECT_EQ(readText(user + "/b.cube"), "new b.cube");

    // Fifty stored: replacing one by name is still one file too many.
    EXPECT_FALSE(LutImport::importFiles(stick, {"a.cube"}, user));
}

TEST_F(LutCtlTest, ImportTakesBareFileNamesReplacesByNameAndAFailedCopyKeepsTheOldFile)
{
    const std::string stick = workFile("stick");
    const std::string user = workFile("Lut/User");
    fs::create_directories(stick + "/sub");
    fs::create_directories(user);
    writeText(workFile("outside.cube"), "outside");
    writeText(stick + "/sub/inner.cube", "inner");
    writeText(stick + "/grade.cube", "grade");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LutImport::importFiles(stick, {"../outside.cube", "sub/inner.cube", "grade.cube"}, user));
    EXPECT_PRED2(contains, testing::internal::GetCapturedStderr(), "import ../outside.cube failed");
    EXPECT_FALSE(fs::exists(workFile("Lut/outside.cube")));
    EXPECT_FALSE(fs::exists(user + "/sub"));
    EXPECT_EQ(readText(user + "/grade.cube"), "grade");

    // A stored file is replaced by name.
    writeText(stick + "/grade.cube", "new");
    EXPECT_TRUE(LutImport::importFiles(stick, {"grade.cube"}, user));
    EXPECT_EQ(readText(user + "/grade.cube"), "new");

    fs::remove(stick + "/grade.cube");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LutImport::importFiles(stick, {"grade.cube"}, user));
    EXPECT_PRED2(contains, testing::internal::GetCapturedStderr(), "import grade.cube failed");
    EXPECT_EQ(readText(user + "/grade.cube"), "new");
    std::vector<std::string> left;
    for (const auto &entry : fs::directory_iterator(user))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"grade.cube"}) << "no partial file left behind";
}
