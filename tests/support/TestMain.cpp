#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

// Test discovery runs the binaries at build time without the test environment:
// choose the headless platform here, before the application object exists.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
