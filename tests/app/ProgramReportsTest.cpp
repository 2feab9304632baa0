// What the program shows when a report prepares no pages.
#include "app/ProgramReports.h"

#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/data/DataSourceRegistry.h"
#include "report/model/MemoView.h"
#include "report/template/Report.h"
#include "tests/support/PreparedPagesSupport.h"
#include "tests/support/TemplateBuilding.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace pv {
namespace {

// Closes and counts every modal window that opens while it lives.
class ModalWindowWatch {
public:
    ModalWindowWatch() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ++shown;
                w->close();
            }
        });
        timer_.start();
    }
    int shown = 0;

private:
    QTimer timer_;
};

class ProgramReportsTest : public ::testing::Test {
protected:
    DataSourceRegistry sources_;
    ScriptedUi ui_;
    ProgramReports reports_{sources_, ui_};
    test::ScratchDir dir_;
};

TEST_F(ProgramReportsTest, AMissingTemplateIsNamedAndNothingIsShown) {
    const std::string path = dir_.file("SZV_4_1.frf");
    ModalWindowWatch windows;
    reports_.LoadFromFile(ReportId::frReport1, path);
    reports_.PrepareAndPreview(ReportId::frReport1);
    EXPECT_EQ(windows.shown, 0);
    ASSERT_EQ(ui_.messages().size(), 1u);
    EXPECT_NE(ui_.messages()[0].text.find(utf8ToCp1251(path)), std::string::npos);
    EXPECT_EQ(ui_.messages()[0].icon, MsgIcon::Error);
}

TEST_F(ProgramReportsTest, AfterTheEnginesErrorNothingIsShown) {
    TfrReport failing;
    testing_support::addMemoView(failing.AddPage(), "Bad", 10, "[1 +]");
    const std::string path = dir_.file("bad.frf");
    ASSERT_TRUE(failing.SaveToFile(path));
    ModalWindowWatch windows;
    reports_.LoadFromFile(ReportId::frReport1, path);
    reports_.PrepareAndPreview(ReportId::frReport1);
    EXPECT_EQ(windows.shown, 0);
    // The expression error, as the engine shows it, and nothing else.
    EXPECT_EQ(ui_.messages().size(), 1u);
}

} // namespace
} // namespace pv
