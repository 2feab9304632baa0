#include "tests/support/BatchRun.h"

#include <gtest/gtest.h>

using namespace pv;
using pv::testing::BatchRun;

namespace {

using Columns = std::vector<std::pair<const char*, std::string>>;

const char* kQuestionnaire =
    "\"АНКТ\",1,\"01.02.2003\",\"ИВАНОВ\",\"ИВАН\",\"ИВАНОВИЧ\",\"М\",\"ОСОБАЯ\",\"\",15,03,1960,"
    "\"СТАНДАРТНОЕ\",\"Г. КАЗАНЬ\",\"\",\"\",\"РОССИЯ\",\"РФ\",\"21\",\"ПАСПОРТ ГРАЖДАНИНА РФ\","
    "\"92\",\"03\",123456,\"10.10.2001\",\"ОВД, Г. КАЗАНИ\",\"ул. Мира, д. 5, кв. 7\","
    "\"ул. Мира, д. 5, кв. 7\",\"22-33-44\"";

const char* kExchange =
    "\"ОБМН\",2,\"05.06.2003\",\"123-456-789 01\",\"ПЕТРОВ\",\"ПЕТР\",\"ПЕТРОВИЧ\",\"СИДОРОВ\","
    "\"ПЕТР\",\"ПЕТРОВИЧ\",\"М\",\"ОСОБАЯ\",\"\",15,03,1960,\"СТАНДАРТНОЕ\",\"КАЗАНЬ\",\"\",\"\","
    "\"РОССИЯ\",\"РФ\",\"\",\"\",\"21\",\"ПАСПОРТ\",\"92\",\"03\",654321,\"10.10.2001\",\"ОВД\","
    "\"адрес 1, кв. 2\",\"адрес 3\",\"тел\"";

// A duplicate line: the earlier data with the given birth date and its parts,
// then the data now, the document, and the two last fields.
std::string duplicate(const std::string& birth = "\"01.01.1960\",,,,") {
    return "\"ДУБЛ\",3,\"12.09.2003\",\"ИВАНОВА\",\"АННА\",\"ПЕТРОВНА\",\"Ж\",\"ОСОБАЯ\"," + birth +
           "\"СТАНДАРТНОЕ\",\"Г. КАЗАНЬ\",\"Р-Н\",\"ОБЛ\",\"РОССИЯ\",\"СМИРНОВА\",\"АННА\","
           "\"ПЕТРОВНА\",\"Ж\",\"\",\"02.01.1960\",2,1,1960,\"СТАНДАРТ\",\"Г. ЕЛАБУГА\",\"\",\"\","
           "\"РОССИЯ\",\"РФ\",\"A1\",\"B2\",\"21\",\"ПАСПОРТ\",\"92\",\"01\",333444,\"11.11.2002\","
           "\"ОВД, Г. КАЗАНИ\",\"ул. Баумана, 7\",\"ул. Кремлевская, 1\",\"236-00-00\","
           "\"112-233-445 95\",\"УТЕРЯНО\"";
}

void expectColumns(BatchRun& run, TRxMemoryData& table, int row, const Columns& columns,
                   const std::string& context) {
    for (const auto& [column, value] : columns)
        EXPECT_EQ(run.at(table, row, column), value) << context << " " << column;
}

TEST(ApplicationRecords, QuestionnaireLine) {
    BatchRun run;
    run.run("АНКТ", {kQuestionnaire});
    ASSERT_TRUE(run.shown()) << run.message();
    ASSERT_EQ(run.tables.TableAnk.RecordCount(), 1);
    expectColumns(run, run.tables.TableAnk, 0,
                  {{"TipAnk", "АНКТ"},
                   {"NomAnk", "1"},
                   {"DataAnk", "01.02.2003"},
                   {"FamAnk", "ИВАНОВ"},
                   {"OtjAnk", "ИВАНОВИЧ"},
                   {"SexAnk", "М"},
                   {"TipDatBAnk", "ОСОБАЯ"},
                   {"DatBurAnk", ""},
                   {"OcDayAnk", "15"},
                   {"OcMecAnk", "03"},
                   {"OcGodAnk", "1960"},
                   {"TipRojAnk", "СТАНДАРТНО"}, // cut to the column's ten
                   {"GorAnk", "Г. КАЗАНЬ"},
                   {"OblAnk", ""},
                   {"CtrAnk", "РОССИЯ"},
                   {"GragAnk", "РФ"},
                   {"FidDocAnk", "21"},
                   {"DocAnk", "ПАСПОРТ ГРАЖДАНИНА РФ"},
                   {"SerAnk", "92"},
                   {"SerIIAnk", "03"},
                   {"NonDocAnk", "123456"},
                   {"DataDocAnk", "10.10.2001"},
                   {"FanDocAnk", "ОВД, Г. КАЗАНИ"},
                   {"AdrFakAnk", "ул. Мира, д. 5, кв. 7"},
                   {"AdrRegAnk", "ул. Мира, д. 5, кв. 7"},
                   {"TelAnk", "22-33-44"}},
                  "АНКТ");
}

// The questionnaire line with one written value replaced.
std::string questionnaireWith(const std::string& from, const std::string& to) {
    std::string line = kQuestionnaire;
    line.replace(line.find(from), from.size(), to);
    return line;
}

TEST(ApplicationRecords, QuestionnaireValuesAreTakenAsWritten) {
    const std::string name40(40, 'N');
    struct Case {
        std::string line;
        Columns columns;
    };
    const Case cases[] = {
        {questionnaireWith("\"01.02.2003\"", "\"1.2.2003\""),
         {{"DataAnk", "1.2.2003"}, {"FamAnk", "ИВАНОВ"}}},
        {questionnaireWith("\"ИВАНОВ\",\"ИВАН\"", "\"" + name40 + "\",\"" + name40 + "XYZ\""),
         {{"FamAnk", name40}, {"NamAnk", name40}, {"OtjAnk", "ИВАНОВИЧ"}}},
        {questionnaireWith("\"ОВД, Г. КАЗАНИ\"", "\"ОВД \"\"ЦЕНТР\"\", Г. КАЗАНИ\""),
         {{"FanDocAnk", "ОВД \"\"ЦЕНТР\"\", Г. КАЗАНИ"}, {"TelAnk", "22-33-44"}}},
        // short lines: the row is added with what could be read
        {"\"АНКТ\",7", {{"TipAnk", "АНКТ"}, {"NomAnk", ""}, {"DataAnk", ""}, {"TelAnk", ""}}},
        {"\"АНКТ\",7,\"01.02.2003\"", {{"NomAnk", "7"}, {"DataAnk", ""}, {"TelAnk", ""}}},
        {"\"АНКТ\"", {{"TipAnk", ""}, {"TelAnk", ""}}},
    };
    for (const Case& c : cases) {
        BatchRun run;
        run.run("АНКТ", {c.line});
        ASSERT_TRUE(run.shown()) << c.line;
        ASSERT_EQ(run.tables.TableAnk.RecordCount(), 1) << c.line;
        expectColumns(run, run.tables.TableAnk, 0, c.columns, c.line);
    }
}

TEST(ApplicationRecords, OnlyTheParsersOwnLinesMakeRows) {
    BatchRun run;
    std::string second = kQuestionnaire, third = kQuestionnaire;
    second.replace(second.find(",1,"), 3, ",2,");
    third.replace(third.find(",1,"), 3, ",3,");
    run.run("АНКТ", {kQuestionnaire, "\"ЭЦПД\",\"3F\"", second, kExchange, third});
    ASSERT_TRUE(run.shown());
    TRxMemoryData& ank = run.tables.TableAnk;
    ASSERT_EQ(ank.RecordCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(run.at(ank, i, "NomAnk"), std::to_string(i + 1));

    run.run("АНКТ", {"\"ЭЦПД\",\"3F\""});
    EXPECT_TRUE(run.shown()) << "an empty table still prints";
    EXPECT_EQ(ank.RecordCount(), 0) << "each run starts empty";
}

TEST(ApplicationRecords, ExchangeLine) {
    BatchRun run;
    run.run("ОБМН", {kExchange});
    ASSERT_TRUE(run.shown()) << run.message();
    ASSERT_EQ(run.tables.AnkTable.RecordCount(), 1);
    expectColumns(run, run.tables.AnkTable, 0,
                  {{"TipAnk", "ОБМН"},
                   {"NomAnk", "2"},
                   {"DatAnk", "05.06.2003"},
                   {"SNabAnk", "123-456-789 01"},
                   {"FamAnk", "ПЕТРОВ"},
                   {"PrtAnk", "ПЕТРОВИЧ"},
                   {"NowFamAnk", "СИДОРОВ"},
                   {"NowSexAnk", "М"},
                   {"NowTipDatBAnk", "ОСОБАЯ"},
                   {"NowSDatBAnk", ""},
                   {"NowOcDayAnk", "15"},
                   {"NowOcMecAnk", "03"},
                   {"NowOcGodAnk", "1960"},
                   {"NowTipRojAnk", "СТАНДАРТ"},
                   {"NowTwnAnk", "КАЗАНЬ"},
                   {"NowCtrAnk", "РОССИЯ"},
                   {"CitAnk", "РФ"},
                   {"NoPrtAnk", ""},
                   {"PspKodAnk", "21"},
                   {"PspNameAnk", "ПАСПОРТ"},
                   {"PspSneAnk", "03"},
                   {"PspNbrAnk", "654321"},
                   {"PspDatAnk", "10.10.2001"},
                   {"PspRegAnk", "ОВД"},
                   {"AdrRegAnk", "адрес 1, кв. 2"},
                   {"AdrFakAnk", "адрес 3"},
                   {"PhnAnk", "тел"},
                   {"SexAnk", ""},
                   {"SDatBAnk", ""},
                   {"TwnAnk", ""},
                   {"SzvAnk", ""}},
                  "ОБМН");
}

TEST(ApplicationRecords, DuplicateLine) {
    struct Case {
        std::string birth;
        Columns columns;
    };
    const Case cases[] = {
        {"\"01.01.1960\",,,,",
         {{"TipAnk", "ДУБЛ"},
          {"NomAnk", "3"},
          {"DatAnk", "12.09.2003"},
          {"FamAnk", "ИВАНОВА"},
          {"SexAnk", "Ж"},
          {"TipDatBAnk", "ОСОБАЯ"},
          {"SDatBAnk", "01.01.1960"},
          {"OcDayAnk", ""},
          {"OcMecAnk", ""},
          {"OcGodAnk", ""},
          {"TipRojAnk", "СТАНДАРТ"},
          {"TwnAnk", "Г. КАЗАНЬ"},
          {"DisAnk", "Р-Н"},
          {"RegAnk", "ОБЛ"},
          {"CtrAnk", "РОССИЯ"},
          {"NowFamAnk", "СМИРНОВА"},
          {"NowSDatBAnk", "02.01.1960"},
          {"NowOcDayAnk", "2"},
          {"NowOcMecAnk", "1"},
          {"NowOcGodAnk", "1960"},
          {"NowTwnAnk", "Г. ЕЛАБУГА"},
          {"CitAnk", "РФ"},
          {"NoPrtAnk", "A1"},
          {"NoBrjAnk", "B2"},
          {"PspNbrAnk", "333444"},
          {"PspRegAnk", "ОВД, Г. КАЗАНИ"},
          {"AdrRegAnk", "ул. Баумана, 7"},
          {"AdrFakAnk", "ул. Кремлевская, 1"},
          {"PhnAnk", "236-00-00"},
          {"SNabAnk", "112-233-445 95"},
          {"SzvAnk", "УТЕРЯНО"}}},
        {"\"\",15,03,1960,",
         {{"SDatBAnk", ""},
          {"OcDayAnk", "15"},
          {"OcMecAnk", "03"},
          {"OcGodAnk", "1960"},
          {"SzvAnk", "УТЕРЯНО"}}},
    };
    for (const Case& c : cases) {
        BatchRun run;
        run.run("ДУБЛ", {duplicate(c.birth)});
        ASSERT_TRUE(run.shown()) << run.message();
        ASSERT_EQ(run.tables.AnkTable.RecordCount(), 1);
        expectColumns(run, run.tables.AnkTable, 0, c.columns, c.birth);
    }
}

TEST(ApplicationRecords, ExchangeAfterDuplicateShowsOnlyItsOwnRows) {
    BatchRun run;
    run.run("ДУБЛ", {duplicate(), duplicate(), kExchange});
    ASSERT_EQ(run.tables.AnkTable.RecordCount(), 2);
    run.run("ОБМН", {duplicate(), kExchange});
    ASSERT_TRUE(run.shown());
    ASSERT_EQ(run.tables.AnkTable.RecordCount(), 1);
    EXPECT_EQ(run.at(run.tables.AnkTable, 0, "TipAnk"), "ОБМН");
}

} // namespace
