// The main window on a simulated screen whose density the toolkit would scale
// for itself: ctest runs this once per screen, given as
//   app_toolkit_scaling_tests WIDTH HEIGHT DPI EXPECTED_WIDTH EXPECTED_HEIGHT
#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "app/dialogs/ScaledForm.h"
#include "platform/ScriptedUi.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Screen {
    int width = 800, height = 600, dpi = 96;
    QSize expected{498, 247};
};
Screen screen;

TEST(ToolkitScaling, TheFormScalerAloneFitsTheMainWindow) {
    QScreen* s = QGuiApplication::primaryScreen();
    ASSERT_TRUE(s);
    // The toolkit shows the screen as it is: no density factor of its own.
    EXPECT_EQ(s->devicePixelRatio(), 1.0);
    EXPECT_EQ(s->geometry().size(), QSize(screen.width, screen.height));
    EXPECT_EQ(qRound(s->logicalDotsPerInch()), screen.dpi);

    pv::ScriptedUi ui;
    pv::test::RecordingReports reports;
    pv::Tfm_main w(ui, reports, "");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(w.formScale()->scaled());
    EXPECT_EQ(w.frameGeometry().size(), screen.expected);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc == 6) {
        screen = {std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]),
                  QSize(std::atoi(argv[4]), std::atoi(argv[5]))};
    }
    // An offscreen screen of that size and density, described to the platform plugin.
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(QStringLiteral(R"({"windowFrameMargins": false, "screens": [{"name": "S",
        "x": 0, "y": 0, "width": %1, "height": %2, "logicalDpi": %3, "logicalBaseDpi": 96}]})")
                   .arg(screen.width)
                   .arg(screen.height)
                   .arg(screen.dpi)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    pv::switchOffToolkitScaling();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
