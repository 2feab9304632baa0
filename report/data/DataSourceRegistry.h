#pragma once

#include "report/data/DataSet.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

// The data-source components a report can name ("frDBDataSet1"). The
// components belong to whoever registered them (the main window owns the
// program's); the registry only finds them.
class DataSourceRegistry {
public:
    // A later component of the same name hides the earlier one.
    void add(TfrDataset& dataset);
    void remove(const TfrDataset& dataset);
    void clear() { datasets_.clear(); }

    // By component name without regard to case; a qualified name
    // ("Form1.frDBDataSet1") finds the component by its last part. Null when
    // there is none.
    TfrDataset* find(std::string_view name) const;

private:
    std::vector<TfrDataset*> datasets_;
};

// What a band's format text makes of its data source.
struct BandDataSource {
    TfrDataset* dataset = nullptr; // null: the band has none
    // A record count ("3") gives a data source of the band's own.
    std::unique_ptr<TfrDataset> owned;
};

// A text beginning with a digit 1–9 is a record count; anything else names a
// registered data source.
BandDataSource resolveBandDataSource(std::string_view formatText,
                                     const DataSourceRegistry& registry);

} // namespace pv
