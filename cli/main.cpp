#include "cli/Emf2PdfCommand.h"
#include "cli/EvalCommand.h"
#include "cli/PreparedPagesCommand.h"
#include "cli/PreparedPdfCommand.h"
#include "cli/ScriptCommand.h"
#include "cli/TablesCommand.h"
#include "cli/TemplateCommand.h"
#include "cli/TitleCommand.h"
#include "cli/WrapCommand.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"pachka: the pachkaview engine without a screen"};
    app.require_subcommand(1);
    int exitCode = 0;
    pv::cli::addTablesCommand(app, exitCode);
    pv::cli::addEvalCommand(app, exitCode);
    pv::cli::addScriptCommand(app, exitCode);
    pv::cli::addTemplateCommand(app, exitCode);
    pv::cli::addEmf2PdfCommand(app, exitCode);
    pv::cli::addPreparedPdfCommand(app, exitCode);
    pv::cli::addPreparedPagesCommand(app, exitCode);
    pv::cli::addWrapCommand(app, exitCode);
    pv::cli::addTitleCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int rc = app.exit(e);
        return rc == 0 ? 0 : 1;
    }
    return exitCode;
}
