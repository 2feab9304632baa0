#include "batch/FormTables.h"
#include "batch/BatchDriver.h"
#include "batch/FormParsers.h"
#include "batch/Szv4Records.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "report/value/Variables.h"

#include <gtest/gtest.h>

#include <map>

using namespace pv;

namespace {

std::string docTypeOf(const std::string* docType) {
    return docType ? *docType : std::string();
}

TEST(FormTables, LayoutsAndDataSources) {
    ScriptedUi ui;
    FormTables tables(ui, [] { return std::string(); });
    const std::map<std::string, std::pair<std::string, size_t>> expected = {
        {"Table2", {"frDBDataSet1", 46}},        {"Table3", {"frDBDataSet2", 16}},
        {"Table1", {"frDBDataSet3", 18}},        {"Table4", {"frDBDataSet4", 5}},
        {"Table5", {"frDBDataSet5", 5}},         {"Table6", {"frDBDataSet6", 5}},
        {"TableDEJT", {"frDBDataSetDEJT", 7}},   {"TableFid", {"frDBDataSetFid", 8}},
        {"TableFidVr", {"frDBDataSetFidVr", 8}}, {"TableFidVs", {"frDBDataSetFidVs", 8}},
        {"TableAnk", {"frDBDataSetAnk", 28}},    {"TableSvod", {"frDBDataSetSvod", 111}},
        {"AnkTable", {"frDBDAnkTabl", 46}}};
    ASSERT_EQ(tables.all().size(), expected.size());
    for (const auto& e : tables.all()) {
        const auto& [source, count] = expected.at(e.table->Name());
        EXPECT_EQ(e.dataSource, source);
        EXPECT_EQ(e.table->FieldDefs().size(), count) << e.table->Name();
        EXPECT_EQ(tables.byDataSource(source), e.table);
        EXPECT_EQ(tables.byName(e.table->Name()), e.table);
    }

    auto names = [](const TRxMemoryData& t, size_t from, size_t n) {
        std::string out;
        for (size_t i = from; i < from + n; ++i)
            out += t.FieldDefs()[i].Name + " ";
        return out;
    };
    EXPECT_EQ(names(tables.Table2, 0, 11),
              "F_Por F_Strax N_Dog F_Dat Kod_Vipl F_Fam F_Im F_Otch F_28 F_1 F_Doptar ");
    EXPECT_EQ(names(tables.Table2, 23, 12),
              "F_B1 F_B2 F_B3 F_B4 F_B5 F_B6 F_B7 F_B9 F_B8 F_B10 F_B11 F_B12 ");
    EXPECT_EQ(names(tables.Table2, 35, 11), "F_Kateg F_Vsego F_Boln F_Pr F_Adres F_strx F_Nakop "
                                            "F_Dop F_Bl F_Adm F_DataBu ");
    EXPECT_EQ(names(tables.TableSvod, 15, 8),
              "_01oSvod _01mSvod _01kSvod _01dSvod _01bSvod _01tSvod _01nSvod _01pSvod ");
    EXPECT_EQ(names(tables.TableSvod, 103, 8),
              "_12oSvod _12mSvod _12kSvod _12dSvod _12bSvod _12tSvod _12nSvod _12pSvod ");

    struct Def {
        const TRxMemoryData& table;
        const char* name;
        TFieldType type;
        int size;
    };
    const Def defs[] = {{tables.Table2, "F_Por", TFieldType::ftInteger, 0},
                        {tables.Table2, "F_Adres", TFieldType::ftString, 200},
                        {tables.Table3, "F_Por", TFieldType::ftString, 3},
                        {tables.Table3, "F_Priz", TFieldType::ftFloat, 0},
                        {tables.Table1, "F_KOD", TFieldType::ftString, 1},
                        {tables.Table4, "f_kod", TFieldType::ftString, 4},
                        {tables.TableSvod, "_11oSvod", TFieldType::ftString, 5},
                        {tables.TableSvod, "_12oSvod", TFieldType::ftString, 20},
                        {tables.TableSvod, "_07kSvod", TFieldType::ftInteger, 0},
                        {tables.AnkTable, "NowSDatBAnk", TFieldType::ftString, 20},
                        {tables.AnkTable, "NowOcMecAnk", TFieldType::ftString, 20},
                        {tables.TableDEJT, "D_Por", TFieldType::ftFloat, 0}};
    for (const Def& d : defs) {
        bool found = false;
        for (const FieldDef& f : d.table.FieldDefs()) {
            if (f.Name != d.name) continue;
            found = true;
            EXPECT_EQ(f.DataType, d.type) << d.table.Name() << "." << d.name;
            if (d.type == TFieldType::ftString) {
                EXPECT_EQ(f.Size, d.size) << d.name;
            }
        }
        EXPECT_TRUE(found) << d.table.Name() << "." << d.name;
    }
}

TEST(FormTables, OnlyTheQuestionnaireTableStartsOpenAndARunEmptiesSix) {
    ScriptedUi ui;
    FormTables tables(ui, [] { return std::string(); });
    for (const auto& e : tables.all())
        EXPECT_EQ(e.table->Active(), e.table == &tables.TableAnk) << e.table->Name();
    for (const auto& e : tables.all()) {
        e.table->Open();
        e.table->Append();
        e.table->Fields(0).SetAsString("1");
        e.table->Post();
    }
    tables.emptyRunTables();
    for (const auto& e : tables.all()) {
        const std::string& n = e.table->Name();
        const bool emptied = n == "Table1" || n == "Table2" || n == "Table3" || n == "Table4" ||
                             n == "Table5" || n == "Table6";
        EXPECT_TRUE(e.table->Active()) << n;
        EXPECT_EQ(e.table->RecordCount(), emptied ? 0 : 1) << n;
    }
}

// Walks the persons the way a report does: for each one, the period table is
// repositioned and its visible rows counted.
class WalkingReports : public ReportService {
public:
    explicit WalkingReports(FormTables& tables) : tables_(tables) {}
    void LoadFromFile(ReportId, const std::string&) override {}
    void PrepareAndPreview(ReportId) override {
        TRxMemoryData& persons = tables_.Table2;
        TRxMemoryData& periods = tables_.Table3;
        for (persons.First(); !persons.Eof(); persons.Next()) {
            std::vector<std::string> por;
            for (periods.First(); !periods.Eof(); periods.Next())
                por.push_back(periods.FieldByName("F_Por").AsString());
            seen.emplace_back(persons.FieldByName("F_Strax").AsString(), por);
        }
        allPeriods = periods.RecordCount();
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> seen;
    int allPeriods = 0;

private:
    FormTables& tables_;
};

TEST(FormTables, PeriodFilterShowsEachPersonItsOwnPeriods) {
    ScriptedUi ui;
    DriverContext context;
    context.commandLineArg = std::string(PV_SOURCE_DIR) + "/samples/szv_4_1.txt";
    const std::string* docType = nullptr;
    FormTables tables(ui, [&] { return docTypeOf(docType); });
    WalkingReports reports(tables);
    BatchDriver driver(context, ui, reports);
    docType = &driver.DocType();
    FormParsers parsers(tables);
    driver.setParsers(&parsers);

    driver.BitBtn13Click();
    ASSERT_TRUE(ui.messages().empty());
    using Rows = std::vector<std::string>;
    ASSERT_EQ(reports.seen.size(), 3u);
    EXPECT_EQ(reports.seen[0], std::make_pair(std::string("112-233-445 95"), Rows{"1", "2", "2"}));
    EXPECT_EQ(reports.seen[1], std::make_pair(std::string("123-456-789 64"), Rows{"1"}));
    EXPECT_EQ(reports.seen[2], std::make_pair(std::string("087-654-321 06"), Rows{"1", "2", "3"}));
    EXPECT_EQ(reports.allPeriods, 7);
    EXPECT_TRUE(tables.Table3.Filtered());

    // A second run starts from empty tables.
    reports.seen.clear();
    driver.BitBtn13Click();
    EXPECT_EQ(reports.seen.size(), 3u);
    EXPECT_EQ(tables.Table2.RecordCount(), 3);
    EXPECT_EQ(tables.Table3.RecordCount(), 7);
}

void addRow(TRxMemoryData& t, std::initializer_list<std::pair<const char*, const char*>> values) {
    t.Append();
    for (auto [name, value] : values)
        t.FieldByName(name).SetAsString(ru(value));
    t.Post();
}

std::string visible(TRxMemoryData& t, const char* field) {
    std::string out;
    for (t.First(); !t.Eof(); t.Next())
        out += t.FieldByName(field).AsString() + ";";
    return out;
}

TEST(FormTables, PackageFiltersFollowTheirMasters) {
    ScriptedUi ui;
    std::string docType = ru("КОНВ");
    FormTables tables(ui, [&] { return docType; });
    for (TRxMemoryData* t : {&tables.Table2, &tables.Table3, &tables.TableDEJT, &tables.TableFid,
                             &tables.TableFidVr, &tables.TableFidVs})
        t->Open();
    addRow(tables.Table2, {{"F_Strax", "A"}});
    addRow(tables.Table2, {{"F_Strax", "B"}});
    addRow(tables.TableDEJT, {{"D_Strax", "A"}, {"D_NamePredKey", "K1"}});
    addRow(tables.TableDEJT, {{"D_Strax", "B"}, {"D_NamePredKey", "K2"}});
    addRow(tables.TableDEJT, {{"D_Strax", "B"}, {"D_NamePredKey", "K3"}});
    for (const char* key : {"K1", "K3", "K3"})
        addRow(tables.Table3, {{"F_Strax", "B"}, {"F_NamePredKey", key}});
    for (TRxMemoryData* t : {&tables.TableFid, &tables.TableFidVr, &tables.TableFidVs}) {
        addRow(*t, {{"f_strax", "A"}, {"F_Tit", "1"}});
        addRow(*t, {{"f_strax", "B"}, {"F_Tit", "2"}});
    }
    for (TRxMemoryData* t : {&tables.Table3, &tables.TableDEJT, &tables.TableFid,
                             &tables.TableFidVr, &tables.TableFidVs})
        t->SetFiltered(true);

    tables.Table2.First();
    tables.Table2.Next(); // person B
    EXPECT_EQ(visible(tables.TableDEJT, "D_NamePredKey"), "K2;K3;");
    for (TRxMemoryData* t : {&tables.TableFid, &tables.TableFidVr, &tables.TableFidVs})
        EXPECT_EQ(visible(*t, "F_Tit"), "2;") << t->Name();
    tables.TableDEJT.First();
    tables.TableDEJT.Next(); // employer key K3
    EXPECT_EQ(visible(tables.Table3, "F_NamePredKey"), "K3;K3;");

    docType = ru("ИН41"); // now the periods follow the person
    EXPECT_EQ(visible(tables.Table3, "F_NamePredKey"), "K1;K3;K3;");
    tables.Table2.First();
    EXPECT_EQ(visible(tables.Table3, "F_NamePredKey"), "");
    EXPECT_TRUE(ui.messages().empty());
}

TEST(FormTables, FilterFailureIsShownAndTheWalkGoesOn) {
    ScriptedUi ui;
    FormTables tables(ui, [] { return ru("ИН41"); });
    tables.Table3.Open();
    addRow(tables.Table3, {{"F_Strax", "A"}});
    addRow(tables.Table3, {{"F_Strax", "B"}});
    tables.Table3.SetFiltered(true); // Table2 is closed: its field cannot be found
    EXPECT_EQ(visible(tables.Table3, "F_Strax"), "A;B;");
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].text), "Table2: Поле 'F_STRAX' не найдено.");
    EXPECT_EQ(ui.messages()[0].caption, programName());
    EXPECT_EQ(ui.messages()[0].icon, MsgIcon::Error);
}

TEST(Szv4Records, DurationTexts) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"3", "12", "3 мес. 12 дн."}, {"3", "0", "3 мес.  0 дн."},
        {"0", "5", "0 мес. 5 дн."},   {"0", "0", ""},
        {"", "", " мес.  дн."},       {"00", "0", "00 мес.  0 дн."}};
    for (auto [months, days, text] : cases)
        EXPECT_EQ(cp1251ToUtf8(durationText(months, days)), text) << months << "/" << days;
}

} // namespace
