#pragma once

#include <optional>
#include <string>

namespace pv {
class ScriptedUi;
class TfrReport;
} // namespace pv

namespace pv::cli {

// Loads a template file (.frf); on failure says why on stderr and gives the
// exit code: 1 when the file cannot be read, 2 when its content is refused.
int loadTemplateFile(const std::string& path, const std::optional<std::string>& password,
                     TfrReport& report, ScriptedUi& ui);

} // namespace pv::cli
