#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka template compile SRC -o X.frf`, `template decompile X.frf` and
// `template show X.frf` (the model as JSON).
void addTemplateCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
