#pragma once

#include "cli/FormatOptions.h"

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace pv::cli {

// Options of the commands that evaluate expressions: the system number and
// date format and global variables set beforehand (as text, like the program's
// report variables).
struct ExpressionOptions {
    FormatOptions format;
    std::vector<std::string> vars;

    void addTo(CLI::App& command);
    // Installs the system format and sets the variables; throws CLI::ValidationError
    // for a --var without "=".
    void apply() const;
};

} // namespace pv::cli
