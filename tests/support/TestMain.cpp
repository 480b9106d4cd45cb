#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

// Test discovery runs the binaries at build time without the test environment:
// choose the headless platform here, before the application object exists.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // The controllers' threads run until the process ends, as on the monitor:
    // end it without destroying the statics they still read.
    std::fflush(nullptr);
    _exit(result);
}
