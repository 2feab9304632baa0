#pragma once

#include "report/data/MemoryTable.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

class Ui;

// The thirteen tables the forms are printed from, each with the data-source
// name templates reach it by, and the filters that tie detail rows to the
// current row of their master.
class FormTables {
public:
    struct Entry {
        TRxMemoryData* table;
        const char* dataSource;
    };

    // `docType` gives the document type of the current batch (the period
    // filter depends on it); filter errors are shown through `ui`.
    FormTables(Ui& ui, std::function<std::string()> docType);
    FormTables(const FormTables&) = delete;
    FormTables& operator=(const FormTables&) = delete;

    TRxMemoryData Table2, Table3, Table1, Table4, Table5, Table6, TableDEJT, TableFid, TableFidVr,
        TableFidVs, TableAnk, TableSvod, AnkTable;

    // In the order of the list of tables; names compare exactly.
    const std::vector<Entry>& all() const { return all_; }
    TRxMemoryData* byName(std::string_view name) const;
    TRxMemoryData* byDataSource(std::string_view dataSource) const;

    // Every batch run starts with these six empty.
    void emptyRunTables();

    void Table3FilterRecord(TRxMemoryData& table, bool& Accept);
    void TableDEJTFilterRecord(TRxMemoryData& table, bool& Accept);
    void TableFidFilterRecord(TRxMemoryData& table, bool& Accept);

private:
    std::function<std::string()> docType_;
    std::vector<Entry> all_;
};

} // namespace pv
