#include "program/TitlePage.h"

#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/value/Variables.h"
#include "tests/support/BatchRun.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace pv;
using pv::test::TempDir;
using pv::testing::RecordingReports;

namespace {

class TitlePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        frVariables().Clear();
        pv::test::writeBytes(templatePath, "any template bytes");
    }
    void TearDown() override { frVariables().Clear(); }

    TempDir dir;
    std::string templatePath = dir.file("Titl.frf");
    RecordingReports reports;
    ScriptedUi ui;
    TitlePage title{reports, ui};
};

BatchHeader romashka() {
    BatchHeader h;
    h.reg_nom = "016-001-000123";
    h.inn = "12345678";
    h.kpp = "";
    h.nazvan = ru("ООО Ромашка");
    h.nom_pach = "17";
    h.DefaultKod = "2005";
    return h;
}

TEST_F(TitlePageTest, ShowsTheTemplateWithTheFiveHeaderValuesAndClearsThemAfterwards) {
    // A value left from elsewhere (a signature) is not the title page's business,
    // but the list is cleared after the preview as after every report.
    frVariables().SetValue("FIORuk", Variant(std::string("x")));
    title.N5Click(romashka(), templatePath);

    ASSERT_EQ(reports.loads.size(), 1u);
    EXPECT_EQ(reports.loads[0].first, ReportId::frReport1);
    EXPECT_EQ(reports.loads[0].second, templatePath);
    EXPECT_EQ(reports.shown, std::vector<ReportId>{ReportId::frReport1});
    EXPECT_EQ(reports.var("reg_nom"), "016-001-000123");
    EXPECT_EQ(reports.var("inn"), "12345678");
    EXPECT_EQ(reports.var("nazvan"), "ООО Ромашка");
    EXPECT_EQ(reports.var("nom_pach"), "17");
    ASSERT_TRUE(reports.variablesAtShow.Contains("kpp"));
    EXPECT_FALSE(reports.variablesAtShow.Contains("DefaultKod"));
    EXPECT_EQ(frVariables().Count(), 0);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(TitlePageTest, BeforeAnyBatchTheValuesAreEmptyTexts) {
    title.N5Click(BatchHeader{}, templatePath);
    for (const char* name : {"reg_nom", "inn", "kpp", "nazvan", "nom_pach"}) {
        SCOPED_TRACE(name);
        const Variant v = reports.variablesAtShow.Value(name);
        ASSERT_TRUE(v.isText());
        EXPECT_EQ(v.text(), "");
    }
}

TEST_F(TitlePageTest, AMissingTemplateIsNamedAndNothingIsShown) {
    // The report would still hold the last batch's form: showing it with the
    // title values is a wrong page.
    const std::string missing = dir.file("нет/Titl.frf");
    title.N5Click(romashka(), missing);
    EXPECT_TRUE(reports.loads.empty());
    EXPECT_TRUE(reports.shown.empty());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(cp1251ToUtf8(ui.messages()[0].text).find(missing), std::string::npos);
    EXPECT_EQ(ui.messages()[0].icon, MsgIcon::Error);
    EXPECT_EQ(frVariables().Count(), 0);

    ui.clear();
    ui.queueAnswer(MsgResult::Yes);
    EXPECT_FALSE(title.N4Click(missing));
    EXPECT_TRUE(reports.loads.empty());
    EXPECT_EQ(ui.messages().size(), 2u);
}

TEST_F(TitlePageTest, EditingAsksFirstAndOnlyYesLoadsTheTemplate) {
    ui.queueAnswer(MsgResult::No);
    EXPECT_FALSE(title.N4Click(templatePath));
    EXPECT_TRUE(reports.loads.empty());
    ASSERT_EQ(ui.messages().size(), 1u);
    const auto& m = ui.messages()[0];
    EXPECT_EQ(cp1251ToUtf8(m.caption), "Внимание !");
    EXPECT_EQ(m.icon, MsgIcon::Warning);
    EXPECT_EQ(m.buttons, MsgButtons::YesNo);
    EXPECT_EQ(cp1251ToUtf8(m.text),
              "Редактирование подразумевает изменение части программы,\r\n"
              "рекомендуется  сделать архивную копию программы,\r\n"
              "или убедится, что у Вас есть дистрибутив этой программы.\r\n\r\n"
              "        Продолжить ?");

    ui.queueAnswer(MsgResult::Yes);
    EXPECT_TRUE(title.N4Click(templatePath));
    ASSERT_EQ(reports.loads.size(), 1u);
    EXPECT_EQ(reports.loads[0].second, templatePath);
    EXPECT_TRUE(reports.shown.empty());
}

} // namespace
