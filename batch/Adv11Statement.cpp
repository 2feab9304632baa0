#include "batch/Adv11Statement.h"

#include "batch/BatchDate.h"
#include "batch/BatchDriver.h"
#include "batch/BatchText.h"
#include "batch/FormTables.h"
#include "platform/CodePage.h"
#include "report/value/Variables.h"

namespace pv {
namespace {

void set(TRxMemoryData& table, const char* field, std::string_view text) {
    table.FieldByName(field).SetAsString(text);
}

void amount(TRxMemoryData& table, const char* field, const std::string& line, int n) {
    set(table, field, PointToDecimalSeparator(ExtractField(line, n)));
}

} // namespace

void Adv11Statement::ADV2002() {
    const std::string statement = ru("ВУПЛ");
    struct Detail {
        std::string code;
        TRxMemoryData& table;
        bool filled;
    };
    Detail details[] = {{ru("ЗНЧЛ"), tables_.Table4, false},
                        {ru("УПЛЧ"), tables_.Table5, false},
                        {ru("ЗКНЦ"), tables_.Table6, false}};
    bool first = true;
    BatchFile& file = driver_.batchFile();
    while (!file.atEnd()) {
        const std::string line = file.ReadBatchLine();
        const std::string code = ExtractField(line, 1);
        if (code == statement) {
            readStatement(line, first);
            first = false;
            continue;
        }
        for (Detail& d : details)
            if (code == d.code) {
                readDetail(line, d.code, d.table);
                d.filled = true;
            }
    }
    for (Detail& d : details) {
        if (d.filled) continue;
        d.table.Append();
        set(d.table, "f_kod", driver_.header().DefaultKod);
    }
    driver_.endOfRun(ReportId::frReport1, [this] {
        for (TRxMemoryData* t :
             {&tables_.Table1, &tables_.Table4, &tables_.Table5, &tables_.Table6})
            if (t->State() == TDataSetState::dsInsert || t->State() == TDataSetState::dsEdit)
                t->Post();
    });
}

void Adv11Statement::readStatement(const std::string& line, bool first) {
    TRxMemoryData& t = tables_.Table1;
    t.Append();
    set(t, "F_KOL", ExtractField(line, 1));
    if (first) {
        const char* names[] = {"cYear", "dDat", "kol_pach", "kol_men", "kateg", "doptar"};
        for (int i = 0; i < 6; ++i)
            frVariables().SetValue(names[i], Variant(ExtractField(line, 3 + i)));
    }
    // The date is checked as a calendar date and written the way this system writes dates.
    const double date = BatchDate(ExtractField(line, 4));
    static_cast<TStringField&>(t.FieldByName("F_DAT")).SetAsDateTime(date);
    set(t, "F_KOD", ExtractField(line, 9));
    const char* amounts[] = {"F_SUM1",     "F_SUM2",     "F_BOLN",     "F_ITZDSUM1",
                             "F_ITZDSUM2", "F_ITZDBOLN", "F_ITUPSUM1", "F_ITUPSUM2",
                             "f_itupboln", "f_itznsum1", "f_itznsum2", "F_ITZNBOLN"};
    for (int i = 0; i < 12; ++i)
        amount(t, amounts[i], line, 10 + i);
    set(t, "F_KOLZD", ExtractField(line, 23));
    set(t, "F_KOLUP", ExtractField(line, 24));
    set(t, "F_KOLZN", ExtractField(line, 25));
}

void Adv11Statement::readDetail(const std::string& line, const std::string& code,
                                TRxMemoryData& table) {
    table.Append();
    set(table, "f_kol", code);
    set(table, "f_kod", ExtractField(line, 2));
    amount(table, "f_sum1", line, 3);
    amount(table, "f_sum2", line, 4);
    amount(table, "f_boln", line, 5);
}

} // namespace pv
