#include "app/dialogs/ScaledForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace pv;

namespace {

// A window of the main window's design size with one control.
struct DesignedWindow {
    DesignedWindow() {
        window.resize(498, 247);
        edit = new QLineEdit(&window);
        edit->setGeometry(40, 55, 377, 50);
        scale = new TFormScale(&window);
    }
    QWidget window;
    QLineEdit* edit;
    TFormScale* scale;
};

TEST(FormScaleDialogTest, FirstShowingScalesWindowAndControlsOnce) {
    DesignedWindow w;
    int calls = 0;
    w.scale->screenMetrics = [&] {
        ++calls;
        return ScreenMetrics{800, 600, 120, {0, 570, 800, 600}};
    };
    const double pointSize = w.window.font().pointSizeF();
    w.window.show();
    EXPECT_EQ(w.window.size(), QSize(389, 193));
    EXPECT_EQ(w.edit->geometry(), QRect(31, 43, 294, 39));
    EXPECT_NEAR(w.window.font().pointSizeF(), pointSize * 389.0 / 498, 0.01);
    EXPECT_TRUE(w.scale->scaled());
    w.window.hide();
    w.window.show();
    EXPECT_EQ(calls, 1) << "scaled at the first showing only";
    EXPECT_EQ(w.window.size(), QSize(389, 193));
}

TEST(FormScaleDialogTest, DesignScreenChangesNothing) {
    DesignedWindow w;
    w.scale->screenMetrics = [] { return ScreenMetrics{1024, 768, 96, {0, 738, 1024, 768}}; };
    w.window.show();
    EXPECT_EQ(w.window.size(), QSize(498, 247));
    EXPECT_EQ(w.edit->geometry(), QRect(40, 55, 377, 50));
}

TEST(FormScaleDialogTest, FirstPaintMovesTheWindowOffABottomTaskbar) {
    DesignedWindow w;
    w.scale->screenMetrics = [] { return ScreenMetrics{800, 300, 96, {0, 270, 800, 300}}; };
    w.window.move(100, 150);
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    QTest::qWait(20);
    EXPECT_TRUE(w.scale->placed());
    EXPECT_EQ(w.window.frameGeometry().top(), 0);
}

} // namespace
