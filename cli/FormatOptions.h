#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace pv::cli {

// --decimal and --short-date: the system number and date format a command runs with.
struct FormatOptions {
    std::string decimal;
    std::string shortDate;

    void addTo(CLI::App& command);
    // Installs the chosen format over the locale's.
    void apply() const;
};

} // namespace pv::cli
