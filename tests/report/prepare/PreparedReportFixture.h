#pragma once
// Reports built in code over two memory tables, prepared and read back from
// their prepared pages: shared by the preparation tests of composite
// reports, split bands, band columns and report events.
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "report/data/DataSet.h"
#include "report/data/DataSourceRegistry.h"
#include "report/data/MemoryTable.h"
#include "report/model/BandView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/prepare/ReportPreparation.h"
#include "report/prepared/PreparedPages.h"
#include "report/template/Report.h"
#include "tests/support/TemplateBuilding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace pv::testing_support {

// One object as it landed on a prepared page.
struct PreparedText {
    std::string name;
    Lines lines;
    int left = 0, top = 0, height = 0;
    std::string text() const { return lines.empty() ? std::string() : lines.front(); }
};

inline std::vector<PreparedText> preparedTexts(TfrReport& report, int page) {
    std::vector<PreparedText> out;
    for (const auto& view : report.EMFPages().Objects(page).Objects)
        out.push_back({view->Name, view->Memo, view->Left, view->Top, view->Height});
    return out;
}

// The first line of every object of a page, in writing order.
inline std::vector<std::string> firstLines(TfrReport& report, int page) {
    std::vector<std::string> out;
    for (const PreparedText& t : preparedTexts(report, page))
        out.push_back(t.text());
    return out;
}

// Two tables: Table2 (F_Fam, F_Strax) as frDBDataSet1 and Table3 (F_Per) as
// frDBDataSet2, and a report on a scripted Ui with a fixed clock.
class PreparedReportFixture : public ::testing::Test {
protected:
    PreparedReportFixture()
        : format_(SystemFormat{}), people_("Table2", {{"F_Fam", TFieldType::ftString, 20},
                                                      {"F_Strax", TFieldType::ftString, 20}}),
          periods_("Table3", {{"F_Per", TFieldType::ftString, 20}}), peopleSource_("frDBDataSet1"),
          periodsSource_("frDBDataSet2") {
        peopleSource_.SetDataSet(&people_);
        periodsSource_.SetDataSet(&periods_);
        sources_.add(peopleSource_);
        sources_.add(periodsSource_);
        setUp(report_);
    }

    void setUp(TfrReport& report) {
        report.setUi(&ui_);
        report.setClock([] { return 45000.5; });
    }

    // Rows of one text column.
    static void fill(TRxMemoryData& table, const std::string& field,
                     const std::vector<std::string>& values) {
        table.Open();
        for (const std::string& v : values) {
            table.Append();
            table.FieldByName(field).SetAsString(v);
            table.Post();
        }
    }
    void people(const std::vector<std::string>& names) { fill(people_, "F_Fam", names); }
    void periods(const std::vector<std::string>& values) { fill(periods_, "F_Per", values); }
    static std::vector<std::string> numbered(const std::string& prefix, int count) {
        std::vector<std::string> out;
        for (int i = 1; i <= count; ++i)
            out.push_back(prefix + std::to_string(i));
        return out;
    }

    static TfrBandView& band(TfrPage& page, int type, const std::string& name, int top, int height,
                             const std::string& format = {}) {
        return addBandView(page, type, name, top, height, format);
    }
    static TfrMemoView& memo(TfrPage& page, const std::string& name, int top,
                             const std::string& text) {
        return addMemoView(page, name, top, text);
    }

    void prepare(TfrReport& report) {
        ReportPreparation preparation(report, sources_);
        preparation.Prepare();
    }
    // The top of a sheet: the printer's offset, the pages having no margins.
    static int sheetTop(TfrReport& report) { return report.Page(0).PageInfo.offsetY; }
    static int sheetBottom(TfrReport& report) {
        const TfrPageInfo& info = report.Page(0).PageInfo;
        return info.offsetY + info.printableHeight;
    }

    ScopedSystemFormat format_;
    TRxMemoryData people_, periods_;
    TfrDBDataSet peopleSource_, periodsSource_;
    DataSourceRegistry sources_;
    ScriptedUi ui_;
    TfrReport report_;
};

} // namespace pv::testing_support
