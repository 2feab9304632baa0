#pragma once

#include <stdexcept>
#include <string>

namespace pv {

// The system's error when the settings file cannot be written back. The text
// is 1251, like every text shown by the program.
class SettingsFileError : public std::runtime_error {
public:
    SettingsFileError(const std::string& text, int code) : std::runtime_error(text), code_(code) {}
    std::string text() const { return what(); }
    int code() const { return code_; }

private:
    int code_;
};

} // namespace pv
