#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>

namespace pv {

// The export's output file cannot be created or written.
class ExportFileError : public Error {
public:
    explicit ExportFileError(const std::string& what) : Error(what, Error::Encoding::Utf8) {}
};

} // namespace pv
