#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>

namespace pv {

// The system's error when the settings file cannot be written back; the
// text is given in 1251, like every text the program shows.
class SettingsFileError : public Error {
public:
    SettingsFileError(const std::string& text, int code)
        : Error(text, Error::Encoding::Cp1251), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

} // namespace pv
