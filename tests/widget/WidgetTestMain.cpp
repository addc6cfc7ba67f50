#include <gtest/gtest.h>
#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    // The windows are tested without a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_XCB_GL_INTEGRATION", "none", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
