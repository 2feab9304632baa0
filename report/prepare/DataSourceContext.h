#pragma once

#include "report/script/ExpressionContext.h"

#include <string>
#include <string_view>

namespace pv {

class DataSourceRegistry;
class TfrDataDictionary;
class TfrDataset;
class TField;

// Expressions' view of a report's data: the template dictionary (variables
// and aliases) and the registered data sources. Neither is owned.
class DataSourceContext : public DataContext {
public:
    explicit DataSourceContext(const DataSourceRegistry& registry,
                               TfrDataDictionary* dictionary = nullptr)
        : registry_(registry), dictionary_(dictionary) {}

    // The data source a name without "." reads from; none by default.
    void setCurrentSource(TfrDataset* dataset) { current_ = dataset; }
    TfrDataset* currentSource() const { return current_; }

    std::optional<std::string> dictionaryVariable(std::string_view name) override;
    bool setDictionaryVariable(std::string_view name, const Variant& value) override;
    std::string sourceFromAlias(std::string_view alias) override;
    std::string fieldFromAlias(std::string_view source, std::string_view alias) override;
    FieldRead readField(std::string_view source, std::string_view field) override;

    // The field of a table-backed data source (an empty source: the current
    // one), opening the table when it is closed; null when either is missing.
    TField* findField(std::string_view source, std::string_view field);
    // A registered data source (an empty name: the current one); null when none.
    TfrDataset* sourceNamed(std::string_view source) const;

private:
    const DataSourceRegistry& registry_;
    TfrDataDictionary* dictionary_;
    TfrDataset* current_ = nullptr;
};

} // namespace pv
