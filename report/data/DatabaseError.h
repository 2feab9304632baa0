#pragma once

#include <stdexcept>
#include <string>

namespace pv {

// A failure of a memory table or one of its fields. `what()` is the message
// the user sees (1251), already prefixed with the table's name where the
// failure belongs to a table.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& text) : std::runtime_error(text) {}
    std::string text() const { return what(); }
};

} // namespace pv
