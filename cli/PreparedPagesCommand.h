#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka pages FILE.frp`: the prepared pages as JSON, their paper and the
// objects on them.
void addPreparedPagesCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
