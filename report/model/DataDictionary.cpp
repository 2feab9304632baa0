#include "report/model/DataDictionary.h"

namespace pv {
namespace {

bool emptyValue(const Variant& v) {
    return v.isEmpty() || (v.isText() && v.text().empty());
}

} // namespace

void TfrDataDictionary::Clear() {
    Variables.Clear();
    FieldAliases.Clear();
    SourceAliases.Clear();
}

void TfrDataDictionary::NormalizeCategories() {
    if (Variables.Count() == 0 || IsCategory(Variables.Name(0))) return;
    TfrVariables flipped(false);
    for (int i = 0; i < Variables.Count(); ++i) {
        const std::string& name = Variables.Name(i);
        flipped.SetValue(IsCategory(name) ? name.substr(1) : " " + name, Variables.ValueAt(i));
    }
    Variables.Assign(flipped);
}

void TfrDataDictionary::RemoveStaleAliases(
    const std::function<bool(const std::string& fieldRef)>& fieldExists) {
    for (int i = FieldAliases.Count() - 1; i >= 0; --i)
        if (emptyValue(FieldAliases.ValueAt(i)) &&
            !(fieldExists && fieldExists(FieldAliases.Name(i))))
            FieldAliases.Delete(i);
    for (int i = SourceAliases.Count() - 1; i >= 0; --i)
        if (emptyValue(SourceAliases.ValueAt(i))) SourceAliases.Delete(i);
}

} // namespace pv
