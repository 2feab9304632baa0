#pragma once

#include "batch/BatchDriver.h"

#include <string>
#include <vector>

namespace pv {

class FormTables;
class TRxMemoryData;

// The parsers of every document type, over the main window's tables.
class FormParsers : public DocumentParsers {
public:
    explicit FormParsers(FormTables& tables) : tables_(tables) {}

    void emptyRunTables() override;
    void parse(const std::string& docType, BatchDriver& driver) override;
    void finishIndividualRecords() override;

    // The tables the parser of `docType` fills.
    std::vector<TRxMemoryData*> tablesOf(const std::string& docType) const;

private:
    FormTables& tables_;
};

} // namespace pv
