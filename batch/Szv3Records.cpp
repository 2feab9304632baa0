#include "batch/Szv3Records.h"

#include "batch/BatchDriver.h"
#include "batch/BatchNumber.h"
#include "batch/BatchText.h"
#include "batch/FormTables.h"
#include "batch/Szv4Records.h"
#include "platform/CodePage.h"
#include "report/value/Variables.h"

namespace pv {
namespace {

void set(TRxMemoryData& table, const char* field, std::string_view text) {
    table.FieldByName(field).SetAsString(text);
}

struct Totals {
    double vsego = 0, boln = 0, vzn28 = 0, vzn1 = 0;
};

} // namespace

void Szv3Records::Before2002() {
    const std::string inds = ru("ИНДС"), in20 = ru("ИН20"), in30 = ru("ИН30");
    BatchFile& file = driver_.batchFile();
    TRxMemoryData& persons = tables_.Table2;
    Totals totals;
    BatchLineFields personLine, monthLine;
    std::string tip;

    while (!file.atEnd()) {
        const std::string line = file.ReadBatchLine();
        personLine.split(line, 22);
        const std::string_view code = personLine(1);
        if (code != inds && code != in20 && code != in30) continue;
        auto field = [&personLine](int n) { return personLine(n); };

        int periods = 0;
        if (code == in30) periods = BatchInteger(field(22));
        if (code == in20) periods = BatchInteger(field(21));

        // The "ИС" variant carries one more field in front.
        const int s = field(2).substr(0, 2) == ru("ИС") ? 1 : 0;
        tip = std::string(field(3 + s));
        if (totals.vsego == 0) {
            frVariables().SetValue("cYear", Variant(std::string(field(9 + s))));
            frVariables().SetValue("kvart", Variant(std::string(field(8 + s))));
        }

        persons.Append();
        const std::string insuranceNumber(field(4 + s));
        set(persons, "F_Por", field(2 + s));
        set(persons, "F_Strax", insuranceNumber);
        set(persons, "F_Fam", field(5 + s));
        set(persons, "F_Im", field(6 + s));
        set(persons, "F_Otch", field(7 + s));
        set(persons, "N_Dog", field(10 + s));
        set(persons, "F_Dat", field(11 + s));
        set(persons, "Kod_Vipl", field(12 + s));
        set(persons, "F_Kateg", field(13 + s));

        const int t = s == 1 ? 2 : (code == in30 ? 1 : 0);
        set(persons, "F_Vsego", PointToDecimalSeparator(field(17 + t)));
        set(persons, "F_Boln", PointToDecimalSeparator(field(18 + t)));
        if (t == 0) {
            set(persons, "F_28", PointToDecimalSeparator(field(15)));
            set(persons, "F_1", PointToDecimalSeparator(field(16)));
        } else {
            set(persons, "F_28", PointToDecimalSeparator(field(16 + t)));
            set(persons, "F_1", PointToDecimalSeparator(field(15 + t)));
            set(persons, "F_Doptar", field(13 + t));
        }

        const int months = BatchInteger(field(20 + t));
        totals.vsego += persons.FieldByName("F_Vsego").AsFloat();
        totals.boln += persons.FieldByName("F_Boln").AsFloat();
        totals.vzn28 += persons.FieldByName("F_28").AsFloat();
        totals.vzn1 += persons.FieldByName("F_1").AsFloat();

        std::string monthText(12, '0');
        for (int i = 0; i < months; ++i) {
            const std::string text = file.ReadBatchLine();
            monthLine.split(text, 4);
            const std::string number(monthLine(2));
            const int month = BatchInteger(number);
            // Only "1" to "12" name a field; anything else fails here, before
            // the line stores anything.
            TField& amount = persons.FieldByName("f_s" + number);
            TField& sick = persons.FieldByName("f_b" + number);
            monthText[month - 1] = '1';
            amount.SetAsString(PointToDecimalSeparator(monthLine(3)));
            sick.SetAsString(PointToDecimalSeparator(monthLine(4)));
        }
        set(persons, "F_Pr", monthText);

        if (periods != 0) periods_.vvod_stag(0, periods, 0, insuranceNumber);
    }

    TfrVariables& vars = frVariables();
    vars.SetValue("tip", Variant(tip));
    vars.SetValue("vsego", Variant(totals.vsego));
    vars.SetValue("boln", Variant(totals.boln));
    vars.SetValue("vzn28", Variant(totals.vzn28));
    vars.SetValue("vzn1", Variant(totals.vzn1));
}

} // namespace pv
