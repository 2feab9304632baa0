#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka title [BATCH] -o OUT.pdf`: the title page with the header of the
// batch (empty values without one), as PDF.
void addTitleCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
