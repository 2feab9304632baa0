#include "tests/support/BatchRun.h"

#include "batch/InventoryPackage.h"
#include "platform/SystemFormat.h"

#include <gtest/gtest.h>

using namespace pv;
using pv::testing::CommaBatchRun;

namespace {

const char* kPerson = "\"КОНВ\",1,\"\",\"123-456-789 01\",\"ИВАНОВ\",\"ИВАН\",\"ИВАНОВИЧ\",\"М\","
                      "\"12.03.1970\",12,5,3,\"НР\",0,2,1,0,\"31.12.2001\",1,1,1,1";
const char* kActivity = "\"ДЕЯТ\",1,\"ООО Ромашка, г. Казань\",\"1234\",3";

// A person line with the given counts of special records (fields 20 to 22).
std::string person(const std::string& number, const std::string& s8, const std::string& s9,
                   const std::string& s10) {
    return "\"КОНВ\",1,\"\",\"" + number +
           "\",\"ИВАНОВ\",\"ИВАН\",\"ИВАНОВИЧ\",\"М\",\"12.03.1970\",12,5,3,\"НР\",0,2,1,0,"
           "\"31.12.2001\",1," +
           s8 + "," + s9 + "," + s10;
}

// A period line with its fields 8 to 15 and 17 as given.
std::string period(const std::string& dop1, const std::string& dop2,
                   const std::string& koef = "1.00",
                   const std::string& work = "\"Цех №1, участок 2\",1") {
    return "\"ПСТЖ\",007,\"01/02/2003\",\"31.12.2003\",\"РКС\",\"27-1\",\"ЗП12А\"," + dop1 +
           ",\"ЗП\"," + dop2 + ",\"МКС\"," + koef + ",0," + work;
}

class InventoryPackage : public CommaBatchRun {};

TEST_F(InventoryPackage, ActivityLineAndItsKey) {
    run.run("КОНВ", {kPerson, kActivity, period("0,0,0,\"\"", "0,0,0.00")});
    ASSERT_TRUE(run.shown()) << run.message();
    TRxMemoryData& dejt = run.tables.TableDEJT;
    ASSERT_EQ(dejt.RecordCount(), 1);
    const std::string key = "1ООО Ромашка, г. Казань123-456-789 01";
    const std::pair<const char*, std::string> expected[] = {
        {"D_Strax", "123-456-789 01"},
        {"D_Tit", "ДЕЯТ"},
        {"D_Por", "1"},
        {"D_NamePred", "ООО Ромашка, г. Казань"},
        {"D_NamePredKey", key},
        {"D_KodWork", "1234"},
        {"D_KolCtrok", "3"}};
    for (const auto& [field, value] : expected)
        EXPECT_EQ(run.at(dejt, 0, field), value) << field;
    EXPECT_EQ(run.at(run.tables.Table3, 0, "F_NamePredKey"), key);
    EXPECT_EQ(run.at(run.tables.Table3, 0, "F_Strax"), "123-456-789 01");
}

TEST_F(InventoryPackage, ActivityKeyIsTheStoredTextsCutTo160) {
    const std::string longName(150, 'N');
    struct Case {
        std::string line;
        std::string key;
    };
    const Case cases[] = {
        {"\"ДЕЯТ\",01,\"ЗАО\",\"\",1", "1ЗАО123-456-789 01"},
        {"\"ДЕЯТ\",1,\"" + longName + "X\",\"\",1",
         ("1" + longName + "123-456-789 01").substr(0, 160)},
        {"\"ДЕЯТ\",,\"ЗАО\",\"\",", "ЗАО123-456-789 01"},
    };
    for (const Case& c : cases) {
        run.run("КОНВ", {kPerson, c.line, period("0,0,0,\"\"", "0,0,0.00")});
        ASSERT_TRUE(run.shown()) << c.line << ": " << run.message();
        EXPECT_EQ(run.at(run.tables.TableDEJT, 0, "D_NamePredKey"), c.key) << c.line;
        EXPECT_EQ(run.at(run.tables.Table3, 0, "F_NamePredKey"), c.key) << c.line;
    }
}

TEST_F(InventoryPackage, BlankSpecialRowsForZeroCounts) {
    struct Case {
        const char *s8, *s9, *s10;
        int fid, fidVr, fidVs;
    };
    const Case cases[] = {
        {"0", "2", "0.00", 1, 0, 1},
        {"", "0", "1", 0, 1, 0},
        {"0.0", "00", "0", 1, 1, 1},
        {"3", "", "", 0, 0, 0},
    };
    for (const Case& c : cases) {
        run.run("КОНВ", {person("111-111-111 11", c.s8, c.s9, c.s10)});
        ASSERT_TRUE(run.shown()) << run.message();
        const std::tuple<TRxMemoryData*, int, const char*> tables[] = {
            {&run.tables.TableFid, c.fid, "ТЕРР"},
            {&run.tables.TableFidVr, c.fidVr, "ОСОБ"},
            {&run.tables.TableFidVs, c.fidVs, "ВЫСЛ"}};
        for (auto [table, count, code] : tables) {
            ASSERT_EQ(table->RecordCount(), count)
                << table->Name() << " " << c.s8 << "/" << c.s9 << "/" << c.s10;
            if (!count) continue;
            EXPECT_EQ(run.at(*table, 0, "f_strax"), "111-111-111 11");
            EXPECT_EQ(run.at(*table, 0, "F_Tit"), code);
            EXPECT_EQ(run.at(*table, 0, "F_Pol"), "0");
            for (const char* empty : {"F_Kod", "F_God", "F_Mes", "F_Day", "F_NamePredKey"})
                EXPECT_EQ(run.at(*table, 0, empty), "") << empty;
        }
    }
}

TEST_F(InventoryPackage, ServicePeriodColumns) {
    run.run("КОНВ", {kPerson, kActivity, period("0,0,0,\"\"", "0,0,0.00", "1.50")});
    ASSERT_TRUE(run.shown()) << run.message();
    const std::pair<const char*, const char*> expected[] = {{"F_Por", "7"},
                                                            {"F_N", "01.02.2003"},
                                                            {"F_K", "31.12.2003"},
                                                            {"F_Usl", "РКС"},
                                                            {"F_Kod", "27-1"},
                                                            {"F_Osn1", "ЗП12А"},
                                                            {"F_Osn2", "ЗП"},
                                                            {"F_Ter", "МКС"},
                                                            {"F_Koef", "1,5"},
                                                            {"F_Dop1", ""},
                                                            {"F_Dop2", ""},
                                                            {"F_Part", "0"},
                                                            {"F_Work", "Цех №1, участок 2"}};
    for (auto [field, value] : expected)
        EXPECT_EQ(run.at(run.tables.Table3, 0, field), value) << field;
}

TEST_F(InventoryPackage, Dop1AndDop2Rules) {
    struct Case {
        const char* dop1; // fields 8 to 11
        const char* dop2; // fields 13 to 15
        const char* f_dop1;
        const char* f_dop2;
        const char* part;
    };
    const Case cases[] = {
        {"0,0,0,\"\"", "0,0,0", "", "", "0"},
        {"1,2,15,\"\"", "0,0,0", "1 - 2 - 15", "", "0"},
        {"0,0,0,\"ПОЛНЫЙ\"", "0,0,0", "ПОЛНЫЙ", "", "0"},
        {"0,0,1,\"\"", "0,0,0", "0 - 0 - 1", "", "0"},
        {"00,0,0,\"\"", "0,0,0", "00 - 0 - 0", "", "0"},
        {"0,0,0,\"\"", "0,0,0.5", "", "0.5", "0"},
        {"0,0,0,\"\"", "1,0,0.5", "", "1 - 0", "0,5"},
        {"0,0,0,\"\"", "2,6,0", "", "2 - 6", "0"},
        {"0,0,0,\"\"", "0,0,0.00", "", "", "0"},
    };
    for (const Case& c : cases) {
        run.run("КОНВ", {kPerson, kActivity, period(c.dop1, c.dop2)});
        ASSERT_TRUE(run.shown()) << c.dop1 << " " << c.dop2 << ": " << run.message();
        EXPECT_EQ(run.at(run.tables.Table3, 0, "F_Dop1"), c.f_dop1) << c.dop1;
        EXPECT_EQ(run.at(run.tables.Table3, 0, "F_Dop2"), c.f_dop2) << c.dop2;
        EXPECT_EQ(run.at(run.tables.Table3, 0, "F_Part"), c.part) << c.dop2;
    }
}

TEST_F(InventoryPackage, SubPeriodLineReadsTwoPlacesEarlier) {
    run.run("КОНВ", {kPerson, kActivity,
                     "\"ПЛГТ\",1,\"ДЛДЕТИ\",\"28-2\",\"ЗП\",1,2,3,\"\",\"ОСН\",0,0,0.5,\"МКС\","
                     "\"1.20\",0,\"Цех №1, участок 2\""});
    ASSERT_TRUE(run.shown()) << run.message();
    const std::pair<const char*, const char*> expected[] = {{"F_Por", ""},
                                                            {"F_N", ""},
                                                            {"F_K", ""},
                                                            {"F_Usl", "ДЛДЕТИ"},
                                                            {"F_Kod", "28-2"},
                                                            {"F_Osn1", "ЗП"},
                                                            {"F_Dop1", "1 - 2 - 3"},
                                                            {"F_Osn2", "ОСН"},
                                                            {"F_Dop2", "0.5"},
                                                            {"F_Part", "0"},
                                                            {"F_Ter", "МКС"},
                                                            {"F_Koef", "1,2"},
                                                            {"F_Work", "Цех №1, участок 2"}};
    for (auto [field, value] : expected)
        EXPECT_EQ(run.at(run.tables.Table3, 0, field), value) << field;
}

TEST_F(InventoryPackage, WorkplaceIsTheQuotedFieldAfterTheCoefficient) {
    struct Case {
        const char* koef;
        const char* tail; // the fields after the coefficient
        const char* work;
    };
    const Case cases[] = {
        {"1.00", "0,\"Склад\",1", "Склад"},
        {"1.00", "0,\"Склад, ворота 2\",1", "Склад, ворота 2"},
        {"1.00", "0,\"Склад\"", ""}, // the workplace last on the line: no closing `",`
        {"1.5", ",\"Склад\",1", "Склад"},
        {"1.12345", "0,\"Склад\",1", "Склад"},
        // A coefficient whose text occurs earlier in the line, or an empty one,
        // still leads to the workplace after it.
        {"1", "0,\"Склад\",1", "Склад"},
        {"", "0,\"Склад\",1", "Склад"},
        {"", "15,\"Склад\",1", "Склад"},
    };
    for (const Case& c : cases) {
        run.run("КОНВ", {kPerson, kActivity,
                         "\"ПСТЖ\",1,\"01.01.2003\",\"31.12.2003\",\"\",\"\",\"\",0,0,0,\"\",\"\","
                         "0,0,0,\"\"," +
                             std::string(c.koef) + "," + c.tail});
        ASSERT_TRUE(run.shown()) << c.koef << ": " << run.message();
        EXPECT_EQ(run.at(run.tables.Table3, 0, "F_Work"), c.work) << c.koef << " " << c.tail;
    }
}

TEST_F(InventoryPackage, LinesBeforeTheirMasterGetEmptyKeys) {
    run.run("КОНВ", {period("0,0,0,\"\"", "0,0,0"), "\"ТЕРР\",\"1\",\"РКС\",\"3\",\"2\",\"15\"",
                     kPerson, period("0,0,0,\"\"", "0,0,0"), "\"ЭЦПД\",\"00\""});
    ASSERT_TRUE(run.shown()) << run.message();
    TRxMemoryData& t3 = run.tables.Table3;
    ASSERT_EQ(t3.RecordCount(), 2);
    EXPECT_EQ(run.at(t3, 0, "F_Strax"), "");
    EXPECT_EQ(run.at(t3, 0, "F_NamePredKey"), "");
    EXPECT_EQ(run.at(t3, 1, "F_Strax"), "123-456-789 01");
    EXPECT_EQ(run.at(t3, 1, "F_NamePredKey"), "") << "no activity yet";
    TRxMemoryData& fid = run.tables.TableFid;
    ASSERT_EQ(fid.RecordCount(), 1);
    const std::pair<const char*, const char*> expected[] = {
        {"f_strax", ""}, {"F_Tit", "ТЕРР"}, {"F_Pol", "1"}, {"F_Kod", "РКС"},
        {"F_God", "3"},  {"F_Mes", "2"},    {"F_Day", "15"}};
    for (auto [field, value] : expected)
        EXPECT_EQ(run.at(fid, 0, field), value) << field;
}

TEST_F(InventoryPackage, MalformedNumbersAbortTheRun) {
    struct Case {
        std::string line;
        const char* message;
    };
    const Case cases[] = {
        {"\"ПСТЖ\",,\"01.01.2003\",\"31.12.2003\",\"\",\"\",\"\",0,0,0,\"\",\"\",0,0,0,\"\",1.00,0,"
         "\"С\",1",
         "'' - неверное целое значение."},
        {"\"ПСТЖ\",1,\"01.01.2003\",\"31.12.2003\",\"\",\"\",\"\",0,0,0,\"\",\"\",0,0,,\"\",1.00,0,"
         "\"С\",1",
         "'' - неверное дробное значение."},
        {"\"ПСТЖ\",1,\"01.01.2003\",\"31.12.2003\",\"\",\"\",\"\",0,0,0,\"\",\"\",0,0,0,\"\",x,0,"
         "\"С\",1",
         "'x' - неверное дробное значение для поля 'F_Koef'"},
        // no decimal-separator change for the activity's numbers
        {"\"ДЕЯТ\",1.5,\"ЗАО\",\"\",1", "'1.5' - неверное дробное значение для поля 'D_Por'"},
        {"\"ДЕЯТ\",1,\"ЗАО\",\"\",2.5", "'2.5' - неверное дробное значение для поля 'D_KolCtrok'"},
        {"\"КОНВ\",1.5,\"\",\"1\"", "'1.5' - неверное целое значение для поля 'F_Por'"},
    };
    for (const Case& c : cases) {
        run.run("КОНВ", {kPerson, c.line, kActivity});
        EXPECT_FALSE(run.shown()) << c.line;
        EXPECT_EQ(run.message(), c.message) << c.line;
        EXPECT_EQ(run.tables.TableDEJT.RecordCount(), 0) << "nothing more is read";
        EXPECT_FALSE(run.driver.batchFile().isOpen());
    }
}

TEST_F(InventoryPackage, CompositeReportOfThreeTemplates) {
    run.run("КОНВ", {kPerson});
    ASSERT_TRUE(run.shown());
    EXPECT_EQ(run.reports.shown, std::vector<ReportId>{ReportId::frCompositeReport1});
    EXPECT_TRUE(run.reports.doublePass);
    EXPECT_EQ(run.reports.members, (std::vector<ReportId>{ReportId::frReport1, ReportId::frReport2,
                                                          ReportId::frReport3}));
    for (TRxMemoryData* t : {&run.tables.TableDEJT, &run.tables.Table3, &run.tables.TableFid,
                             &run.tables.TableFidVr, &run.tables.TableFidVs})
        EXPECT_TRUE(t->Filtered()) << t->Name();
    EXPECT_FALSE(run.tables.Table2.Filtered());
    EXPECT_EQ(frVariables().Count(), 0);
}

// Walks the package as its templates do: persons, then each person's
// activities, then each activity's periods, and each person's special records.
std::string walk(FormTables& t) {
    std::string out;
    auto visible = [](TRxMemoryData& table, const char* field) {
        std::string s;
        for (table.First(); !table.Eof(); table.Next())
            s += " " + cp1251ToUtf8(table.FieldByName(field).AsString());
        return s;
    };
    for (t.Table2.First(); !t.Table2.Eof(); t.Table2.Next()) {
        out += cp1251ToUtf8(t.Table2.FieldByName("F_Strax").AsString()) + ":";
        for (t.TableDEJT.First(); !t.TableDEJT.Eof(); t.TableDEJT.Next())
            out += " [" + cp1251ToUtf8(t.TableDEJT.FieldByName("D_NamePred").AsString()) + ":" +
                   visible(t.Table3, "F_Work") + "]";
        out += " fid" + visible(t.TableFid, "F_Pol") + " vr" + visible(t.TableFidVr, "F_Pol") +
               " vs" + visible(t.TableFidVs, "F_Pol") + "\n";
    }
    return out;
}

TEST_F(InventoryPackage, FilteredTablesShowEachPersonAndActivityItsOwnRows) {
    run.reports.onShow = [&] {
        EXPECT_EQ(walk(run.tables),
                  "112-233-445 95: [ООО Ромашка, г. Казань: Цех №1, участок 2 Цех №1 Склад]"
                  " fid 1 vr 0 vs 0\n"
                  "123-456-789 64: [ЗАО Восток: Бухгалтерия] [ИП Сидоров А. В., г. Казань: "
                  "Магазин \"Уют\"] fid 0 vr 1 vs 1\n");
    };
    run.context.commandLineArg = std::string(PV_SOURCE_DIR) + "/samples/szv_k.txt";
    run.driver.BitBtn13Click();
    ASSERT_EQ(run.reports.shown.size(), 1u) << run.message();
}

TEST_F(InventoryPackage, SameActivityTwiceSharesItsPeriods) {
    run.reports.onShow = [&] {
        EXPECT_EQ(walk(run.tables), "123-456-789 01: [ООО Ромашка, г. Казань: А Б] "
                                    "[ООО Ромашка, г. Казань: А Б] fid 0 vr 0 vs 0\n");
    };
    const std::string tail = ",\"01.01.2003\",\"31.12.2003\",\"\",\"\",\"\",0,0,0,\"\",\"\",0,0,0,"
                             "\"\",1.00,0,";
    run.run("КОНВ", {person("123-456-789 01", "0", "0", "0"), kActivity,
                     "\"ПСТЖ\",1" + tail + "\"А\",1", kActivity, "\"ПСТЖ\",2" + tail + "\"Б\",1"});
    ASSERT_TRUE(run.shown()) << run.message();
}

TEST_F(InventoryPackage, AnIndividualRecordsBatchAfterAPackageFiltersByPerson) {
    run.run("КОНВ", {kPerson, kActivity, period("0,0,0,\"\"", "0,0,0")});
    ASSERT_TRUE(run.shown());
    run.reports.onShow = [&] {
        TRxMemoryData& persons = run.tables.Table2;
        persons.First();
        int visible = 0;
        for (run.tables.Table3.First(); !run.tables.Table3.Eof(); run.tables.Table3.Next())
            ++visible;
        EXPECT_EQ(visible, 1) << "ИН41 periods follow the person again";
    };
    run.run("ИН41",
            {"\"ИН41\",1,\"112-233-445 95\",\"А\",\"Б\",\"В\",\"01.01.1970\",\"\",1,1,0,0,0,"
             "0,0,0,1",
             "\"СТАЖ\",1,\"01.01.2005\",\"30.06.2005\",\"\",\"\",\"\",0,0,\"\",,0,0,0,\"\","
             ",0"});
    ASSERT_TRUE(run.shown()) << run.message();
}

} // namespace
