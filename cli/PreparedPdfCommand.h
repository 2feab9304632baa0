#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka pdf FILE.frp -o OUT.pdf`: the prepared report exported through the
// PDF export filter, as the preview's save button does it.
void addPreparedPdfCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
