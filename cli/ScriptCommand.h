#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka script [--var NAME=VALUE]... FILE`: compiles and runs a script file
// (UTF-8, or 1251 as in templates) and prints the global variables afterwards as JSON. A syntax
// error, a failure while running or the step limit prints its message on standard error and
// exits 2.
void addScriptCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
