#pragma once

#include <string>

namespace pv {

class BatchDriver;
class FormTables;

// The summary statement АДВ-10 ("СВОД"): one TableSvod row per summary line,
// with the figures lines ("ОБЩС") that follow it spread over its twelve groups.
class SummaryStatement {
public:
    SummaryStatement(FormTables& tables, BatchDriver& driver) : tables_(tables), driver_(driver) {}

    // Reads the rest of the batch file and ends the run.
    void ADV2001();

private:
    void readSummary(const std::string& line);
    void readFigures(const std::string& line);

    FormTables& tables_;
    BatchDriver& driver_;
    double itogNal_ = 0; // the sum of field 10 over the summary lines
    double itogBol_ = 0; // the sum of field 11
};

} // namespace pv
