#include "report/value/Variables.h"

#include "platform/TextCase.h"

#include <stdexcept>

namespace pv {

int TfrVariables::lowerBound(std::string_view name) const {
    int lo = 0, hi = Count();
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (compareNoCase(items_[mid].name, name) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int TfrVariables::IndexOf(std::string_view name) const {
    if (sorted_) {
        int i = lowerBound(name);
        return i < Count() && equalsNoCase(items_[i].name, name) ? i : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (equalsNoCase(items_[i].name, name)) return i;
    return -1;
}

void TfrVariables::SetValue(std::string_view name, Variant value) {
    int i = IndexOf(name);
    if (i >= 0) {
        items_[i].value = std::move(value);
        return;
    }
    int at = sorted_ ? lowerBound(name) : Count();
    items_.insert(items_.begin() + at, Item{std::string(name), std::move(value)});
}

Variant TfrVariables::Value(std::string_view name) const {
    int i = IndexOf(name);
    return i >= 0 ? items_[i].value : Variant();
}

Variant TfrVariables::ValueAt(int index) const {
    if (index < 0 || index >= Count()) return Variant(int32_t(0));
    return items_[index].value;
}

void TfrVariables::SetValueAt(int index, Variant value) {
    if (index >= 0 && index < Count()) items_[index].value = std::move(value);
}

const std::string& TfrVariables::Name(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("variable index out of range");
    return items_[index].name;
}

void TfrVariables::Rename(int index, std::string name) {
    if (index < 0 || index >= Count()) return;
    Variant value = items_[index].value;
    Delete(index);
    if (sorted_)
        SetValue(name, std::move(value));
    else
        items_.insert(items_.begin() + index, Item{std::move(name), std::move(value)});
}

void TfrVariables::Insert(int index, std::string name) {
    if (sorted_) {
        SetValue(name, Variant(int32_t(0)));
        return;
    }
    if (index < 0) index = 0;
    if (index > Count()) index = Count();
    items_.insert(items_.begin() + index, Item{std::move(name), Variant(int32_t(0))});
}

void TfrVariables::Delete(int index) {
    if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TfrVariables::Assign(const TfrVariables& other) {
    items_.clear();
    for (const auto& item : other.items_)
        SetValue(item.name, item.value);
}

TfrVariables& frVariables() {
    static TfrVariables globals(true);
    return globals;
}

} // namespace pv
