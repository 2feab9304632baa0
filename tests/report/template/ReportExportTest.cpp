#include "tests/support/PreparedPagesSupport.h"

#include "report/export/ExportError.h"
#include "report/export/ExportFilter.h"
#include "report/export/ExportFilterRegistry.h"
#include "report/export/ExportProgress.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pv {
namespace {

// Logs every call, and writes a mark per page to the output file.
class LoggingFilter : public TfrExportFilter {
public:
    std::vector<std::string> log;
    int optionsResult = 1;
    int failOnPage = 0; // BeginPage of this page throws

    int OptionsDialog() override {
        log.push_back("OptionsDialog");
        return optionsResult;
    }
    void BeginDocument() override { log.push_back("BeginDocument"); }
    void EndDocument() override { log.push_back("EndDocument"); }
    void BeginPage() override {
        ++page_;
        if (page_ == failOnPage) throw std::runtime_error("filter failed");
        log.push_back("BeginPage");
        *stream() << "page" << page_ << ";";
    }
    void EndPage() override { log.push_back("EndPage"); }
    void ObjectData(int, int, TfrView& v) override { log.push_back("ObjectData " + v.Name); }
    void TextLine(const Rect&, int, int, std::string_view text, uint16_t, TfrView&) override {
        log.push_back("TextLine " + std::string(text));
    }

private:
    int page_ = 0;
};

class RecordedProgress : public ExportProgress {
public:
    std::vector<std::pair<int, int>> shown;
    int cancelAfter = 0;
    void PageExported(int page, int total) override { shown.push_back({page, total}); }
    bool Cancelled() const override { return cancelAfter > 0 && int(shown.size()) >= cancelAfter; }
};

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class ExportPreparedTest : public ::testing::Test {
protected:
    ExportPreparedTest() {
        frPrinter().setDevices({});
        for (const char* text : {"one", "two", "three"})
            test::addSamplePage(report.EMFPages(), text);
    }
    test::ScratchDir dir;
    TfrReport report;
    LoggingFilter filter;
    RecordedProgress progress;
    std::string path = dir.file("out.pdf");
};

TEST_F(ExportPreparedTest, ThreePagesGoThroughOneDocument) {
    std::string after;
    filter.OnAfterExport = [&](const std::string& name) { after = name; };
    report.ExportPrepared(filter, path, &progress);

    std::vector<std::string> expected{"OptionsDialog", "BeginDocument"};
    for (const char* text : {"one", "two", "three"}) {
        expected.insert(expected.end(),
                        {"BeginPage", "ObjectData Memo1", std::string("TextLine ") + text,
                         "ObjectData Line1", "EndPage"});
    }
    expected.push_back("EndDocument");
    EXPECT_EQ(filter.log, expected);
    EXPECT_EQ(progress.shown, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(contents(path), "page1;page2;page3;");
    EXPECT_EQ(after, path);
    EXPECT_EQ(filter.fileName(), path);
    EXPECT_EQ(filter.stream(), nullptr);
    EXPECT_EQ(report.CurrentFilter(), nullptr);
}

TEST_F(ExportPreparedTest, TheFilterIsTheReportsCurrentOneDuringTheExport) {
    TfrExportFilter* during = nullptr;
    filter.OnBeforeExport = [&](std::string&, bool&) { during = report.CurrentFilter(); };
    report.ExportPrepared(filter, path);
    EXPECT_EQ(during, &filter);
}

TEST_F(ExportPreparedTest, ARefusalBeforeTheFileCreatesNoFile) {
    struct Case {
        const char* name;
        bool proceed;
        int optionsResult;
    };
    for (const Case& c : {Case{"proceed flag cleared", false, 1},
                          Case{"options cancelled", true, 2}, Case{"options refused", true, 0}}) {
        LoggingFilter f;
        f.optionsResult = c.optionsResult;
        f.OnBeforeExport = [&](std::string& name, bool& proceed) {
            EXPECT_EQ(name, path);
            proceed = c.proceed;
        };
        bool after = false;
        f.OnAfterExport = [&](const std::string&) { after = true; };
        report.ExportPrepared(f, path, &progress);
        EXPECT_FALSE(std::filesystem::exists(path)) << c.name;
        EXPECT_FALSE(after) << c.name;
        EXPECT_TRUE(progress.shown.empty()) << c.name;
        for (const std::string& call : f.log)
            EXPECT_EQ(call, "OptionsDialog") << c.name;
        EXPECT_EQ(report.CurrentFilter(), nullptr) << c.name;
    }
}

TEST_F(ExportPreparedTest, AFileNameChangedBeforeTheExportIsUsed) {
    const std::string other = dir.file("renamed.pdf");
    filter.OnBeforeExport = [&](std::string& name, bool&) { name = other; };
    report.ExportPrepared(filter, path);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(contents(other), "page1;page2;page3;");
    EXPECT_EQ(filter.fileName(), other);
}

TEST_F(ExportPreparedTest, AFilterFailureClosesTheFileAndPropagates) {
    filter.failOnPage = 2;
    bool after = false;
    filter.OnAfterExport = [&](const std::string&) { after = true; };
    EXPECT_THROW(report.ExportPrepared(filter, path, &progress), std::runtime_error);
    // What was written before the failure reached the file: it was closed.
    EXPECT_EQ(contents(path), "page1;");
    EXPECT_EQ(filter.stream(), nullptr);
    EXPECT_EQ(report.CurrentFilter(), nullptr);
    EXPECT_FALSE(after);
    EXPECT_EQ(filter.log.back(), "EndPage");
}

TEST_F(ExportPreparedTest, CancellingKeepsThePagesExportedAndEndsTheDocument) {
    progress.cancelAfter = 1;
    report.ExportPrepared(filter, path, &progress);
    EXPECT_EQ(contents(path), "page1;");
    EXPECT_EQ(filter.log.back(), "EndDocument");
    EXPECT_EQ(progress.shown, (std::vector<std::pair<int, int>>{{1, 3}}));
}

TEST_F(ExportPreparedTest, AnOutputFileThatCannotBeCreatedIsReported) {
    EXPECT_THROW(report.ExportPrepared(filter, dir.file("missing/out.pdf")), ExportFileError);
    EXPECT_TRUE(filter.log.empty() || filter.log.back() == "OptionsDialog");
    EXPECT_EQ(report.CurrentFilter(), nullptr);
}

TEST_F(ExportPreparedTest, AnExistingFileIsReplaced) {
    std::ofstream(path, std::ios::binary) << "an older and longer file";
    report.ExportPrepared(filter, path);
    EXPECT_EQ(contents(path), "page1;page2;page3;");
}

class OtherFilter : public TfrExportFilter {};

// Leaves the engine-wide registry as the test found it.
class ExportFilterRegistryTest : public ::testing::Test {
protected:
    ~ExportFilterRegistryTest() override {
        while (ExportFilterCount() > before_)
            UnregisterExportFilter(*ExportFilterAt(ExportFilterCount() - 1).filter);
    }
    int added() const { return ExportFilterCount() - before_; }
    const ExportFilterEntry& entry(int i) const { return ExportFilterAt(before_ + i); }

    // Outlive the clean-up, which looks at the class of each filter left.
    LoggingFilter first, second;
    OtherFilter other;
    std::vector<std::unique_ptr<LoggingFilter>> many;

private:
    int before_ = ExportFilterCount();
};

TEST_F(ExportFilterRegistryTest, SameClassAndPatternIsRefused) {
    EXPECT_TRUE(RegisterExportFilter(first, "PDF", "*.pdf"));
    EXPECT_FALSE(RegisterExportFilter(second, "PDF again", "*.pdf"));
    EXPECT_TRUE(RegisterExportFilter(other, "Other PDF", "*.pdf"));
    EXPECT_TRUE(RegisterExportFilter(second, "Text", "*.txt"));
    ASSERT_EQ(added(), 3);
    EXPECT_EQ(entry(0).filter, &first);
    EXPECT_EQ(entry(0).description, "PDF");
    EXPECT_EQ(entry(1).filter, &other);
    EXPECT_EQ(entry(2).pattern, "*.txt");
}

TEST_F(ExportFilterRegistryTest, UnregisteringRemovesTheLastEntryOfTheClass) {
    RegisterExportFilter(first, "PDF", "*.pdf");
    RegisterExportFilter(other, "Other", "*.pdf");
    RegisterExportFilter(second, "Text", "*.txt");
    UnregisterExportFilter(first); // the class decides, not the object
    ASSERT_EQ(added(), 2);
    EXPECT_EQ(entry(0).filter, &first);
    EXPECT_EQ(entry(1).filter, &other);
    UnregisterExportFilter(second);
    UnregisterExportFilter(second); // none left of that class: nothing happens
    ASSERT_EQ(added(), 1);
    EXPECT_EQ(entry(0).filter, &other);
}

TEST_F(ExportFilterRegistryTest, TheListHoldsAtMost64Entries) {
    const int start = ExportFilterCount();
    int accepted = 0;
    for (int i = start; i < kMaxExportFilters + 2; ++i) {
        many.push_back(std::make_unique<LoggingFilter>());
        accepted += RegisterExportFilter(*many.back(), "F", "*." + std::to_string(i));
    }
    EXPECT_EQ(ExportFilterCount(), kMaxExportFilters);
    EXPECT_EQ(accepted, kMaxExportFilters - start);
}

} // namespace
} // namespace pv
