#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka tables BATCH`: the run as JSON on standard output.
void addTablesCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
