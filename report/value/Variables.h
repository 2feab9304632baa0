#pragma once

#include "report/value/Variant.h"

#include <string>
#include <string_view>
#include <vector>

namespace pv {

// A list of (name, value) pairs; names compare without regard to letter case
// and are unique. Kept sorted by name or in insertion order.
class TfrVariables {
public:
    explicit TfrVariables(bool sorted = true) : sorted_(sorted) {}

    bool sorted() const { return sorted_; }
    int Count() const { return static_cast<int>(items_.size()); }

    // Adds the name when missing.
    void SetValue(std::string_view name, Variant value);
    // Empty when missing.
    Variant Value(std::string_view name) const;
    bool Contains(std::string_view name) const { return IndexOf(name) >= 0; }
    int IndexOf(std::string_view name) const;

    // Reading outside the list gives 0.
    Variant ValueAt(int index) const;
    void SetValueAt(int index, Variant value);
    const std::string& Name(int index) const;
    void Rename(int index, std::string name);
    void Insert(int index, std::string name);
    void Delete(int index);
    void Clear() { items_.clear(); }
    void Assign(const TfrVariables& other);

private:
    struct Item {
        std::string name;
        Variant value;
    };
    // Position of `name` in a sorted list, or where it would go.
    int lowerBound(std::string_view name) const;

    bool sorted_;
    std::vector<Item> items_;
};

// The engine-wide list the program publishes its report variables in.
TfrVariables& frVariables();

} // namespace pv
