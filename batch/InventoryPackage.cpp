#include "batch/InventoryPackage.h"

#include "batch/BatchDriver.h"
#include "batch/BatchNumber.h"
#include "batch/BatchText.h"
#include "batch/FormTables.h"
#include "batch/TakeValue.h"
#include "platform/CodePage.h"

namespace pv {
namespace {

void set(TRxMemoryData& table, const char* field, std::string_view text) {
    table.FieldByName(field).SetAsString(text);
}

std::string text(TRxMemoryData& table, const char* field) {
    return table.FieldByName(field).AsString();
}

void number(TRxMemoryData& table, const char* field, const std::string& value) {
    set(table, field, PointToDecimalSeparator(value));
}

bool pending(const TRxMemoryData& t) {
    return t.State() == TDataSetState::dsInsert || t.State() == TDataSetState::dsEdit;
}

} // namespace

std::string afterField(const std::string& line, int anchor) {
    size_t start = 0;
    for (int i = 1; i < anchor; ++i) {
        const size_t comma = line.find(',', start);
        if (comma == std::string::npos) return {};
        start = comma + 1;
    }
    const size_t comma = line.find(',', start);
    return comma == std::string::npos ? std::string() : line.substr(comma + 1);
}

void InventoryPackage::SZVK() {
    TRxMemoryData* six[] = {&tables_.Table2,   &tables_.Table3,     &tables_.TableDEJT,
                            &tables_.TableFid, &tables_.TableFidVr, &tables_.TableFidVs};
    for (TRxMemoryData* t : six)
        t->Close();
    for (TRxMemoryData* t : six)
        t->Open();
    person_.clear();
    activityKey_.clear();

    BatchFile& file = driver_.batchFile();
    while (!file.atEnd()) {
        const std::string line = file.ReadBatchLine();
        const std::string code = ExtractField(line, 1);
        if (code == ru("КОНВ")) {
            readPerson(line);
            addBlankRows();
        } else if (code == ru("ДЕЯТ")) {
            readActivity(line);
        } else if (code == ru("ПСТЖ")) {
            readPeriod(line, 0);
        } else if (code == ru("ПЛГТ")) {
            readPeriod(line, 2);
        } else if (code == ru("ТЕРР")) {
            readSpecial(line, tables_.TableFid);
        } else if (code == ru("ОСОБ")) {
            readSpecial(line, tables_.TableFidVr);
        } else if (code == ru("ВЫСЛ")) {
            readSpecial(line, tables_.TableFidVs);
        }
    }

    for (TRxMemoryData* t : {&tables_.TableFid, &tables_.TableFidVr, &tables_.TableFidVs,
                             &tables_.Table2, &tables_.Table3, &tables_.TableDEJT})
        if (pending(*t)) t->Post();
    for (TRxMemoryData* t : {&tables_.TableDEJT, &tables_.Table3, &tables_.TableFid,
                             &tables_.TableFidVr, &tables_.TableFidVs})
        t->SetFiltered(true);

    ReportService& reports = driver_.reports();
    reports.SetDoublePassReport(true);
    reports.ClearCompositeReports();
    for (ReportId member : {ReportId::frReport1, ReportId::frReport2, ReportId::frReport3})
        reports.AddCompositeReport(member);
    driver_.endOfRun(ReportId::frCompositeReport1);
}

void InventoryPackage::readPerson(const std::string& line) {
    TRxMemoryData& t = tables_.Table2;
    t.Append();
    set(t, "F_Por", ExtractField(line, 2));
    set(t, "N_Dog", ExtractField(line, 3));
    person_ = ExtractField(line, 4);
    set(t, "F_Strax", person_);
    set(t, "F_Fam", ExtractField(line, 5));
    set(t, "F_Im", ExtractField(line, 6));
    set(t, "F_Otch", ExtractField(line, 7));
    set(t, "F_Pr", ExtractField(line, 8));
    set(t, "F_DataBu", ExtractField(line, 9));
    number(t, "F_S1", ExtractField(line, 10));
    number(t, "F_S2", ExtractField(line, 11));
    number(t, "F_S3", ExtractField(line, 12));
    set(t, "F_Kateg", ExtractField(line, 13));
    number(t, "F_28", ExtractField(line, 14));
    number(t, "F_S4", ExtractField(line, 15));
    number(t, "F_S5", ExtractField(line, 16));
    number(t, "F_S6", ExtractField(line, 17));
    set(t, "F_Dat", ExtractField(line, 18));
    number(t, "F_S7", ExtractField(line, 19));
    number(t, "F_S8", ExtractField(line, 20));
    number(t, "F_S9", ExtractField(line, 21));
    number(t, "F_S10", ExtractField(line, 22));
}

// A person whose count of special records of a kind is zero still gets one
// empty record of that kind, so the form prints its row.
void InventoryPackage::addBlankRows() {
    struct Kind {
        const char* count;
        TRxMemoryData& table;
        const char* code;
    };
    const Kind kinds[] = {{"F_S8", tables_.TableFid, "ТЕРР"},
                          {"F_S9", tables_.TableFidVr, "ОСОБ"},
                          {"F_S10", tables_.TableFidVs, "ВЫСЛ"}};
    for (const Kind& k : kinds) {
        if (text(tables_.Table2, k.count) != "0") continue;
        k.table.Append();
        set(k.table, "f_strax", person_);
        set(k.table, "F_Tit", ru(k.code));
        set(k.table, "F_Pol", "0");
        for (const char* empty : {"F_Kod", "F_God", "F_Mes", "F_Day"})
            set(k.table, empty, "");
    }
}

void InventoryPackage::readActivity(const std::string& line) {
    TRxMemoryData& t = tables_.TableDEJT;
    t.Append();
    const size_t quote = line.find('"');
    std::string rest = quote == std::string::npos ? line : line.substr(quote + 1);
    set(t, "D_Strax", person_);
    set(t, "D_Tit", TakeValue(rest, "\","));
    set(t, "D_Por", TakeValue(rest, ",", 1));
    set(t, "D_NamePred", TakeValue(rest, "\",\""));
    activityKey_ = text(t, "D_Por") + text(t, "D_NamePred") + person_;
    set(t, "D_NamePredKey", activityKey_);
    activityKey_ = text(t, "D_NamePredKey");
    set(t, "D_KodWork", TakeValue(rest, "\","));
    set(t, "D_KolCtrok", rest);
}

void InventoryPackage::readPeriod(const std::string& line, int shift) {
    TRxMemoryData& t = tables_.Table3;
    auto field = [&](int n) { return ExtractField(line, n - shift); };
    t.Append();
    set(t, "F_Strax", person_);
    set(t, "F_NamePredKey", activityKey_);
    if (shift == 0) {
        set(t, "F_Por", std::to_string(BatchInteger(ExtractField(line, 2))));
        set(t, "F_N", NormalizeDate(ExtractField(line, 3)));
        set(t, "F_K", NormalizeDate(ExtractField(line, 4)));
    }
    set(t, "F_Usl", field(5));
    set(t, "F_Kod", field(6));
    set(t, "F_Osn1", field(7));

    const std::string dop1a = field(8), dop1b = field(9), dop1c = field(10), dop1 = field(11);
    if (!dop1.empty())
        set(t, "F_Dop1", dop1);
    else if (dop1a == "0" && dop1b == "0" && dop1c == "0")
        set(t, "F_Dop1", "");
    else
        set(t, "F_Dop1", dop1a + " - " + dop1b + " - " + dop1c);

    set(t, "F_Osn2", field(12));
    t.FieldByName("F_Part").SetAsFloat(0);
    const std::string dop2a = field(13), dop2b = field(14), part = field(15);
    const double share = BatchFloat(PointToDecimalSeparator(part));
    if (!(dop2a == "0" && dop2b == "0")) {
        set(t, "F_Dop2", dop2a + " - " + dop2b);
        if (share != 0) number(t, "F_Part", part);
    } else {
        set(t, "F_Dop2", share != 0 ? part : std::string());
    }

    set(t, "F_Ter", field(16));
    number(t, "F_Koef", field(17));

    // The workplace is the quoted field after the bare one that follows the
    // coefficient; it may hold commas.
    std::string rest = afterField(line, 17 - shift);
    TakeValue(rest, ",\"");
    set(t, "F_Work", TakeValue(rest, shift == 0 ? "\"," : "\""));
}

void InventoryPackage::readSpecial(const std::string& line, TRxMemoryData& table) {
    table.Append();
    set(table, "f_strax", person_);
    set(table, "F_Tit", ExtractField(line, 1));
    set(table, "F_Pol", ExtractField(line, 2));
    set(table, "F_Kod", ExtractField(line, 3));
    set(table, "F_God", ExtractField(line, 4));
    set(table, "F_Mes", ExtractField(line, 5));
    set(table, "F_Day", ExtractField(line, 6));
}

} // namespace pv
