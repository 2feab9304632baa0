#pragma once

#include <string>

namespace pv {

class BatchDriver;
class FormTables;
class TRxMemoryData;

// The payment statement АДВ-11 ("ВУПЛ"): statement lines into Table1 and the
// three kinds of detail lines into Table4, Table5 and Table6.
class Adv11Statement {
public:
    Adv11Statement(FormTables& tables, BatchDriver& driver) : tables_(tables), driver_(driver) {}

    // Reads the rest of the batch file and ends the run.
    void ADV2002();

private:
    void readStatement(const std::string& line, bool first);
    void readDetail(const std::string& line, const std::string& code, TRxMemoryData& table);

    FormTables& tables_;
    BatchDriver& driver_;
};

} // namespace pv
