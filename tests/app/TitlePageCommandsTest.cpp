#include "AppTestSupport.h"

#include "app/MainWindow.h"
#include "app/TitlePageCommands.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"

#include <QAction>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

using namespace pv;
using pv::test::batchFromFixture;
using pv::test::RecordingReports;

namespace {

std::string text(const TfrVariables& vars, const char* name) {
    const Variant v = vars.Value(name);
    return v.isText() ? cp1251ToUtf8(v.text()) : "(not text)";
}

// The main window as the program builds it, with the title commands and a
// designer that only records where it was opened.
class TitlePageCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        installTitlePageCommands(window, reports,
                                 [this](const std::string& path, const std::string& savePath) {
                                     designerOpened.emplace_back(path, savePath);
                                 });
        window.FormActivate();
    }
    void menu(const char* name) {
        auto* action = window.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr);
        action->trigger();
    }
    std::string titlePath() const { return window.ProgramDir() + "TempPlay/Titl.frf"; }

    QTemporaryDir dir;
    ScriptedUi ui;
    RecordingReports reports;
    Tfm_main window{ui, reports};
    std::vector<std::pair<std::string, std::string>> designerOpened;
};

TEST_F(TitlePageCommandsTest, RightAfterStartTheTitlePageHasEmptyValues) {
    // The program runs from its build folder, whose TempPlay holds the title template.
    ASSERT_TRUE(std::filesystem::exists(titlePath())) << titlePath();
    menu("N5");
    ASSERT_EQ(reports.shown, std::vector<ReportId>{ReportId::frReport1});
    ASSERT_FALSE(reports.loads.empty());
    EXPECT_EQ(reports.loads.back(), std::make_pair(ReportId::frReport1, titlePath()));
    for (const char* name : {"reg_nom", "inn", "kpp", "nazvan", "nom_pach"})
        EXPECT_EQ(text(reports.variablesAtShow, name), "") << name;
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(TitlePageCommandsTest, AfterABatchTheTitlePageShowsItsHeader) {
    ui.queueFile(batchFromFixture(dir, "in41.utf8"));
    window.BitBtn13Click();
    ASSERT_EQ(reports.shown.size(), 1u);
    const TfrVariables batch = reports.variablesAtShow;
    ASSERT_FALSE(text(batch, "reg_nom").empty());

    menu("N5");
    ASSERT_EQ(reports.shown.size(), 2u);
    for (const char* name : {"reg_nom", "inn", "kpp", "nazvan", "nom_pach"})
        EXPECT_EQ(text(reports.variablesAtShow, name), text(batch, name)) << name;
    // Nothing else of the batch is published for the title page.
    EXPECT_FALSE(reports.variablesAtShow.Contains("kolvo"));
    EXPECT_EQ(frVariables().Count(), 0);
}

TEST_F(TitlePageCommandsTest, AnsweringNoToTheWarningChangesNothing) {
    ui.queueAnswer(MsgResult::No);
    menu("N4");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].caption), "Внимание !");
    EXPECT_TRUE(reports.loads.empty());
    EXPECT_TRUE(reports.shown.empty());
    EXPECT_TRUE(designerOpened.empty());

    ui.queueAnswer(MsgResult::Yes);
    menu("N4");
    ASSERT_EQ(designerOpened.size(), 1u);
    EXPECT_EQ(designerOpened[0].first, titlePath());
    // Beside the binary the edited template replaces the one it came from.
    EXPECT_EQ(designerOpened[0].second, titlePath());
    EXPECT_EQ(reports.loads.back(), std::make_pair(ReportId::frReport1, titlePath()));
}

} // namespace
