#include "tests/support/BatchRun.h"

#include "platform/SystemFormat.h"

#include <gtest/gtest.h>

using namespace pv;
using pv::testing::BatchRun;

namespace {

// A statement line with the given date (field 4) and code (field 9).
std::string statement(const std::string& date, const std::string& code = "1",
                      const std::string& year = "2005") {
    return "\"ВУПЛ\",1," + year + ",\"" + date + "\",3,25,\"НР\",\"\"," + code +
           ",125000.00,21000.00,1500.50,118000.00,19800.00,1400.00,117500.00,19750.00,1400.00,"
           "500.00,50.00,0.00,\"\",12,10,3";
}

class Adv11Statement : public ::testing::Test {
protected:
    SystemFormat format() {
        SystemFormat f;
        f.decimalSeparator = ',';
        f.shortDateFormat = "dd.mm.yyyy";
        return f;
    }
    ScopedSystemFormat scoped{format()};
    BatchRun run;
};

TEST_F(Adv11Statement, DetailTablesWithoutLinesGetAPlaceholderRow) {
    run.run("ВУПЛ", {statement("05.03.2006"), "\"ЗНЧЛ\",\"2005\",60000.00,10000.00,700.50",
                     "\"ЭЦПД\",\"3F2A\"", "\"ЗНЧЛ\",\"2004\",1.5,,0"});
    ASSERT_TRUE(run.shown()) << run.message();
    EXPECT_EQ(run.reports.shown[0], ReportId::frReport1);
    FormTables& t = run.tables;
    ASSERT_EQ(t.Table1.RecordCount(), 1);
    ASSERT_EQ(t.Table4.RecordCount(), 2);
    EXPECT_EQ(run.at(t.Table4, 0, "f_kol"), "ЗНЧЛ");
    EXPECT_EQ(run.at(t.Table4, 0, "f_kod"), "2005");
    EXPECT_EQ(run.at(t.Table4, 0, "f_boln"), "700,5");
    EXPECT_EQ(run.at(t.Table4, 1, "f_sum1"), "1,5");
    EXPECT_EQ(run.at(t.Table4, 1, "f_sum2"), "") << "an empty amount stays empty";
    for (TRxMemoryData* table : {&t.Table5, &t.Table6}) {
        ASSERT_EQ(table->RecordCount(), 1) << table->Name();
        EXPECT_EQ(run.at(*table, 0, "f_kod"), "2005") << "header line 3, field 7";
        for (const char* empty : {"f_kol", "f_sum1", "f_sum2", "f_boln"})
            EXPECT_EQ(run.at(*table, 0, empty), "") << table->Name() << " " << empty;
    }
}

TEST_F(Adv11Statement, StatementLineFillsTable1AndTheFirstLinePublishes) {
    run.run("ВУПЛ", {statement("05.03.2006", "17", "2006"), statement("06.03.2006", "2", "2007"),
                     "\"УПЛЧ\",\"2005\",1,2,3", "\"ЗКНЦ\",\"2005\",4,5,6"});
    ASSERT_TRUE(run.shown()) << run.message();
    TRxMemoryData& t1 = run.tables.Table1;
    ASSERT_EQ(t1.RecordCount(), 2);
    const std::pair<const char*, const char*> expected[] = {
        {"F_KOL", "ВУПЛ"},       {"F_KOD", "1"},           {"F_SUM1", "125000"},
        {"F_BOLN", "1500,5"},    {"F_ITZDSUM1", "118000"}, {"F_ITUPSUM2", "19750"},
        {"f_itupboln", "1400"},  {"f_itznsum1", "500"},    {"F_ITZNBOLN", "0"},
        {"F_DAT", "05.03.2006"}, {"F_KOLZD", "12"},        {"F_KOLUP", "10"},
        {"F_KOLZN", "3"}};
    for (auto [field, value] : expected)
        EXPECT_EQ(run.at(t1, 0, field), value) << field;
    EXPECT_EQ(run.at(t1, 1, "F_DAT"), "06.03.2006");
    EXPECT_EQ(run.at(t1, 1, "F_KOD"), "2");

    const std::pair<const char*, const char*> variables[] = {
        {"cYear", "2006"}, {"dDat", "05.03.2006"}, {"kol_pach", "3"},
        {"kol_men", "25"}, {"kateg", "НР"},        {"doptar", ""}};
    for (auto [name, value] : variables)
        EXPECT_EQ(run.reports.var(name), value) << name;
    EXPECT_EQ(run.tables.Table5.RecordCount(), 1);
    EXPECT_EQ(run.at(run.tables.Table6, 0, "f_kol"), "ЗКНЦ") << "no placeholder where a line came";
}

TEST_F(Adv11Statement, StatementDateIsACalendarDateInTheShortDateFormat) {
    struct Case {
        const char* written;
        const char* shortDate;
        const char* stored; // empty: the run is aborted with `message`
        const char* message;
    };
    const Case cases[] = {
        {"05.03.2006", "dd.mm.yyyy", "05.03.2006", ""},
        {"05.03.2006", "d/m/yy", "5.3.06", ""}, // "/" stands for the date separator
        {"05.03.2006", "yyyy-mm-dd", "2006-03-05", ""},
        {"29.02.2004", "dd.mm.yyyy", "29.02.2004", ""},
        {"05-03-2006", "dd.mm.yyyy", "05.03.2006", ""}, // the separators are not looked at
        {"5.3.2006", "", "", "'5.' - неверное целое значение."},
        {"", "", "", "'' - неверное целое значение."},
        {"31.02.2006", "", "", "Неверный аргумент для формирования даты."},
        {"29.02.2005", "", "", "Неверный аргумент для формирования даты."},
        {"00.01.2006", "", "", "Неверный аргумент для формирования даты."},
        {"01.13.2006", "", "", "Неверный аргумент для формирования даты."},
    };
    for (const Case& c : cases) {
        SystemFormat f = format();
        if (*c.shortDate) f.shortDateFormat = c.shortDate;
        ScopedSystemFormat local(f);
        run.run("ВУПЛ", {statement(c.written)});
        if (*c.stored) {
            ASSERT_TRUE(run.shown()) << c.written << ": " << run.message();
            EXPECT_EQ(run.at(run.tables.Table1, 0, "F_DAT"), c.stored) << c.written;
        } else {
            EXPECT_FALSE(run.shown()) << c.written;
            EXPECT_EQ(run.message(), c.message) << c.written;
            EXPECT_FALSE(run.driver.batchFile().isOpen());
        }
    }
}

TEST_F(Adv11Statement, WithoutStatementLinesTheHeaderYearStays) {
    run.run("ВУПЛ", {"\"ЭЦПД\",\"3F2A\""});
    ASSERT_TRUE(run.shown());
    EXPECT_EQ(run.tables.Table1.RecordCount(), 0);
    for (TRxMemoryData* t : {&run.tables.Table4, &run.tables.Table5, &run.tables.Table6})
        EXPECT_EQ(t->RecordCount(), 1) << t->Name();
    EXPECT_EQ(run.reports.var("cYear"), "2005");
    EXPECT_FALSE(run.reports.variablesAtShow.Contains("dDat"));
}

TEST_F(Adv11Statement, MalformedAmountAbortsTheRun) {
    run.run("ВУПЛ", {"\"ЗНЧЛ\",\"2005\",12x,0,0", statement("05.03.2006")});
    EXPECT_FALSE(run.shown());
    EXPECT_EQ(run.message(), "'12x' - неверное дробное значение для поля 'f_sum1'");
    EXPECT_EQ(run.tables.Table1.RecordCount(), 0) << "nothing more is read";
}

} // namespace
