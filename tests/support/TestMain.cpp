#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Qt wants a runtime folder of the user's own; every test process of this
// user shares one, so that none is left behind per process.
void ensureRuntimeDir()
{
    const char *current = std::getenv("XDG_RUNTIME_DIR");
    if (current != nullptr && *current != '\0')
        return;
    const std::string dir = "/tmp/fieldmon-tests-runtime-" + std::to_string(geteuid());
    ::mkdir(dir.c_str(), 0700);
    struct stat status {};
    if (::lstat(dir.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid()
        && (status.st_mode & 0777) == 0700)
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

} // namespace

// Test discovery runs the binaries at build time without the test environment:
// choose the headless platform here, before the application object exists.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ensureRuntimeDir();
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // The controllers' threads run until the process ends, as on the monitor:
    // end it without destroying the statics they still read.
    std::fflush(nullptr);
    _exit(result);
}
