#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka eval [--decimal ,|.] [--var NAME=VALUE]... EXPR`: prints what a text
// box shows for [EXPR] with the default display format. Exit 2 and the message
// on standard error when the expression fails.
void addEvalCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
