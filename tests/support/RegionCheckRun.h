#pragma once

#include "program/RegionWarningPresenter.h"
#include "batch/BatchDriver.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/value/Variables.h"
#include "tests/support/TempSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pv::test {

class NoReports : public ReportService {
public:
    void LoadFromFile(ReportId, const std::string&) override {}
    void PrepareAndPreview(ReportId) override { ++shown; }
    int shown = 0;
};

// Fills a table as a parser would, so a stopped run shows it stayed empty.
class CountingParsers : public DocumentParsers {
public:
    void parse(const std::string&, BatchDriver&) override { ++parsed; }
    int parsed = 0;
};

// Real batch runs through the driver, for the region check to look at the
// registration number; a derived fixture brings the check and its warning
// and hands the check to the driver in its SetUp.
class RegionCheckRun : public ::testing::Test {
protected:
    void SetUp() override {
        context.ProgramDir = dir.dir();
        driver.setParsers(&parsers);
        frVariables().Clear();
    }

    // Opens and runs a one-form batch of an employer with `regNom`.
    void runBatch(const std::string& regNom) {
        const std::string path = dir.file("batch.txt");
        const std::vector<std::string> lines{
            "\"ФАЙЛ\",\"04.00\",\"ПФР\"",
            "\"ОРГН\",1,\"" + regNom + "\",\"0012345678\",\"000\",\"ООО\"",
            "\"ПАЧК\",17,\"01.02.2006\",,\"\",,2005,,,,,,4,2005", "\"ОПИС\",\"ИН41\",3"};
        std::string bytes;
        for (const auto& l : lines)
            bytes += codepage::fromUtf16(codepage::utf8ToUtf16(l), 866) + "\r\n";
        writeBytes(path, bytes);
        ui.queueFile(path);
        driver.BitBtn13Click();
    }

    TempSettings dir;
    DriverContext context;
    ScriptedUi ui;
    NoReports reports;
    CountingParsers parsers;
    BatchDriver driver{context, ui, reports};
    RegionWarningPresenter presenter{context, ui};
};

} // namespace pv::test
