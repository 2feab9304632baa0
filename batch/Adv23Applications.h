#pragma once

namespace pv {

class BatchDriver;
class FormTables;
class RecordLayout;

// The exchange application АДВ-2 ("ОБМН") and the duplicate application АДВ-3
// ("ДУБЛ"): one AnkTable row per application line.
class Adv23Applications {
public:
    Adv23Applications(FormTables& tables, BatchDriver& driver) : tables_(tables), driver_(driver) {}

    // The 34 fields of an exchange line and the 46 of a duplicate line.
    static const RecordLayout& exchangeLayout();
    static const RecordLayout& duplicateLayout();

    // Each reads the rest of the batch file and ends the run.
    void ADV2();
    void ADV3();

private:
    FormTables& tables_;
    BatchDriver& driver_;
};

} // namespace pv
