#include "cli/BatchPreparation.h"

#include "cli/PreparedInput.h"

namespace pv::cli {

std::unique_ptr<HeadlessRun> prepareBatch(const CommonOptions& options, const std::string& path) {
    auto run = std::make_unique<HeadlessRun>(options, path, true);
    const bool shown = run->run();
    if (!shown)
        throw PreparedInputError(path + ": the run ended with a message:\n" + run->messagesText());
    if (!run->prepared()) {
        std::string why = path + ": no pages were prepared (is the form's template in " +
                          options.programDir + "TempPlay?)";
        const std::string messages = run->messagesText();
        if (!messages.empty()) why += "\n" + messages;
        throw PreparedInputError(why);
    }
    return run;
}

} // namespace pv::cli
