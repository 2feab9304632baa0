#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka wrap [--font NAME] [--size PT] [--width PIXELS] [--wordbreak]
// [--charspacing N] TEXT`: prints the lines a word-wrapped text box makes of
// TEXT on the measuring canvas, one per line, with "¶" where a paragraph ends.
void addWrapCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
