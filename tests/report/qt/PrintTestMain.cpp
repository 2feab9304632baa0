#include <QApplication>
#include <gtest/gtest.h>

// The dialogs and printers need an application object that outlives every
// test and goes before Qt's own statics; the tests run offscreen.
int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
