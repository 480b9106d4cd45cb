#include "BoardTest.h"
#include "DeviceUSB.h"
#include "HardwarePath.h"

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

void touch(const std::string &path)
{
    std::ofstream(path) << "x";
}

bool isDirectory(const std::string &path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

class DeviceUSBTest : public BoardTest
{
protected:
    std::string mountDir(char letter) { return board().tree().path(std::string("/run/media/sd") + letter + "1/"); }
};

TEST_F(DeviceUSBTest, FindsTheFirstDriveWithBothMountDirectoryAndNode)
{
    EXPECT_FALSE(DeviceUSB::isActive());
    EXPECT_EQ(DeviceUSB::getUSBdir(), "");

    // sda1: a stale mount point without its node; sdc1: a node without a mount point.
    ASSERT_EQ(mkdir(board().tree().path("/run/media/sda1").c_str(), 0755), 0);
    ASSERT_TRUE(board().tree().writeFile("/dev/sdc1", ""));
    EXPECT_FALSE(DeviceUSB::isActive());
    EXPECT_EQ(DeviceUSB::getUSBdir(), "");

    ASSERT_TRUE(board().tree().insertUsb('d'));
    ASSERT_EQ(mkdir(board().tree().path("/run/media/sdc1").c_str(), 0755), 0);
    EXPECT_TRUE(DeviceUSB::isActive());
    EXPECT_EQ(DeviceUSB::getUSBdir(), mountDir('c'));
}

TEST_F(DeviceUSBTest, LastDriveCountsAndPulledStickKeepsTheLastDirectory)
{
    ASSERT_TRUE(board().tree().insertUsb('j'));
    EXPECT_TRUE(DeviceUSB::isActive());
    EXPECT_EQ(DeviceUSB::getUSBdir(), mountDir('j'));
    EXPECT_EQ(DeviceUSB::getUSBdir(), hw::path("/run/media/sdj1/"));

    ASSERT_TRUE(board().tree().removeUsb());
    EXPECT_FALSE(DeviceUSB::isActive());
    EXPECT_EQ(DeviceUSB::getUSBdir(), mountDir('j'));

    // Past the tenth drive nothing is looked at.
    ASSERT_EQ(mkdir(board().tree().path("/run/media/sdk1").c_str(), 0755), 0);
    ASSERT_TRUE(board().tree().writeFile("/dev/sdk1", ""));
    EXPECT_FALSE(DeviceUSB::isActive());
}

TEST_F(DeviceUSBTest, StickFoldersNeedAStickAndAreCreated)
{
    std::string dir = "untouched";
    EXPECT_FALSE(DeviceUSB::getFrameSaveDir(dir));
    EXPECT_FALSE(DeviceUSB::getUSBLutDir(dir));
    EXPECT_FALSE(DeviceUSB::getUSBCalibrateDir(dir));
    EXPECT_EQ(dir, "untouched");

    ASSERT_TRUE(board().tree().insertUsb('b'));
    const std::string root = mountDir('b');

    ASSERT_TRUE(DeviceUSB::getFrameSaveDir(dir));
    EXPECT_EQ(dir, root + "Image/");
    EXPECT_TRUE(isDirectory(dir));

    ASSERT_TRUE(DeviceUSB::getUSBCalibrateDir(dir));
    EXPECT_EQ(dir, root + "/Lut/Calibrate/");
    EXPECT_TRUE(isDirectory(root + "Lut/Calibrate"));

    ASSERT_TRUE(DeviceUSB::getUSBLutDir(dir));
    EXPECT_EQ(dir, root + "Lut/");

    struct stat status;
    ASSERT_EQ(stat((root + "Image").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);

    // An existing folder and its files are left as they are.
    touch(root + "Image/kept.png");
    ASSERT_TRUE(DeviceUSB::getFrameSaveDir(dir));
    EXPECT_EQ(access((root + "Image/kept.png").c_str(), F_OK), 0);
}

TEST_F(DeviceUSBTest, LocalFoldersAreRelativeAndCreatedWithTheirParents)
{
    std::string dir;
    ASSERT_TRUE(DeviceUSB::getLocalLutDir(dir));
    EXPECT_EQ(dir, "Lut/User/");
    EXPECT_TRUE(isDirectory(workFile("Lut/User")));

    ASSERT_TRUE(DeviceUSB::getPreLutDir(dir));
    EXPECT_EQ(dir, "Lut/Pre/");
    EXPECT_TRUE(isDirectory(workFile("Lut/Pre")));

    ASSERT_TRUE(DeviceUSB::getLocalCalibrateDir(dir));
    EXPECT_EQ(dir, "Lut/Calibrate/");
    EXPECT_TRUE(isDirectory(workFile("Lut/Calibrate")));

    struct stat status;
    ASSERT_EQ(stat(workFile("Lut/User").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(DeviceUSBTest, ListingMatchesTheExactSuffixAndSortsByteWise)
{
    ASSERT_EQ(mkdir(workFile("luts").c_str(), 0755), 0);
    for (const char *name : {"a.cube", "b.CUBE", "B.cube", "_z.cube", "cube", ".cube", "c.cube.bak", "x.cub"})
        touch(workFile("luts/") + name);
    ASSERT_EQ(mkdir(workFile("luts/folder.cube").c_str(), 0755), 0);
    ASSERT_EQ(symlink("a.cube", workFile("luts/link.cube").c_str()), 0);

    std::vector<std::string> names = {"stale"};
    CaptureStdout();
    CaptureStderr();
    ASSERT_TRUE(DeviceUSB::getDirectoryFile(workFile("luts"), ".cube", names));
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(names, (std::vector<std::string>{".cube", "B.cube", "_z.cube", "a.cube"}));

    ASSERT_TRUE(DeviceUSB::getDirectoryFile(workFile("luts"), "", names));
    EXPECT_EQ(names.size(), 8u);

    ASSERT_TRUE(DeviceUSB::getDirectoryFile(workFile("luts"), ".png", names));
    EXPECT_TRUE(names.empty());
}

TEST_F(DeviceUSBTest, ListingFailuresLeaveTheNamesAndSaySo)
{
    std::vector<std::string> names = {"kept"};
    const std::string missing = workFile("missing");
    CaptureStdout();
    EXPECT_FALSE(DeviceUSB::getDirectoryFile(missing, ".cube", names));
    EXPECT_EQ(GetCapturedStdout(), "\033[1;34m[ WARNING ]: " + missing + " is not exist\n\033[0m");

    const std::string notADirectory = workFile("plain.cube");
    touch(notADirectory);
    CaptureStderr();
    EXPECT_FALSE(DeviceUSB::getDirectoryFile(notADirectory, ".cube", names));
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: open " + notADirectory + " failed\n\033[0m");

    EXPECT_EQ(names, std::vector<std::string>{"kept"});
}

TEST_F(DeviceUSBTest, RemoveFile)
{
    const std::string file = workFile("old.cube");
    touch(file);

    CaptureStdout();
    CaptureStderr();
    EXPECT_TRUE(DeviceUSB::removeFile(file));
    EXPECT_NE(access(file.c_str(), F_OK), 0);
    EXPECT_FALSE(DeviceUSB::removeFile(file));
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "");

    // A folder with files in it cannot be removed.
    const std::string busy = workFile("busy");
    ASSERT_EQ(mkdir(busy.c_str(), 0755), 0);
    touch(busy + "/inside");
    CaptureStdout();
    EXPECT_FALSE(DeviceUSB::removeFile(busy));
    EXPECT_EQ(GetCapturedStdout(), "\033[1;34m[ WARNING ]: remove " + busy + " failed\n\033[0m");
    EXPECT_TRUE(isDirectory(busy));
}

} // namespace
