#pragma once

#include "report/value/Variant.h"

#include <string>
#include <string_view>
#include <vector>

namespace pv {

class ExpressionEngine;

// A set of functions expressions can call: the names it knows and one
// operation that evaluates a function by its index with up to three raw
// argument texts (each function evaluates its arguments itself).
class TfrFunctionLibrary {
public:
    virtual ~TfrFunctionLibrary() = default;

    const std::vector<std::string>& List() const { return list_; }
    // The index of an upper-case name, -1 when unknown.
    int IndexOf(std::string_view name) const;

    virtual Variant DoFunction(int index, const std::string& p1, const std::string& p2,
                               const std::string& p3, ExpressionEngine& engine) = 0;

protected:
    explicit TfrFunctionLibrary(std::vector<std::string> names) : list_(std::move(names)) {}

private:
    std::vector<std::string> list_;
};

} // namespace pv
