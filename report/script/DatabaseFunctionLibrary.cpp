#include "report/script/DatabaseFunctionLibrary.h"

#include "report/script/ExpressionEngine.h"

namespace pv {

Variant TDatabaseFunctionLibrary::DoFunction(int index, const std::string& p1,
                                             const std::string& p2, const std::string& p3,
                                             ExpressionEngine& engine) {
    FieldRead field = engine.ReadFieldReference(engine.EvaluateText(p1).toText());
    return Variant(!field.found || field.isNull);
}

} // namespace pv
