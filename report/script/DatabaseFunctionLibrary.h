#pragma once

#include "report/script/FunctionLibrary.h"

namespace pv {

// FIELDISNULL(name): the name is evaluated and its text taken as a field
// reference; true when that field is null or no data source is found.
class TDatabaseFunctionLibrary : public TfrFunctionLibrary {
public:
    TDatabaseFunctionLibrary() : TfrFunctionLibrary({"FIELDISNULL"}) {}
    Variant DoFunction(int index, const std::string& p1, const std::string& p2,
                       const std::string& p3, ExpressionEngine& engine) override;
};

} // namespace pv
