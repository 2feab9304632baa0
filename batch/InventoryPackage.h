#pragma once

#include <string>

namespace pv {

class BatchDriver;
class FormTables;
class TRxMemoryData;

// Where the workplace text of a period line starts: the line after its anchor
// field `anchor` (1-based, as ExtractField numbers fields) and after the comma
// that ends that field; empty when the line has no such field.
std::string afterField(const std::string& line, int anchor);

// The inventory package ("КОНВ"): per person a summary line followed by the
// work-experience records of form СЗВ-К, read into six linked tables and
// printed as one composite report of three templates.
class InventoryPackage {
public:
    InventoryPackage(FormTables& tables, BatchDriver& driver) : tables_(tables), driver_(driver) {}

    // Reads the rest of the batch file and ends the run.
    void SZVK();

private:
    void readPerson(const std::string& line);
    void addBlankRows();
    void readActivity(const std::string& line);
    // A period line; `shift` is how many places earlier its fields stand than
    // in a "ПСТЖ" line (2 for "ПЛГТ", which has no number and dates).
    void readPeriod(const std::string& line, int shift);
    void readSpecial(const std::string& line, TRxMemoryData& table);

    FormTables& tables_;
    BatchDriver& driver_;
    std::string person_;      // the insurance number of the current person
    std::string activityKey_; // the key of the current activity
};

} // namespace pv
