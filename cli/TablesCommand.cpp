#include "cli/TablesCommand.h"

#include "cli/HeadlessRun.h"

#include <iostream>
#include <memory>

namespace pv::cli {

void addTablesCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("tables", "Run a batch headless and print its tables as JSON");
    auto options = std::make_shared<CommonOptions>();
    auto batch = std::make_shared<std::string>();
    options->addTo(*command);
    command->add_option("BATCH", *batch, "The batch file")->required();
    command->callback([options, batch, &exitCode] {
        options->apply();
        HeadlessRun run(*options, *batch);
        bool shown = run.run();
        std::cout << run.toJson().dump(2) << "\n";
        exitCode = shown ? 0 : 2;
    });
}

} // namespace pv::cli
