#include "batch/Szv4Records.h"

#include "batch/BatchDriver.h"
#include "batch/BatchNumber.h"
#include "batch/BatchText.h"
#include "batch/FormTables.h"
#include "platform/CodePage.h"

namespace pv {

std::string durationText(std::string_view months, std::string_view days) {
    if (months == "0" && days == "0") return {};
    std::string text = months == "0" ? ru("0 мес. ") : std::string(months) + ru(" мес. ");
    if (days != "0")
        text += std::string(days) + ru(" дн.");
    else
        text += ru(" 0 дн.");
    return text;
}

const Szv4Records::PersonFields& Szv4Records::personFields() {
    if (!havePersonFields_) {
        TRxMemoryData& t = tables_.Table2;
        person_ = {&t.FieldByName("f_por"),  &t.FieldByName("f_strax"), &t.FieldByName("f_fam"),
                   &t.FieldByName("f_im"),   &t.FieldByName("f_otch"),  &t.FieldByName("f_adres"),
                   &t.FieldByName("f_strx"), &t.FieldByName("f_nakop"), &t.FieldByName("f_dop"),
                   &t.FieldByName("f_bl"),   &t.FieldByName("f_adm")};
        havePersonFields_ = true;
    }
    return person_;
}

const Szv4Records::PeriodFields& Szv4Records::periodFields() {
    if (!havePeriodFields_) {
        TRxMemoryData& t = tables_.Table3;
        period_ = {&t.FieldByName("f_strax"), &t.FieldByName("f_priz"), &t.FieldByName("f_por"),
                   &t.FieldByName("f_n"),     &t.FieldByName("f_k"),    &t.FieldByName("f_usl"),
                   &t.FieldByName("f_kod"),   &t.FieldByName("f_osn1"), &t.FieldByName("f_dop1"),
                   &t.FieldByName("f_osn2"),  &t.FieldByName("f_part"), &t.FieldByName("f_dop2"),
                   &t.FieldByName("f_ter"),   &t.FieldByName("f_koef")};
        havePeriodFields_ = true;
    }
    return period_;
}

void Szv4Records::RecordLoop() {
    const bool szv41 = driver_.DocType() == ru("ИН41");
    const std::string signature = ru("ЭЦПД");
    BatchFile& file = driver_.batchFile();
    while (!file.atEnd()) {
        const std::string line = file.ReadBatchLine();
        personLine_.split(line, 17);
        if (personLine_(1) == signature) continue;
        readPerson(personLine_, szv41);
    }
}

void Szv4Records::readPerson(const BatchLineFields& field, bool szv41) {
    TRxMemoryData& persons = tables_.Table2;
    persons.Append();
    const PersonFields& f = personFields();
    const std::string insuranceNumber(field(3));
    f.por->SetAsString(field(2));
    f.strax->SetAsString(insuranceNumber);
    f.fam->SetAsString(field(4));
    f.im->SetAsString(field(5));
    f.otch->SetAsString(field(6));
    f.adres->SetAsString(field(8));
    f.strx->SetAsString(PointToDecimalSeparator(field(9)));
    f.nakop->SetAsString(PointToDecimalSeparator(field(10)));
    f.dop->SetAsString(PointToDecimalSeparator(field(11)));
    if (szv41) {
        f.bl->SetAsString(durationText(field(12), field(13)));
        f.adm->SetAsString(durationText(field(14), field(15)));
        const int periods = BatchInteger(field(17));
        if (periods != 0) vvod_stag(0, periods, 0, insuranceNumber);
    } else {
        f.bl->SetAsString(durationText(field(14), field(15)));
        f.adm->SetAsString(durationText(field(16), field(17)));
        tables_.Table3.Append();
        const PeriodFields& p = periodFields();
        p.strax->SetAsString(insuranceNumber);
        p.n->SetAsString(NormalizeDate(field(12)));
        p.k->SetAsString(NormalizeDate(field(13)));
    }
}

void Szv4Records::vvod_stag(int priz, int count, int parentNumber,
                            const std::string& insuranceNumber) {
    TRxMemoryData& periods = tables_.Table3;
    // An additional line has no dates: its fields stand two places earlier.
    const int s = priz == 0 ? 0 : 2;
    BatchLineFields& line = priz == 0 ? periodLine_ : extraLine_;
    auto field = [&](int n) { return line(n - s); };
    for (int i = 1; i <= count; ++i) {
        periods.Append();
        const PeriodFields& f = periodFields();
        f.strax->SetAsString(insuranceNumber);
        f.priz->SetAsInteger(priz);
        f.por->SetAsInteger(priz == 0 ? i : parentNumber);
        const std::string text = driver_.batchFile().ReadBatchLine();
        line.split(text, 17);
        if (priz == 0) {
            f.n->SetAsString(NormalizeDate(line(3)));
            f.k->SetAsString(NormalizeDate(line(4)));
        }
        f.usl->SetAsString(field(5));
        f.kod->SetAsString(field(6));
        f.osn1->SetAsString(field(7));

        const std::string_view dop1a = field(8), dop1b = field(9), dop1 = field(10);
        if (!dop1.empty())
            f.dop1->SetAsString(dop1);
        else if (dop1a == "0" && dop1b == "0")
            f.dop1->SetAsString("");
        else
            f.dop1->SetAsString(std::string(dop1a) + "-" + std::string(dop1b));

        f.osn2->SetAsString(field(11));
        f.part->SetAsFloat(0);
        const std::string_view dop2a = field(12), dop2b = field(13), part = field(14);
        const double x = BatchFloat(PointToDecimalSeparator(part));
        if (dop2a == "0" && dop2b == "0") {
            f.dop2->SetAsString(x != 0 ? part : std::string_view());
        } else {
            f.dop2->SetAsString(std::string(dop2a) + "-" + std::string(dop2b));
            if (x != 0) f.part->SetAsFloat(x);
        }

        f.ter->SetAsString(field(15));
        f.koef->SetAsString(PointToDecimalSeparator(field(16)));
        if (priz == 0) {
            const int extra = BatchInteger(line(17));
            if (extra != 0) vvod_stag(1, extra, i, insuranceNumber);
        }
    }
}

} // namespace pv
