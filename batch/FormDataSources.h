#pragma once

#include "report/data/DataSet.h"

#include <memory>
#include <vector>

namespace pv {

class DataSourceRegistry;
class FormTables;

// The data-source components the form templates read the tables through, one
// per form table under the table's data-source name. They are registered for
// as long as this object lives.
class FormDataSources {
public:
    FormDataSources(const FormTables& tables, DataSourceRegistry& registry);
    ~FormDataSources();
    FormDataSources(const FormDataSources&) = delete;
    FormDataSources& operator=(const FormDataSources&) = delete;

    const std::vector<std::unique_ptr<TfrDBDataSet>>& all() const { return sources_; }

private:
    DataSourceRegistry& registry_;
    std::vector<std::unique_ptr<TfrDBDataSet>> sources_;
};

} // namespace pv
