#include "batch/Szv4Records.h"

#include "batch/BatchDriver.h"
#include "batch/BatchNumber.h"
#include "batch/BatchText.h"
#include "batch/FormTables.h"
#include "platform/CodePage.h"

namespace pv {
namespace {

void set(TRxMemoryData& table, const char* field, std::string_view text) {
    table.FieldByName(field).SetAsString(text);
}

} // namespace

std::string durationText(std::string_view months, std::string_view days) {
    if (months == "0" && days == "0") return {};
    std::string text = months == "0" ? ru("0 мес. ") : std::string(months) + ru(" мес. ");
    if (days != "0")
        text += std::string(days) + ru(" дн.");
    else
        text += ru(" 0 дн.");
    return text;
}

void Szv4Records::RecordLoop() {
    const bool szv41 = driver_.DocType() == ru("ИН41");
    const std::string signature = ru("ЭЦПД");
    BatchFile& file = driver_.batchFile();
    while (!file.atEnd()) {
        const std::string line = file.ReadBatchLine();
        if (ExtractField(line, 1) == signature) continue;
        readPerson(line, szv41);
    }
}

void Szv4Records::readPerson(const std::string& line, bool szv41) {
    TRxMemoryData& persons = tables_.Table2;
    persons.Append();
    const std::string insuranceNumber = ExtractField(line, 3);
    set(persons, "F_Por", ExtractField(line, 2));
    set(persons, "F_Strax", insuranceNumber);
    set(persons, "F_Fam", ExtractField(line, 4));
    set(persons, "F_Im", ExtractField(line, 5));
    set(persons, "F_Otch", ExtractField(line, 6));
    set(persons, "F_Adres", ExtractField(line, 8));
    set(persons, "F_strx", PointToDecimalSeparator(ExtractField(line, 9)));
    set(persons, "F_Nakop", PointToDecimalSeparator(ExtractField(line, 10)));
    set(persons, "F_Dop", PointToDecimalSeparator(ExtractField(line, 11)));
    if (szv41) {
        set(persons, "F_Bl", durationText(ExtractField(line, 12), ExtractField(line, 13)));
        set(persons, "F_Adm", durationText(ExtractField(line, 14), ExtractField(line, 15)));
        const int periods = BatchInteger(ExtractField(line, 17));
        if (periods != 0) vvod_stag(0, periods, 0, insuranceNumber);
    } else {
        set(persons, "F_Bl", durationText(ExtractField(line, 14), ExtractField(line, 15)));
        set(persons, "F_Adm", durationText(ExtractField(line, 16), ExtractField(line, 17)));
        TRxMemoryData& periods = tables_.Table3;
        periods.Append();
        set(periods, "F_Strax", insuranceNumber);
        set(periods, "F_N", NormalizeDate(ExtractField(line, 12)));
        set(periods, "F_K", NormalizeDate(ExtractField(line, 13)));
    }
}

void Szv4Records::vvod_stag(int priz, int count, int parentNumber,
                            const std::string& insuranceNumber) {
    TRxMemoryData& periods = tables_.Table3;
    // An additional line has no dates: its fields stand two places earlier.
    const int s = priz == 0 ? 0 : 2;
    auto field = [&](const std::string& line, int n) { return ExtractField(line, n - s); };
    for (int i = 1; i <= count; ++i) {
        periods.Append();
        set(periods, "F_Strax", insuranceNumber);
        periods.FieldByName("F_Priz").SetAsInteger(priz);
        periods.FieldByName("F_Por").SetAsInteger(priz == 0 ? i : parentNumber);
        const std::string line = driver_.batchFile().ReadBatchLine();
        if (priz == 0) {
            set(periods, "F_N", NormalizeDate(ExtractField(line, 3)));
            set(periods, "F_K", NormalizeDate(ExtractField(line, 4)));
        }
        set(periods, "F_Usl", field(line, 5));
        set(periods, "F_Kod", field(line, 6));
        set(periods, "F_Osn1", field(line, 7));

        const std::string dop1a = field(line, 8), dop1b = field(line, 9), dop1 = field(line, 10);
        if (!dop1.empty())
            set(periods, "F_Dop1", dop1);
        else if (dop1a == "0" && dop1b == "0")
            set(periods, "F_Dop1", "");
        else
            set(periods, "F_Dop1", dop1a + "-" + dop1b);

        set(periods, "F_Osn2", field(line, 11));
        periods.FieldByName("F_Part").SetAsFloat(0);
        const std::string dop2a = field(line, 12), dop2b = field(line, 13), part = field(line, 14);
        const double x = BatchFloat(PointToDecimalSeparator(part));
        if (dop2a == "0" && dop2b == "0") {
            set(periods, "F_Dop2", x != 0 ? part : std::string());
        } else {
            set(periods, "F_Dop2", dop2a + "-" + dop2b);
            if (x != 0) periods.FieldByName("F_Part").SetAsFloat(x);
        }

        set(periods, "F_Ter", field(line, 15));
        set(periods, "F_Koef", PointToDecimalSeparator(field(line, 16)));
        if (priz == 0) {
            const int extra = BatchInteger(ExtractField(line, 17));
            if (extra != 0) vvod_stag(1, extra, i, insuranceNumber);
        }
    }
}

} // namespace pv
