// The data sources the form templates read the tables through, and the
// report service that prepares a template over them.
#include "batch/FormDataSources.h"
#include "batch/FormTables.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "program/PreparingReportService.h"
#include "report/data/DataSourceRegistry.h"
#include "report/model/Page.h"
#include "report/prepared/PreparedPages.h"
#include "report/template/source/TemplateSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace pv {
namespace {

struct NameCase {
    const char* dataSource;
    const char* table;
};

class FormDataSourcesNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(FormDataSourcesNames, FindTheirTable) {
    ScriptedUi ui;
    FormTables tables(ui, [] { return std::string(); });
    DataSourceRegistry registry;
    FormDataSources sources(tables, registry);
    const NameCase& c = GetParam();
    TfrDataset* found = registry.find(c.dataSource);
    ASSERT_NE(found, nullptr) << c.dataSource;
    auto* db = dynamic_cast<TfrDBDataSet*>(found);
    ASSERT_NE(db, nullptr);
    ASSERT_NE(db->DataSet(), nullptr);
    EXPECT_EQ(db->DataSet()->Name(), c.table);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormTable, FormDataSourcesNames,
    ::testing::Values(
        NameCase{"frDBDataSet1", "Table2"}, NameCase{"frDBDataSet2", "Table3"},
        NameCase{"frDBDataSet3", "Table1"}, NameCase{"frDBDataSet4", "Table4"},
        NameCase{"frDBDataSet5", "Table5"}, NameCase{"frDBDataSet6", "Table6"},
        NameCase{"frDBDataSetDEJT", "TableDEJT"}, NameCase{"frDBDataSetFid", "TableFid"},
        NameCase{"frDBDataSetFidVr", "TableFidVr"}, NameCase{"frDBDataSetFidVs", "TableFidVs"},
        NameCase{"frDBDataSetAnk", "TableAnk"}, NameCase{"frDBDataSetSvod", "TableSvod"},
        NameCase{"frDBDAnkTabl", "AnkTable"},
        // Templates may spell the name in another case or qualify it by form.
        NameCase{"FRDBDATASET1", "Table2"}, NameCase{"Form1.frDBDataSetSvod", "TableSvod"}));

TEST(FormDataSources, OnePerTableAndGoneWithTheirOwner) {
    ScriptedUi ui;
    FormTables tables(ui, [] { return std::string(); });
    DataSourceRegistry registry;
    {
        FormDataSources sources(tables, registry);
        EXPECT_EQ(sources.all().size(), tables.all().size());
    }
    EXPECT_EQ(registry.find("frDBDataSet1"), nullptr);
}

// Records what the service hands over for showing.
struct RecordingPresenter : ReportPresenter {
    struct Shown {
        ReportId id;
        std::vector<std::string> texts; // first line of each object of page 1
        int pages = 0;
    };
    std::vector<Shown> shown;
    void present(ReportId id, TfrReport* prepared) override {
        Shown s{id, {}, 0};
        if (prepared) {
            s.pages = prepared->EMFPages().Count();
            for (const auto& view : prepared->EMFPages().Objects(0).Objects)
                s.texts.push_back(view->Memo.empty() ? std::string() : view->Memo.front());
        }
        shown.push_back(s);
    }
};

class PreparingReportServiceTest : public ::testing::Test {
protected:
    PreparingReportServiceTest()
        : format_(SystemFormat{}), tables_(ui_, [] { return std::string(); }),
          sources_(tables_, registry_), service_(registry_, ui_, presenter_) {
        dir_ = std::filesystem::temp_directory_path() /
               ("pv-preparing-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    ~PreparingReportServiceTest() override { std::filesystem::remove_all(dir_); }

    std::string templateFile(const std::string& name, const std::string& text) {
        TfrReport report;
        readTemplateSource("page Page1\n"
                           "  band MasterData1 MasterData\n"
                           "    rect 0 100 718 20\n"
                           "    data frDBDataSet1\n"
                           "  memo Fam\n"
                           "    rect 0 100 300 20\n"
                           "    text \"" +
                               text + "\"\n",
                           report);
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(report.SaveToFile(path));
        return path;
    }
    void people(const std::vector<std::string>& names) {
        tables_.Table2.Open();
        for (const std::string& n : names) {
            tables_.Table2.Append();
            tables_.Table2.FieldByName("F_Fam").SetAsString(n);
            tables_.Table2.Post();
        }
    }

    ScopedSystemFormat format_;
    ScriptedUi ui_;
    FormTables tables_;
    DataSourceRegistry registry_;
    FormDataSources sources_;
    RecordingPresenter presenter_;
    PreparingReportService service_;
    std::filesystem::path dir_;
};

TEST_F(PreparingReportServiceTest, PreparesTheTemplateOverTheFormTables) {
    people({"A", "B"});
    service_.LoadFromFile(ReportId::frReport1,
                          templateFile("t.frf", "[frDBDataSet1.\\\"F_Fam\\\"]!"));
    service_.PrepareAndPreview(ReportId::frReport1);
    ASSERT_EQ(presenter_.shown.size(), 1u);
    EXPECT_EQ(presenter_.shown[0].id, ReportId::frReport1);
    EXPECT_EQ(presenter_.shown[0].pages, 1);
    EXPECT_EQ(presenter_.shown[0].texts, (std::vector<std::string>{"A!", "B!"}));
}

TEST_F(PreparingReportServiceTest, MissingTemplateHandsOverNoPages) {
    people({"A"});
    service_.LoadFromFile(ReportId::frReport1, (dir_ / "absent.frf").string());
    service_.PrepareAndPreview(ReportId::frReport1);
    ASSERT_EQ(presenter_.shown.size(), 1u);
    EXPECT_EQ(presenter_.shown[0].pages, 0);
}

// The report still holds the last batch's form, which must not print as
// this batch's: the presenter hears that nothing was prepared.
TEST_F(PreparingReportServiceTest, AMissingFileDoesNotPrintTheTemplateLoadedBefore) {
    people({"A"});
    service_.LoadFromFile(ReportId::frReport1, templateFile("t.frf", "x"));
    service_.LoadFromFile(ReportId::frReport1, (dir_ / "absent.frf").string());
    EXPECT_FALSE(service_.hasTemplate(ReportId::frReport1));
    service_.PrepareAndPreview(ReportId::frReport1);
    ASSERT_EQ(presenter_.shown.size(), 1u);
    EXPECT_EQ(presenter_.shown[0].pages, 0);
    EXPECT_TRUE(presenter_.shown[0].texts.empty());
}

TEST_F(PreparingReportServiceTest, CompositeReportPreparesItsMembersInOrderIntoOnePreview) {
    people({"A"});
    for (ReportId id : {ReportId::frReport1, ReportId::frReport2, ReportId::frReport3})
        service_.LoadFromFile(id,
                              templateFile(std::string(reportName(id)) + ".frf",
                                           std::string(reportName(id)) + " [PAGE#]/[TOTALPAGES]"));
    service_.ClearCompositeReports();
    for (ReportId id : {ReportId::frReport3, ReportId::frReport1, ReportId::frReport2})
        service_.AddCompositeReport(id);
    service_.SetDoublePassReport(true);
    service_.PrepareAndPreview(ReportId::frCompositeReport1);
    ASSERT_EQ(presenter_.shown.size(), 1u);
    EXPECT_EQ(presenter_.shown[0].id, ReportId::frCompositeReport1);
    EXPECT_EQ(presenter_.shown[0].pages, 3);
    EXPECT_EQ(presenter_.shown[0].texts, (std::vector<std::string>{"frReport3 1/3"}))
        << "the first member added prints first, knowing the total";
}

TEST_F(PreparingReportServiceTest, CompositeLeavesOutMembersWithoutATemplate) {
    people({"A"});
    service_.LoadFromFile(ReportId::frReport2, templateFile("two.frf", "two"));
    for (ReportId id : {ReportId::frReport1, ReportId::frReport2, ReportId::frReport3})
        service_.AddCompositeReport(id);
    service_.PrepareAndPreview(ReportId::frCompositeReport1);
    ASSERT_EQ(presenter_.shown.size(), 1u);
    EXPECT_EQ(presenter_.shown[0].texts, (std::vector<std::string>{"two"}));
}

TEST_F(PreparingReportServiceTest, ProgramPreviewSettings) {
    for (ReportId id : {ReportId::frReport1, ReportId::frCompositeReport1}) {
        TfrReport& r = service_.report(id);
        EXPECT_EQ(r.InitialZoom, TfrPreviewZoom::pzPageWidth) << reportName(id);
        EXPECT_EQ(r.PreviewButtons, TfrPreviewButtons(pbZoom | pbSave | pbPrint | pbExit))
            << reportName(id);
    }
    EXPECT_FALSE(service_.report(ReportId::frReport1).ModifyPrepared);
}

} // namespace
} // namespace pv
