#pragma once

#include "batch/BatchLineFields.h"

#include <string>
#include <string_view>

namespace pv {

class BatchDriver;
class FormTables;
class TField;

// "0 мес. 5 дн." and the like from a months and a days field, both taken as
// written; empty when both are "0".
std::string durationText(std::string_view months, std::string_view days);

// The individual records of forms СЗВ-4-1 ("ИН41") and СЗВ-4-2 ("ИН42"): one
// Table2 row per person line, one Table3 row per service period.
class Szv4Records {
public:
    Szv4Records(FormTables& tables, BatchDriver& driver) : tables_(tables), driver_(driver) {}

    // Reads the rest of the batch file; the driver ends the run.
    void RecordLoop();

    // Reads `count` period lines of the person `insuranceNumber` into Table3:
    // main periods (priz 0, numbered from 1, each followed by its additional
    // lines) or the additional lines of main period `parentNumber` (priz 1).
    void vvod_stag(int priz, int count, int parentNumber, const std::string& insuranceNumber);

private:
    // The fields written for every row, looked up once per run.
    struct PersonFields {
        TField *por, *strax, *fam, *im, *otch, *adres, *strx, *nakop, *dop, *bl, *adm;
    };
    struct PeriodFields {
        TField *strax, *priz, *por, *n, *k, *usl, *kod, *osn1, *dop1, *osn2, *part, *dop2, *ter,
            *koef;
    };
    const PersonFields& personFields();
    const PeriodFields& periodFields();
    void readPerson(const BatchLineFields& field, bool szv41);

    FormTables& tables_;
    BatchDriver& driver_;
    bool havePersonFields_ = false, havePeriodFields_ = false;
    PersonFields person_{};
    PeriodFields period_{};
    BatchLineFields personLine_, periodLine_, extraLine_;
};

} // namespace pv
