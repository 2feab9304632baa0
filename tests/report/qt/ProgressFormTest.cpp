// The progress window around preparing and exporting, driven through its
// cancel button.
#include "report/qt/ProgressForm.h"

#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/data/DataSet.h"
#include "report/data/DataSourceRegistry.h"
#include "report/data/MemoryTable.h"
#include "report/export/ExportFilter.h"
#include "report/prepare/ReportPreparation.h"
#include "report/prepared/PreparedPages.h"
#include "report/qt/QtText.h"
#include "report/template/Report.h"
#include "tests/support/PreparedPagesSupport.h"
#include "tests/support/TemplateBuilding.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace pv {
namespace {

QString qtText(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Records the labels the window shows and presses its cancel button when
// the label reads `cancelAt`.
class LabelWatch {
public:
    LabelWatch(TfrProgressForm& form, QString cancelAt = {}) : cancelAt_(std::move(cancelAt)) {
        QObject::connect(&form, &TfrProgressForm::labelChanged, [this, &form](const QString& text) {
            labels.push_back(text);
            captions.push_back(form.windowTitle());
            if (text == cancelAt_) QTest::mouseClick(form.cancelButton(), Qt::LeftButton);
        });
    }
    std::vector<QString> labels;
    std::vector<QString> captions;

private:
    QString cancelAt_;
};

TEST(TfrProgressForm, RunsTheWorkWhileShownAndPassesItsFailureOn) {
    TfrProgressForm form;
    EXPECT_EQ(form.cancelButton()->text(), qtText("Отмена"));
    bool ranShown = false;
    form.SetLabel(ru("Формируется страница:"));
    form.Run(ru("Подготовка отчета - Список"), [&] {
        ranShown = form.isVisible() && form.isModal();
        EXPECT_EQ(form.windowTitle(), qtText("Подготовка отчета - Список"));
        EXPECT_EQ(form.label()->text(), qtText("Формируется страница:"));
        EXPECT_FALSE(form.Cancelled());
    });
    EXPECT_TRUE(ranShown);
    EXPECT_FALSE(form.isVisible());

    EXPECT_THROW(form.Run("x", [] { throw std::runtime_error("work failed"); }),
                 std::runtime_error);
    EXPECT_FALSE(form.isVisible());
}

TEST(TfrProgressForm, TheCancelButtonClosesTheWindowAndIsSeenByTheWork) {
    TfrProgressForm form;
    bool seen = false;
    form.Run("x", [&] {
        QTest::mouseClick(form.cancelButton(), Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
        seen = form.Cancelled();
    });
    EXPECT_TRUE(seen);
    // The next run starts afresh.
    form.Run("x", [&] { seen = form.Cancelled(); });
    EXPECT_FALSE(seen);
}

// A report of one 40-pixel row per table row: about 25 rows a sheet.
class ProgressPreparationTest : public ::testing::Test {
protected:
    ProgressPreparationTest()
        : table_("Table2", {{"F_Fam", TFieldType::ftString, 20}}), source_("frDBDataSet1") {
        source_.SetDataSet(&table_);
        sources_.add(source_);
        report_.setUi(&ui_);
        report_.setProgressWindow(&form_);
        report_.Title = ru("Список");
        TfrPage& page = report_.AddPage();
        testing_support::addBandView(page, btMasterData, "Data", 40, 40, "frDBDataSet1");
        testing_support::addMemoView(page, "Fam", 40, "[F_Fam]");
        table_.Open();
        for (int i = 1; i <= 300; ++i) {
            table_.Append();
            table_.FieldByName("F_Fam").SetAsString("R" + std::to_string(i));
            table_.Post();
        }
    }

    bool prepare() {
        ReportPreparation preparation(report_, sources_);
        return preparation.Prepare();
    }
    int pageCount() { return report_.EMFPages().Count(); }

    TfrProgressForm form_;
    TRxMemoryData table_;
    TfrDBDataSet source_;
    DataSourceRegistry sources_;
    ScriptedUi ui_;
    TfrReport report_;
};

TEST_F(ProgressPreparationTest, ShowsEachSheetAndKeepsThePagesWhenCancelled) {
    LabelWatch watch(form_, qtText("Формируется страница:  3"));
    EXPECT_FALSE(prepare());
    ASSERT_GE(watch.labels.size(), 3u);
    EXPECT_EQ(watch.labels[1], qtText("Формируется страница:  1"));
    EXPECT_EQ(watch.labels[2], qtText("Формируется страница:  2"));
    EXPECT_EQ(watch.captions.back(), qtText("Подготовка отчета - Список"));
    // The pass stops after the band that was printing: the third sheet holds
    // its first row.
    EXPECT_EQ(pageCount(), 3);
    EXPECT_FALSE(form_.isVisible());
}

TEST_F(ProgressPreparationTest, DoublePassCountsFirstAndShowsTheTotalAfter) {
    report_.DoublePass = kTrue;
    LabelWatch watch(form_);
    EXPECT_TRUE(prepare());
    const int total = pageCount();
    ASSERT_GT(total, 3);
    const QString ofTotal = qtText(" из ") + QString::number(total);
    EXPECT_NE(
        std::find(watch.labels.begin(), watch.labels.end(), qtText("Выполняется 1-й проход:  2")),
        watch.labels.end());
    EXPECT_EQ(watch.labels.back(),
              qtText("Формируется страница:  ") + QString::number(total) + ofTotal);
}

TEST_F(ProgressPreparationTest, CancellingTheFirstPassLeavesNoPages) {
    report_.DoublePass = kTrue;
    LabelWatch watch(form_, qtText("Выполняется 1-й проход:  2"));
    EXPECT_FALSE(prepare());
    EXPECT_EQ(pageCount(), 0);
    for (const QString& label : watch.labels)
        EXPECT_FALSE(label.startsWith(qtText("Формируется"))) << label.toStdString();
}

TEST_F(ProgressPreparationTest, OnProgressTakesThePlaceOfTheWindow) {
    std::vector<int> pages;
    report_.Events.OnProgress = [&](int page) { pages.push_back(page); };
    LabelWatch watch(form_);
    EXPECT_TRUE(prepare());
    EXPECT_TRUE(watch.labels.empty());
    ASSERT_EQ(int(pages.size()), pageCount());
    EXPECT_EQ(pages.front(), 1);
}

TEST_F(ProgressPreparationTest, WithoutShowProgressNoWindowShows) {
    report_.ShowProgress = false;
    LabelWatch watch(form_);
    EXPECT_TRUE(prepare());
    EXPECT_TRUE(watch.labels.empty());
    EXPECT_GT(pageCount(), 3);
}

// Counts what an export hands the filter.
class CountingFilter : public TfrExportFilter {
public:
    void BeginDocument() override { log.push_back("BeginDocument"); }
    void BeginPage() override { log.push_back("BeginPage"); }
    void EndDocument() override { log.push_back("EndDocument"); }
    std::vector<std::string> log;
};

TEST(ProgressExport, CancellingExportsNoMorePagesButEndsTheDocument) {
    test::ScratchDir dir;
    TfrProgressForm form;
    TfrReport report;
    report.setProgressWindow(&form);
    for (int i = 1; i <= 5; ++i)
        test::addSamplePage(report.EMFPages(), "page " + std::to_string(i));
    LabelWatch watch(form, qtText("Формируется страница:  2 из 5"));
    CountingFilter filter;
    report.ExportPrepared(filter, dir.file("out.pdf"));
    EXPECT_EQ(filter.log,
              (std::vector<std::string>{"BeginDocument", "BeginPage", "BeginPage", "EndDocument"}));
    ASSERT_FALSE(watch.labels.empty());
    EXPECT_EQ(watch.labels.front(), qtText("Формируется страница:  1"));
    EXPECT_EQ(watch.captions.back(), qtText("Подготовка отчета"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.pdf")));
}

} // namespace
} // namespace pv
