#include "cli/BatchPreparation.h"

#include "cli/PreparedInput.h"

namespace pv::cli {

std::unique_ptr<HeadlessRun> prepareBatch(const CommonOptions& options, const std::string& path) {
    auto run = std::make_unique<HeadlessRun>(options, path, true);
    const bool shown = run->run();
    if (!shown)
        throw PreparedInputError(path + ": the run ended with a message:\n" + run->messagesText());
    if (!run->prepared()) {
        std::string where;
        for (std::string dir : options.templateDirs) {
            if (!dir.empty() && dir.back() == '/') dir.pop_back();
            where += (where.empty() ? "" : " or ") + dir;
        }
        std::string why =
            path + ": no pages were prepared (is the form's template in " + where + "?)";
        const std::string messages = run->messagesText();
        if (!messages.empty()) why += "\n" + messages;
        throw PreparedInputError(why);
    }
    return run;
}

} // namespace pv::cli
