#pragma once

#include "cli/CommonOptions.h"
#include "cli/HeadlessRun.h"

#include <memory>
#include <string>

namespace pv::cli {

// Runs a batch file headless as the program would, preparing the report it
// shows. Throws PreparedInputError when the run ended with a message, or
// when no template was found or it gave no pages; the prepared report is
// the returned run's prepared().
std::unique_ptr<HeadlessRun> prepareBatch(const CommonOptions& options, const std::string& path);

} // namespace pv::cli
