#pragma once

#include "report/model/View.h"

#include <functional>
#include <memory>
#include <string>

namespace pv {

// A new view of a built-in type code (0–4); none for other codes.
std::unique_ptr<TfrView> createView(uint8_t typeCode);

// Add-in classes (type code 10), found by class name without regard to case.
// The program registers none; tests do.
using AddInFactory = std::function<std::unique_ptr<TfrView>()>;
void registerAddIn(const std::string& className, AddInFactory factory);
void unregisterAddIn(const std::string& className);
std::unique_ptr<TfrView> createAddIn(const std::string& className);

} // namespace pv
