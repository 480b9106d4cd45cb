#include "PlatformTest.h"
#include "UpgradePackage.h"

#include <cctype>
#include <filesystem>
#include <functional>
#include <linux/capability.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
using States = std::vector<int>;

std::mutex statesMutex;
States states;

void recordState(Upgrade::UpgradeState state)
{
    std::lock_guard<std::mutex> lock(statesMutex);
    states.push_back(state);
}

States recordedStates()
{
    std::lock_guard<std::mutex> lock(statesMutex);
    return states;
}

bool ended()
{
    const States seen = recordedStates();
    return !seen.empty()
        && (seen.back() == Upgrade::UNPACK_FAILED || seen.back() == Upgrade::READ_XML_FAILED
            || seen.back() == Upgrade::CHECK_FILE_FAILED || seen.back() == Upgrade::COPY_FILE_FAILED
            || seen.back() == Upgrade::COMPLETE);
}

size_t entries(const std::string &folder)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Root is held to the permission bits like anyone else once the override is
// gone: for this thread and the threads it starts.
bool dropFileOverride()
{
    if (geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2];
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    return syscall(SYS_capset, &header, data) == 0;
}

class UpgradeTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        source.emplace(workFile("source"));
        ASSERT_TRUE(board().tree().insertUsb('a'));
    }

    std::string onBoard(const std::string &absolutePath) { return board().tree().path(absolutePath); }
    std::string archive() { return onBoard("/run/media/sda1/PAVORX.tar.gz"); }

    void pack(const std::vector<Upgrade::package> &files, const std::string &options = "", const std::string &more = "")
    {
        ASSERT_TRUE(source->describe(files));
        ASSERT_TRUE(source->pack(archive(), options, more));
    }

    // Runs one upgrade to its end; the states it reported.
    States upgrade()
    {
        {
            std::lock_guard<std::mutex> lock(statesMutex);
            states.clear();
        }
        Upgrade::getInstance()->start(recordState);
        EXPECT_TRUE(waitUntil(ended)) << "the upgrade did not end";
        // The thread lets go of the upgrade right after its last report.
        settle(std::chrono::milliseconds(50));
        return recordedStates();
    }

    std::optional<UpgradePackage> source;
    const States complete{0, 2, 4, 9, 11};
    const States corrupt{0, 2, 4, 5};
};

// A link inside the package is followed: its target is installed.
TEST_F(UpgradeTest, GoodPackageReplacesAndAddsFilesFollowingItsLinks)
{
    writeBytes(onBoard("/home/root/app/fieldmon"), "old build");
    const std::string build(300000, 'b');
    const Upgrade::package application = source->install("fieldmon", build, "/home/root/app/fieldmon");
    ASSERT_EQ(chmod((source->dir() + "/fieldmon").c_str(), 0755), 0);
    const std::string digest = source->addFile("a.bin", "alpha");
    fs::create_symlink("a.bin", source->dir() + "/current.bin");
    pack({application, source->install("lut/warm.cube", "LUT_3D_SIZE 17\n", "/home/root/app/warm.cube"),
          {digest, "current.bin", "/home/root/app/a.bin"}});
    EXPECT_EQ(upgrade(), complete);
    EXPECT_EQ(fileBytes(onBoard("/home/root/app/fieldmon")), build);
    EXPECT_TRUE((fs::status(onBoard("/home/root/app/fieldmon")).permissions() & fs::perms::owner_exec)
                != fs::perms::none);
    EXPECT_EQ(fileBytes(onBoard("/home/root/app/warm.cube")), "LUT_3D_SIZE 17\n");
    EXPECT_EQ(fileBytes(onBoard("/home/root/app/a.bin")), "alpha");
    EXPECT_FALSE(fs::is_symlink(onBoard("/home/root/app/a.bin")));
    EXPECT_EQ(entries(onBoard("/home/root/app")), 3u) << "no copy left behind";
}

TEST_F(UpgradeTest, DescriptionIsReadInAnyOrderAndWrittenInOne)
{
    const std::string digest = source->addFile("a.bin", "alpha");
    writeBytes(source->dir() + "/Upgrade.xml",
               "<?xml version=\"1.0\"?>\n<Upgrade><Note>x</Note><File><DestFile>/home/root/app/a.bin</DestFile>"
               "<Size>5</Size><FileName>a.bin</FileName><Md5>" + digest + "</Md5></File></Upgrade>\n");
    ASSERT_TRUE(source->pack(archive()));
    EXPECT_EQ(upgrade(), complete);
    EXPECT_EQ(fileBytes(onBoard("/home/root/app/a.bin")), "alpha");

    ASSERT_TRUE(Upgrade::writeXml(workFile("out.xml"), {{digest, "RX.bin", "/home/root/app/RX.bin"}}));
    EXPECT_EQ(fileBytes(workFile("out.xml")), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Upgrade>\n    <File>\n"
                                              "        <Md5>" + digest + "</Md5>\n"
                                              "        <FileName>RX.bin</FileName>\n"
                                              "        <DestFile>/home/root/app/RX.bin</DestFile>\n"
                                              "    </File>\n</Upgrade>\n");
}

