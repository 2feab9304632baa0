#include "batch/FormTables.h"

#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/UnhandledError.h"

namespace pv {
namespace {

FieldDef str(std::string name, int size) {
    return {std::move(name), TFieldType::ftString, size};
}
FieldDef integer(std::string name) {
    return {std::move(name), TFieldType::ftInteger, 0};
}
FieldDef real(std::string name) {
    return {std::move(name), TFieldType::ftFloat, 0};
}

std::vector<FieldDef> table2Fields() {
    std::vector<FieldDef> f = {integer("F_Por"), str("F_Strax", 14),  str("N_Dog", 20),
                                str("F_Dat", 10), str("Kod_Vipl", 16), str("F_Fam", 40),
                                str("F_Im", 40),  str("F_Otch", 40),   real("F_28"),
                                real("F_1"),      str("F_Doptar", 5)};
    for (int m = 1; m <= 12; ++m)
        f.push_back(real("F_S" + std::to_string(m)));
    // The monthly block keeps F_B9 ahead of F_B8; templates rely on the stored order.
    for (int m : {1, 2, 3, 4, 5, 6, 7, 9, 8, 10, 11, 12})
        f.push_back(real("F_B" + std::to_string(m)));
    for (auto def : {str("F_Kateg", 4), real("F_Vsego"), real("F_Boln"), str("F_Pr", 12),
                     str("F_Adres", 200), real("F_strx"), real("F_Nakop"), real("F_Dop"),
                     str("F_Bl", 15), str("F_Adm", 15), str("F_DataBu", 10)})
        f.push_back(def);
    return f;
}

std::vector<FieldDef> table3Fields() {
    return {str("F_Strax", 14), str("F_Por", 3),   str("F_N", 10),     str("F_K", 10),
            str("F_Ter", 10),   real("F_Koef"),    str("F_Usl", 10),   str("F_Osn1", 10),
            str("F_Dop1", 15),  str("F_Osn2", 10), str("F_Dop2", 10),  str("F_Kod", 20),
            real("F_Part"),     real("F_Priz"),    str("F_Work", 100), str("F_NamePredKey", 160)};
}

std::vector<FieldDef> table1Fields() {
    return {str("F_KOL", 5),    str("F_KOD", 1),    real("F_SUM1"),     real("F_SUM2"),
            real("F_BOLN"),     real("F_ITZDSUM1"), real("F_ITZDSUM2"), real("F_ITZDBOLN"),
            real("F_ITUPSUM1"), real("F_ITUPSUM2"), real("f_itupboln"), real("f_itznsum1"),
            real("f_itznsum2"), real("F_ITZNBOLN"), str("F_DAT", 10),   str("F_KOLZD", 3),
            str("F_KOLUP", 3),  str("F_KOLZN", 3)};
}

std::vector<FieldDef> paymentGroupFields() {
    return {str("f_kol", 5), str("f_kod", 4), real("f_sum1"), real("f_sum2"), real("f_boln")};
}

std::vector<FieldDef> dejtFields() {
    return {str("D_Strax", 14),     str("D_Tit", 5),           real("D_Por"),
            str("D_NamePred", 150), str("D_NamePredKey", 160), str("D_KodWork", 20),
            real("D_KolCtrok")};
}

std::vector<FieldDef> fidFields() {
    return {str("f_strax", 14), str("F_NamePredKey", 160), str("F_Tit", 5),  str("F_Pol", 3),
            str("F_Kod", 10),   str("F_God", 20),          str("F_Mes", 20), str("F_Day", 20)};
}

std::vector<FieldDef> tableAnkFields() {
    return {
        str("TipAnk", 5),      str("NomAnk", 3),      str("DataAnk", 10),    str("FamAnk", 40),
        str("NamAnk", 40),     str("OtjAnk", 40),     str("SexAnk", 1),      str("TipDatBAnk", 10),
        str("DatBurAnk", 10),  str("OcDayAnk", 2),    str("OcMecAnk", 2),    str("OcGodAnk", 4),
        str("TipRojAnk", 10),  str("GorAnk", 100),    str("OblAnk", 100),    str("RegAnk", 100),
        str("CtrAnk", 100),    str("GragAnk", 50),    str("FidDocAnk", 60),  str("DocAnk", 150),
        str("SerAnk", 4),      str("SerIIAnk", 4),    str("NonDocAnk", 15),  str("DataDocAnk", 10),
        str("FanDocAnk", 150), str("AdrFakAnk", 250), str("AdrRegAnk", 250), str("TelAnk", 100)};
}

std::vector<FieldDef> ankTableFields() {
    return {str("TipAnk", 4),        str("NomAnk", 3),       str("DatAnk", 10),
            str("FamAnk", 40),       str("NamAnk", 40),      str("PrtAnk", 40),
            str("SexAnk", 1),        str("TipDatBAnk", 8),   str("SDatBAnk", 10),
            str("OcDayAnk", 2),      str("OcMecAnk", 2),     str("OcGodAnk", 4),
            str("TipRojAnk", 8),     str("TwnAnk", 40),      str("DisAnk", 40),
            str("RegAnk", 40),       str("CtrAnk", 40),      str("NowFamAnk", 40),
            str("NowNamAnk", 40),    str("NowPrtAnk", 40),   str("NowSexAnk", 1),
            str("NowTipDatBAnk", 8), str("NowSDatBAnk", 20), str("NowOcDayAnk", 2),
            str("NowOcMecAnk", 20),  str("NowOcGodAnk", 4),  str("NowTipRojAnk", 8),
            str("NowTwnAnk", 40),    str("NowDisAnk", 40),   str("NowRegAnk", 40),
            str("NowCtrAnk", 40),    str("CitAnk", 20),      str("NoPrtAnk", 3),
            str("NoBrjAnk", 3),      str("PspKodAnk", 20),   str("PspNameAnk", 100),
            str("PspSfiAnk", 8),     str("PspSneAnk", 8),    str("PspNbrAnk", 20),
            str("PspDatAnk", 10),    str("PspRegAnk", 150),  str("AdrRegAnk", 180),
            str("AdrFakAnk", 180),   str("PhnAnk", 80),      str("SNabAnk", 14),
            str("SzvAnk", 9)};
}

std::vector<FieldDef> tableSvodFields() {
    std::vector<FieldDef> f = {str("TipSvod", 4),   str("NomSvod", 4),   str("KolSvod", 4),
                                str("KolSSvod", 4),  real("ZadSvod"),     str("TarSvod", 5),
                                str("OtSvod", 1),    str("GotSvod", 4),   str("FalSvod", 5),
                                real("ItogSvod"),    real("ItogBolSvod"), real("ItogNaSvod"),
                                real("ItogPerSvod"), str("DateSvod", 10), str("SSvod", 2)};
    for (int g = 1; g <= 12; ++g) {
        const std::string n = (g < 10 ? "_0" : "_") + std::to_string(g);
        f.push_back(str(n + "oSvod", g == 12 ? 20 : 5));
        f.push_back(str(n + "mSvod", 2));
        f.push_back(integer(n + "kSvod"));
        f.push_back(real(n + "dSvod"));
        f.push_back(real(n + "bSvod"));
        f.push_back(str(n + "tSvod", 1));
        f.push_back(real(n + "nSvod"));
        f.push_back(real(n + "pSvod"));
    }
    return f;
}

// The compared value of the master's current row; a closed master has none,
// and that failure reaches the user through the table's exception handler.
bool sameAs(TRxMemoryData& detail, const char* detailField, TRxMemoryData& master,
            const char* masterField) {
    return detail.FieldByName(detailField).AsString() == master.FieldByName(masterField).AsString();
}

} // namespace

FormTables::FormTables(Ui& ui, std::function<std::string()> docType)
    : Table2("Table2", table2Fields()), Table3("Table3", table3Fields()),
      Table1("Table1", table1Fields()), Table4("Table4", paymentGroupFields()),
      Table5("Table5", paymentGroupFields()), Table6("Table6", paymentGroupFields()),
      TableDEJT("TableDEJT", dejtFields()), TableFid("TableFid", fidFields()),
      TableFidVr("TableFidVr", fidFields()), TableFidVs("TableFidVs", fidFields()),
      TableAnk("TableAnk", tableAnkFields()), TableSvod("TableSvod", tableSvodFields()),
      AnkTable("AnkTable", ankTableFields()), docType_(std::move(docType)) {
    all_ = {{&Table2, "frDBDataSet1"},         {&Table3, "frDBDataSet2"},
            {&Table1, "frDBDataSet3"},         {&Table4, "frDBDataSet4"},
            {&Table5, "frDBDataSet5"},         {&Table6, "frDBDataSet6"},
            {&TableDEJT, "frDBDataSetDEJT"},   {&TableFid, "frDBDataSetFid"},
            {&TableFidVr, "frDBDataSetFidVr"}, {&TableFidVs, "frDBDataSetFidVs"},
            {&TableAnk, "frDBDataSetAnk"},     {&TableSvod, "frDBDataSetSvod"},
            {&AnkTable, "frDBDAnkTabl"}};
    auto report = [&ui](const std::exception& e) { ShowException(ui, dialogText(e)); };
    for (const Entry& e : all_)
        e.table->SetExceptionHandler(report);

    Table3.SetOnFilterRecord([this](TRxMemoryData& t, bool& a) { Table3FilterRecord(t, a); });
    TableDEJT.SetOnFilterRecord([this](TRxMemoryData& t, bool& a) { TableDEJTFilterRecord(t, a); });
    for (TRxMemoryData* t : {&TableFid, &TableFidVr, &TableFidVs})
        t->SetOnFilterRecord([this](TRxMemoryData& t, bool& a) { TableFidFilterRecord(t, a); });
    TableAnk.Open();
}

TRxMemoryData* FormTables::byName(std::string_view name) const {
    for (const Entry& e : all_)
        if (e.table->Name() == name) return e.table;
    return nullptr;
}

TRxMemoryData* FormTables::byDataSource(std::string_view dataSource) const {
    for (const Entry& e : all_)
        if (dataSource == e.dataSource) return e.table;
    return nullptr;
}

void FormTables::emptyRunTables() {
    TRxMemoryData* run[] = {&Table1, &Table2, &Table3, &Table4, &Table5, &Table6};
    for (TRxMemoryData* t : run)
        t->Close();
    for (TRxMemoryData* t : run)
        t->Open();
}

void FormTables::Table3FilterRecord(TRxMemoryData& table, bool& Accept) {
    if (docType_() == ru("КОНВ"))
        Accept = sameAs(table, "F_NamePredKey", TableDEJT, "D_NamePredKey");
    else
        Accept = sameAs(table, "F_STRAX", Table2, "F_STRAX");
}

void FormTables::TableDEJTFilterRecord(TRxMemoryData& table, bool& Accept) {
    Accept = sameAs(table, "D_Strax", Table2, "F_Strax");
}

void FormTables::TableFidFilterRecord(TRxMemoryData& table, bool& Accept) {
    Accept = sameAs(table, "F_Strax", Table2, "F_Strax");
}

} // namespace pv
