#include "tests/support/BatchRun.h"

#include "platform/SystemFormat.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace pv;
using pv::testing::CommaBatchRun;

namespace {

std::string summary(const std::string& number, const std::string& itog, const std::string& bol) {
    return "\"СВОД\"," + number + ",25,3,1500.00,\"НР\",\"1\",\"2005\",\"\"," + itog + "," + bol +
           ",118000.00,7000.50,\"15.01.2006\",\"1\"";
}

std::string figures(int group, const std::string& count = "10") {
    const std::string n = std::to_string(group);
    return "\"ОБЩС\"," + n + "," + count + ",500" + n + ".50,60.25,\"1\",480" + n + ",2" + n;
}

std::string groupField(int group, const char* suffix) {
    char name[16];
    std::snprintf(name, sizeof name, "_%02d%s", group, suffix);
    return name;
}

class SummaryStatement : public CommaBatchRun {};

TEST_F(SummaryStatement, FiguresLinesFillTheGroupsOfTheirSummaryRow) {
    std::vector<std::string> lines = {summary("1", "1000.5", "10")};
    for (int g = 12; g >= 1; --g)
        lines.push_back(figures(g));
    lines.push_back(figures(0, "99"));
    lines.push_back(figures(13, "99"));
    lines.push_back(summary("2", "0.25", "0.5"));
    lines.push_back(figures(3, "7"));
    lines.push_back(figures(3, ""));
    lines.push_back("\"ЭЦПД\",\"00\"");
    run.run("СВОД", lines);
    ASSERT_TRUE(run.shown()) << run.message();
    TRxMemoryData& t = run.tables.TableSvod;
    ASSERT_EQ(t.RecordCount(), 2);

    const std::pair<const char*, const char*> head[] = {
        {"TipSvod", "СВОД"},       {"NomSvod", "1"},           {"KolSvod", "25"},
        {"KolSSvod", "3"},         {"ZadSvod", "1500"},        {"TarSvod", "НР"},
        {"OtSvod", "1"},           {"GotSvod", "2005"},        {"FalSvod", ""},
        {"ItogSvod", "1000,5"},    {"ItogBolSvod", "10"},      {"ItogNaSvod", "118000"},
        {"ItogPerSvod", "7000,5"}, {"DateSvod", "15.01.2006"}, {"SSvod", "1"}};
    for (auto [field, value] : head)
        EXPECT_EQ(run.at(t, 0, field), value) << field;
    for (int g = 1; g <= 12; ++g) {
        const std::string n = std::to_string(g);
        const std::pair<const char*, std::string> group[] = {
            {"oSvod", "ОБЩС"},  {"mSvod", n},   {"kSvod", "10"},      {"dSvod", "500" + n + ",5"},
            {"bSvod", "60,25"}, {"tSvod", "1"}, {"nSvod", "480" + n}, {"pSvod", "2" + n}};
        for (const auto& [suffix, value] : group)
            EXPECT_EQ(run.at(t, 0, groupField(g, suffix).c_str()), value) << groupField(g, suffix);
    }
    // the second row: only group 3, overwritten by the later line
    EXPECT_EQ(run.at(t, 1, "_03kSvod"), "");
    EXPECT_EQ(run.at(t, 1, "_03mSvod"), "3");
    EXPECT_EQ(run.at(t, 1, "_01oSvod"), "");
    EXPECT_EQ(run.at(t, 1, "_12oSvod"), "");
    EXPECT_EQ(run.reports.var("ItogNal"), "1000,75");
    EXPECT_EQ(run.reports.var("ItogBol"), "10,50");
}

TEST_F(SummaryStatement, GrandTotals) {
    struct Case {
        char separator;
        std::vector<std::string> lines;
        const char* nal;
        const char* bol;
    };
    const Case cases[] = {
        {',', {}, "0,00", "0,00"},
        {'.', {}, "0.00", "0.00"},
        {',', {summary("1", "1234.5", "0")}, "1234,50", "0,00"},
        {',', {summary("1", "0.125", "-3"), summary("2", "0.001", "1")}, "0,13", "-2,00"},
        {'.', {summary("1", "1000.5", "7"), summary("2", "0.25", "0")}, "1000.75", "7.00"},
    };
    for (const Case& c : cases) {
        SystemFormat f = format();
        f.decimalSeparator = c.separator;
        ScopedSystemFormat local(f);
        run.run("СВОД", c.lines);
        ASSERT_TRUE(run.shown()) << run.message();
        EXPECT_EQ(run.reports.var("ItogNal"), c.nal);
        EXPECT_EQ(run.reports.var("ItogBol"), c.bol);
        EXPECT_EQ(run.tables.TableSvod.RecordCount(), static_cast<int>(c.lines.size()));
    }
}

TEST_F(SummaryStatement, MalformedLinesAbortTheRun) {
    struct Case {
        std::vector<std::string> lines;
        const char* message;
    };
    const Case cases[] = {
        {{figures(1), summary("1", "1", "1")},
         "Набор данных (Dataset) не в режиме редактирования или вставки."},
        {{summary("1", "", "1")}, "'' - неверное дробное значение."},
        {{summary("1", "1", "x1")}, "'x1' - неверное дробное значение для поля 'ItogBolSvod'"},
        {{summary("1", "1", "1"), "\"ОБЩС\",,1"}, "'' - неверное целое значение."},
        {{summary("1", "1", "1"), "\"ОБЩС\",1.0,1"}, "'1.0' - неверное целое значение."},
        {{summary("1", "1", "1"), figures(2, "2.5")},
         "'2.5' - неверное целое значение для поля '_02kSvod'"},
    };
    for (const Case& c : cases) {
        run.run("СВОД", c.lines);
        EXPECT_FALSE(run.shown()) << c.lines[0];
        EXPECT_EQ(run.message(), c.message) << c.lines.back();
        EXPECT_FALSE(run.driver.batchFile().isOpen());
    }
}

} // namespace
