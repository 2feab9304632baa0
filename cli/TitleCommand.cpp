#include "cli/TitleCommand.h"

// The PDF writer's headers come first: later headers' macros clash with its names.
#include "pdf/PDFExport.h"

#include "cli/CommonOptions.h"
#include "cli/HeadlessRun.h"
#include "cli/PreparedInput.h"
#include "platform/CodePage.h"
#include "platform/FontService.h"
#include "platform/ScriptedUi.h"
#include "program/PreparingReportService.h"
#include "program/ProgramFiles.h"
#include "program/TitlePage.h"
#include "report/data/DataSourceRegistry.h"
#include "report/template/Report.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace pv::cli {
namespace {

struct TitleOptions {
    std::string batch;
    std::string output;
    int screenDpi = TfrPDFExport::kHeadlessScreenDpi;
    CommonOptions common;
};

// Keeps the report the title page would show.
class KeepPrepared : public ReportPresenter {
public:
    void present(ReportId, TfrReport* prepared) override { prepared_ = prepared; }
    TfrReport* prepared() const { return prepared_; }

private:
    TfrReport* prepared_ = nullptr;
};

void exportTitle(TitleOptions& o) {
    o.common.apply();
    BatchHeader header;
    if (!o.batch.empty()) {
        // Only the header matters; a run that stops part-way (at the region
        // warning, say) leaves the values it read, as in the program.
        HeadlessRun run(o.common, o.batch);
        run.run();
        header = run.header();
    }
    ScriptedUi ui;
    DataSourceRegistry sources;
    KeepPrepared kept;
    PreparingReportService reports(sources, ui, kept);
    TitlePage title(reports, ui);
    title.N5Click(header,
                  ProgramFiles::findTemplate(o.common.templateDirs, TitlePage::kTemplateName));
    std::string messages;
    for (const auto& m : ui.messages())
        messages += cp1251ToTerminal(m.caption) + ": " + cp1251ToTerminal(m.text) + "\n";
    if (!kept.prepared())
        throw PreparedInputError("the title page gave no pages" +
                                 (messages.empty() ? std::string() : ":\n" + messages));
    TfrPDFExport filter(FontService::shared(), o.screenDpi);
    try {
        kept.prepared()->ExportPrepared(filter, o.output);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::u8path(o.output), ignored);
        throw;
    }
}

} // namespace

void addTitleCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand(
        "title",
        "Export the title page with the header of a batch file (empty without one) as PDF");
    auto o = std::make_shared<TitleOptions>();
    command->add_option("BATCH", o->batch, "The batch file whose header the page shows");
    command->add_option("-o,--output", o->output, "The PDF file to write")->required();
    command
        ->add_option("--screen-dpi", o->screenDpi,
                     "The screen's pixels per inch the page is scaled for (default 96)")
        ->check(CLI::Range(1, 2400));
    o->common.addTo(*command);
    command->callback([o, &exitCode] {
        try {
            exportTitle(*o);
            exitCode = 0;
        } catch (const std::exception& e) {
            std::cerr << "pachka title: " << e.what() << "\n";
            exitCode = 2;
        }
    });
}

} // namespace pv::cli
