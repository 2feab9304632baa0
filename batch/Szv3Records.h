#pragma once

#include "batch/Szv4Records.h"

namespace pv {

class BatchDriver;
class FormTables;

// The individual records of the СЗВ-3 family ("ИНДС", "ИН20", "ИН30"): one
// Table2 row per person with its twelve monthly amounts, the service periods
// of "ИН20" and "ИН30" persons in Table3, and the batch totals.
class Szv3Records {
public:
    Szv3Records(FormTables& tables, BatchDriver& driver)
        : tables_(tables), driver_(driver), periods_(tables, driver) {}

    // Reads the rest of the batch file; the driver ends the run.
    void Before2002();

private:
    FormTables& tables_;
    BatchDriver& driver_;
    Szv4Records periods_;
};

} // namespace pv
