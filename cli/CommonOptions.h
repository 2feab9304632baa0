#pragma once

#include "cli/FormatOptions.h"

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace pv::cli {

// Options every batch-running command shares: the system number and date
// format, where the settings file and templates are found, and what a region
// warning does.
struct CommonOptions {
    FormatOptions format;
    // Where the settings file is; given, also where TempPlay/ is.
    std::string programDir;
    // The directories searched for templates, in order (filled by apply()).
    std::vector<std::string> templateDirs;
    std::string regionWarning; // empty: the registration number is not checked

    void addTo(CLI::App& command);
    // Installs the system format and fills in the default program directory:
    // without --program-dir the files are found as the installed program
    // finds them (beside the binary, or under the prefix and the user's
    // directories).
    void apply();
};

// The directory of the running binary, ending in a separator.
std::string binaryDir();

} // namespace pv::cli
