#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>

namespace pv {

// A failure of a memory table or one of its fields. The message, given in
// 1251, is what the user sees, already prefixed with the table's name where
// the failure belongs to a table.
class DatabaseError : public Error {
public:
    explicit DatabaseError(const std::string& text) : Error(text, Error::Encoding::Cp1251) {}
};

} // namespace pv
