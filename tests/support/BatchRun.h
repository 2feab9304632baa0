#pragma once

// One batch run through the real driver, parsers and form tables, with the
// report engine replaced by a recorder. Batch lines are written in UTF-8 and
// handed to the driver in the DOS code page of real batch files.

#include "batch/BatchDriver.h"
#include "batch/FormParsers.h"
#include "batch/FormTables.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "report/value/Variables.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace pv::testing {

class RecordingReports : public ReportService {
public:
    void LoadFromFile(ReportId report, const std::string& path) override {
        loads.emplace_back(report, path);
    }
    void PrepareAndPreview(ReportId report) override {
        shown.push_back(report);
        variablesAtShow.Assign(frVariables());
        if (onShow) onShow();
    }
    void SetDoublePassReport(bool value) override { doublePass = value; }
    void ClearCompositeReports() override { members.clear(); }
    void AddCompositeReport(ReportId member) override { members.push_back(member); }

    // The variable as text when the report was shown; empty when unset.
    std::string var(const char* name) const {
        const Variant& v = variablesAtShow.Value(name);
        return v.isText() ? cp1251ToUtf8(v.text()) : std::string();
    }

    std::vector<std::pair<ReportId, std::string>> loads;
    std::vector<ReportId> shown;
    TfrVariables variablesAtShow;
    bool doublePass = false;
    std::vector<ReportId> members;
    std::function<void()> onShow;
};

// The header lines of a batch of `docType`; header line 3 field 7 (the default
// code) is 2005.
inline std::vector<std::string> batchHeader(const std::string& docType) {
    return {"\"ФАЙЛ\",\"04.00\",\"ПФР\"",
            "\"ОРГН\",1,\"016-001-000123\",\"0012345678\",\"000\",\"ООО Ромашка\"",
            "\"ПАЧК\",17,\"10.01.2006\",,\"15.01.2006\",,2005,\"НР\",\"\",\"\",\"ИСХД\",\"\",4,"
            "2005,,,\"12345.67\",\"234.50\",\"0\"",
            "\"ОПИС\",\"" + docType + "\",2"};
}

class BatchRun {
public:
    BatchRun() {
        driver.setParsers(&parsers);
        frVariables().Clear();
    }

    // Runs a batch of `docType` made of the header and `records`.
    void run(const std::string& docType, const std::vector<std::string>& records) {
        std::string bytes;
        auto lines = batchHeader(docType);
        lines.insert(lines.end(), records.begin(), records.end());
        for (const auto& l : lines)
            bytes += codepage::fromUtf16(codepage::utf8ToUtf16(l), 866) + "\r\n";
        ui.clear();
        reports.shown.clear();
        parsers.emptyRunTables();
        driver.batchFile().openBytes(std::move(bytes));
        driver.processOpenedFile();
    }

    bool shown() const { return !reports.shown.empty(); }
    // The one message the run showed, empty when none.
    std::string message() const {
        return ui.messages().size() == 1 ? cp1251ToUtf8(ui.messages()[0].text) : std::string();
    }
    // A stored row's field as text (UTF-8).
    std::string at(TRxMemoryData& table, int row, const char* field) {
        TField* f = table.FindField(field);
        return f ? cp1251ToUtf8(table.StoredText(row, f->Index())) : "<no field>";
    }

    ScriptedUi ui;
    DriverContext context;
    RecordingReports reports;
    BatchDriver driver{context, ui, reports};
    FormTables tables{ui, [this] { return driver.DocType(); }};
    FormParsers parsers{tables};
};

// A fixture: batch runs under a system format with a decimal comma.
class CommaBatchRun : public ::testing::Test {
protected:
    static SystemFormat format() {
        SystemFormat f;
        f.decimalSeparator = ',';
        return f;
    }
    ScopedSystemFormat scoped{format()};
    BatchRun run;
};

} // namespace pv::testing
