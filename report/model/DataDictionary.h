#pragma once

#include "report/value/Variables.h"

#include <functional>
#include <string>

namespace pv {

// The template's dictionary: variables with their expression texts (and
// category headings, whose names begin with a blank), display aliases of data
// fields (DataSet.Field → alias) and aliases of data sources.
class TfrDataDictionary {
public:
    TfrVariables Variables{false};
    TfrVariables FieldAliases{false};
    TfrVariables SourceAliases{false};

    static bool IsCategory(const std::string& name) { return !name.empty() && name[0] == ' '; }
    // The category's name without its leading blank.
    static std::string CategoryName(const std::string& name) {
        return IsCategory(name) ? name.substr(1) : name;
    }

    void Clear();
    bool empty() const {
        return Variables.Count() == 0 && FieldAliases.Count() == 0 && SourceAliases.Count() == 0;
    }

    // Makes categories begin with a blank: when the first variable entry does
    // not, every entry's leading blank is removed where present and added
    // where absent.
    void NormalizeCategories();
    // Drops field aliases without value whose field no longer exists, and
    // source aliases without value.
    void RemoveStaleAliases(const std::function<bool(const std::string& fieldRef)>& fieldExists);
};

} // namespace pv
