#pragma once

#include "batch/ProgramSettings.h"

#include <string>

namespace pv {

// The main window's first activation: the ten setting values of the settings
// file in `programDir`, each empty when missing. Leaves an empty settings file
// behind when there was none.
ProgramSettings readProgramSettings(const std::string& programDir);

} // namespace pv
