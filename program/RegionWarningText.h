#pragma once

#include <optional>
#include <string>

namespace pv {

// The warning a registration number gets, three lines joined by CR LF (1251),
// or none when the number fits. Characters 1-3 are the region code, 5-7 the
// district code; eight regions list their districts, eight more are accepted
// with any district, every other region gets the generic warning.
std::optional<std::string> regionWarningText(const std::string& regNom);

} // namespace pv