TEST_F(UpgradeTest, DigestMismatchesCopyNothing)
{
    writeBytes(onBoard("/home/root/app/a.bin"), "old a");
    const Upgrade::package good = source->install("a.bin", "alpha", "/home/root/app/a.bin");
    Upgrade::package upper = source->install("b.bin", "beta", "/home/root/app/b.bin");
    for (char &c : upper.Md5)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    pack({good, upper});
    CaptureStderr();
    EXPECT_EQ(upgrade(), corrupt);
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: b.bin is corruption\n\033[0m");

    // A file changed after its digest was taken.
    const Upgrade::package changed = source->install("b.bin", "beta", "/home/root/app/b.bin");
    writeBytes(source->dir() + "/b.bin", "betA");
    pack({good, changed});
    EXPECT_EQ(upgrade(), corrupt);
    EXPECT_EQ(fileBytes(onBoard("/home/root/app/a.bin")), "old a");
    EXPECT_FALSE(fs::exists(onBoard("/home/root/app/b.bin")));
}

TEST_F(UpgradeTest, ReadOnlyDestinationKeepsTheOldFile)
{
    const std::string folder = onBoard("/home/root/app/locked");
    fs::create_directories(folder);
    writeBytes(folder + "/a.bin", "old a");
    pack({source->install("b.bin", "beta", "/home/root/app/b.bin"),
          source->install("a.bin", "alpha", "/home/root/app/locked/a.bin")});
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    ASSERT_TRUE(dropFileOverride());
    CaptureStderr();
    const States seen = upgrade();
    const std::string errors = GetCapturedStderr();
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    EXPECT_EQ(seen, (States{0, 2, 4, 9, 10}));
    EXPECT_EQ(errors, "\033[1;31m[ ERROR ]: *******Upgrade file " + onBoard("/tmp/PAVORX/a.bin") + " to " + folder +
                          "/a.bin failed******\n\033[0m");
    EXPECT_EQ(fileBytes(folder + "/a.bin"), "old a");
    EXPECT_EQ(entries(folder), 1u) << "no copy left behind";
    EXPECT_EQ(fileBytes(onBoard("/home/root/app/b.bin")), "beta") << "what was copied stays";
}

TEST_F(UpgradeTest, FirmwareCountsOnlyWhenTheDescriptionInstallsIt)
{
    source->addFile("RX.bin", "stray firmware");
    pack({source->install("fieldmon", "app", "/home/root/app/fieldmon")});
    EXPECT_EQ(upgrade(), complete);
    pack({source->install("RX.bin", "firmware", "/home/root/app/RX.bin")});
    EXPECT_EQ(upgrade(), (States{0, 2, 4, 6, 9, 11}));
}

TEST_F(UpgradeTest, BadDescriptionsFailBeforeAnythingIsCopied)
{
    const std::string digest = source->addFile("a.bin", "alpha");
    const std::string file = "<Md5>" + digest + "</Md5><FileName>a.bin</FileName>";
    const std::string destination = "<DestFile>/home/root/app/a.bin</DestFile>";
    const std::string descriptions[] = {
        "<Upgrade><File>" + file + destination + "</File>",
        "<Upgrade><File>" + file + destination + "</Upgrade>",
        "<Update><File>" + file + destination + "</File></Update>",
        "<Upgrade><File>" + file + "</File></Upgrade>",
        "<Upgrade><File>" + file + "<DestFile>home/root/app/a.bin</DestFile></File></Upgrade>",
        "<Upgrade><File>" + file + "<DestFile>/home/root/../../../a.bin</DestFile></File></Upgrade>",
        "<Upgrade><File>" + file + "<DestFile>/home/root/app/</DestFile></File></Upgrade>",
        "<Upgrade><File><Md5>" + digest + "</Md5><FileName>../source/PAVORX/a.bin</FileName>" + destination +
            "</File></Upgrade>",
        "<Upgrade><File>" + file + "<DestFile><b>/x</b></DestFile></File></Upgrade>",
        "",
    };
    for (const std::string &description : descriptions) {
        writeBytes(source->dir() + "/Upgrade.xml", description);
        ASSERT_TRUE(source->pack(archive()));
        CaptureStderr();
        EXPECT_EQ(upgrade(), (States{0, 2, 3})) << description;
        const std::string errors = GetCapturedStderr();
        EXPECT_NE(errors.find("[ ERROR ]: " + onBoard("/tmp/PAVORX/Upgrade.xml") + ": "), std::string::npos) << errors;
        EXPECT_FALSE(fs::exists(onBoard("/home/root/app/a.bin"))) << description;
    }
    fs::remove(source->dir() + "/Upgrade.xml");
    ASSERT_TRUE(source->pack(archive()));
    CaptureStderr();
    EXPECT_EQ(upgrade(), (States{0, 2, 3}));
    EXPECT_NE(GetCapturedStderr().find("Upgrade.xml: cannot be opened"), std::string::npos);
}

// Each package tries to put something outside the unpack folder, or cannot
// be read: it is refused before anything is installed, and nothing of it is
// left anywhere.
TEST_F(UpgradeTest, EscapingAndBrokenPackagesAreRefused)
{
    const std::string outside = workFile("outside");
    fs::create_directories(outside);
    const Upgrade::package file = source->install("a.bin", "alpha", "/home/root/app/a.bin");
    const std::string second = workFile("second");
    fs::create_directories(second + "/PAVORX/link");
    writeBytes(second + "/PAVORX/link/evil", "x");
    source->addFile("big.bin", std::string(200000, 'q'));

    const struct {
        const char *what;
        std::function<void()> make;
        std::string error;
    } cases[] = {
        {"../", [&] { pack({file}, "--transform 's,^PAVORX/big,PAVORX/../../../../../outside/big,'"); },
         "upgrade package member PAVORX/../../../../../outside/big.bin lies outside the PAVORX folder"},
        {"absolute", [&] { pack({file}, "-P --transform 's,^PAVORX/big," + outside + "/big,'"); },
         "upgrade package member " + outside + "/big.bin lies outside the PAVORX folder"},
        {"beside", [&] { pack({file}, "--transform 's,^PAVORX/big,other/big,'"); },
         "upgrade package member other/big.bin lies outside the PAVORX folder"},
        {"link out",
         [&] {
             fs::create_symlink(outside, source->dir() + "/link");
             pack({file});
         },
         "upgrade package member " + onBoard("/tmp/.PAVORX-")},
        {"through a link", [&] { pack({file}, "", "-C '" + second + "' PAVORX/link/evil"); },
         "upgrade package member PAVORX/link/evil lies below the non-folder PAVORX/link"},
        {"truncated",
         [&] {
             fs::remove(source->dir() + "/link");
             pack({file});
             fs::resize_file(archive(), fs::file_size(archive()) / 2);
         },
         "cannot read the upgrade package " + archive()},
    };
    for (const auto &c : cases) {
        c.make();
        CaptureStderr();
        EXPECT_EQ(upgrade(), (States{0, 1})) << c.what;
        const std::string errors = GetCapturedStderr();
        EXPECT_NE(errors.find("[ ERROR ]: " + c.error), std::string::npos) << c.what << ": " << errors;
        EXPECT_TRUE(fs::is_empty(outside)) << c.what;
        EXPECT_FALSE(fs::exists(onBoard("/home/root/app/a.bin"))) << c.what;
        EXPECT_EQ(entries(onBoard("/tmp")), 0u) << c.what;
    }
}

// The package is looked for on the stick that is in now.
TEST_F(UpgradeTest, PackageOnTheStickIsFoundAndPullingItBeforeUnpackingFails)
{
    EXPECT_FALSE(Upgrade::isExistUpgradePackage());
    pack({});
    EXPECT_TRUE(Upgrade::isExistUpgradePackage());
    Upgrade::getInstance()->start(recordState);
    ASSERT_TRUE(board().tree().removeUsb());
    CaptureStderr();
    ASSERT_TRUE(waitUntil(ended));
    EXPECT_EQ(recordedStates(), (States{0, 1}));
    EXPECT_EQ(GetCapturedStderr(), "\033[1;31m[ ERROR ]: no upgrade package PAVORX.tar.gz on a USB stick\n\033[0m");
    ASSERT_TRUE(board().tree().insertUsb('c'));
    EXPECT_FALSE(Upgrade::isExistUpgradePackage());
}

TEST_F(UpgradeTest, OneUpgradeAtATimeThenRestart)
{
    pack({});
    testing::internal::CaptureStdout();
    Upgrade::getInstance()->start(recordState);
    Upgrade::getInstance()->start(recordState);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("[ WARNING ]: an upgrade is running already\n"),
              std::string::npos);
    ASSERT_TRUE(waitUntil(ended));
    EXPECT_EQ(recordedStates(), complete);

    EXPECT_EQ(board().system().restartCount(), 0);
    Upgrade::getInstance()->restart();
    EXPECT_EQ(recordedStates().back(), Upgrade::RESTART);
    EXPECT_EQ(board().system().restartCount(), 1);
}

} // namespace
