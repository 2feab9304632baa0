#pragma once

#include "report/model/View.h"

#include <string>
#include <string_view>

namespace pv {

// How object properties take the values scripts assign to them.
int32_t propertyInt(const Variant& v);
double propertyReal(const Variant& v);
bool propertyBool(const Variant& v);
std::string propertyText(const Variant& v);

// Memo text as one value: the lines joined by CR LF, and split again.
std::string joinLines(const Lines& lines);
Lines splitLines(std::string_view text);

} // namespace pv
