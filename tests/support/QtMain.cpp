#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Window tests drive real widgets; without a display they run on the offscreen platform.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
