#pragma once

#include "cli/FormatOptions.h"

#include <CLI/CLI.hpp>
#include <string>

namespace pv::cli {

// Options every batch-running command shares: the system number and date
// format, where the settings file and templates are found, and what a region
// warning does.
struct CommonOptions {
    FormatOptions format;
    std::string programDir;
    std::string regionWarning; // empty: the registration number is not checked

    void addTo(CLI::App& command);
    // Installs the system format and fills in the default program directory.
    void apply();
};

// The directory of the running binary, ending in a separator.
std::string binaryDir();

} // namespace pv::cli
