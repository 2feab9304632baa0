#pragma once

#include <stdexcept>
#include <string>

namespace pv {

// The export's output file cannot be created or written.
class ExportFileError : public std::runtime_error {
public:
    explicit ExportFileError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace pv
