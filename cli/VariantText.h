#pragma once

#include "report/Variant.h"

#include <string>

namespace pv::cli {

// A value as the command-line tool prints it (1251): texts as they are,
// numbers in their shortest form with the system decimal separator.
std::string variantText(const Variant& value);

} // namespace pv::cli
