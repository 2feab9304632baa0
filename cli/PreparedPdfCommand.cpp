#include "cli/PreparedPdfCommand.h"

#include "cli/BatchPreparation.h"
#include "cli/PreparedInput.h"
#include "pdf/PDFExport.h"
#include "platform/FontService.h"
#include "report/template/Report.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace pv::cli {
namespace {

struct PreparedPdfOptions {
    std::string input;
    std::string output;
    int screenDpi = TfrPDFExport::kHeadlessScreenDpi;
    CommonOptions common;
};

void exportPdf(PreparedPdfOptions& o) {
    TfrReport loaded;
    std::unique_ptr<HeadlessRun> run;
    TfrReport* prepared = &loaded;
    if (looksLikeText(o.input)) {
        o.common.apply();
        run = prepareBatch(o.common, o.input);
        prepared = run->prepared();
    } else {
        loadPreparedInput(loaded, o.input);
    }
    TfrReport& report = *prepared;
    TfrPDFExport filter(FontService::shared(), o.screenDpi);
    try {
        report.ExportPrepared(filter, o.output);
    } catch (...) {
        // The engine leaves the file it opened; half a PDF is no use to anybody.
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::u8path(o.output), ignored);
        throw;
    }
}

} // namespace

void addPreparedPdfCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand(
        "pdf", "Export a prepared report (.frp), or the report of a batch file, as PDF");
    auto o = std::make_shared<PreparedPdfOptions>();
    command->add_option("FILE", o->input, "The prepared report (.frp) or batch file")->required();
    command->add_option("-o,--output", o->output, "The PDF file to write")->required();
    command
        ->add_option("--screen-dpi", o->screenDpi,
                     "The screen's pixels per inch the pages are scaled for (default 96)")
        ->check(CLI::Range(1, 2400));
    o->common.addTo(*command);
    command->callback([o, &exitCode] {
        try {
            exportPdf(*o);
            exitCode = 0;
        } catch (const std::exception& e) {
            std::cerr << "pachka pdf: " << e.what() << "\n";
            exitCode = 2;
        }
    });
}

} // namespace pv::cli
