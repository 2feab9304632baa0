#include "batch/FormDataSources.h"

#include "batch/FormTables.h"
#include "report/data/DataSourceRegistry.h"

namespace pv {

FormDataSources::FormDataSources(const FormTables& tables, DataSourceRegistry& registry)
    : registry_(registry) {
    for (const FormTables::Entry& e : tables.all()) {
        auto source = std::make_unique<TfrDBDataSet>(e.dataSource);
        source->SetDataSet(e.table);
        registry_.add(*source);
        sources_.push_back(std::move(source));
    }
}

FormDataSources::~FormDataSources() {
    for (const auto& source : sources_)
        registry_.remove(*source);
}

} // namespace pv
