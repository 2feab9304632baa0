#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>

namespace pv {
class TfrReport;
}

namespace pv::cli {

// The input of `pachka pdf` and `pachka pages` cannot be used; the message
// names the file and says why.
class PreparedInputError : public Error {
public:
    explicit PreparedInputError(const std::string& what) : Error(what, Error::Encoding::Utf8) {}
};

// Whether the file starts as text does (a batch file) rather than with the
// edition byte of a prepared report.
bool looksLikeText(const std::string& path);

// Loads a prepared-report file (.frp) into the report's prepared pages.
// Throws PreparedInputError for a file that cannot be read, that is no
// prepared report (a batch file among others) or that is malformed.
void loadPreparedInput(TfrReport& report, const std::string& path);

} // namespace pv::cli
