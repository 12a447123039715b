// Test main for widget tests: a QApplication on the offscreen platform, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "engine/money.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    velmora::SetArithmeticContext();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
