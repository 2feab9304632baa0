#include "cli/TemplateCommand.h"

#include "cli/TemplateJson.h"
#include "cli/TemplateLoading.h"
#include "platform/CodePage.h"
#include "platform/FileBytes.h"
#include "platform/ScriptedUi.h"
#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/template/frf/FrfWriter.h"
#include "report/template/Report.h"
#include "report/template/source/TemplateSource.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace pv::cli {
namespace {

struct TemplateOptions {
    std::string input;
    std::string output;
    std::string password;
    bool hasPassword = false;
};

bool readFile(const std::string& path, std::string& bytes) {
    std::optional<std::string> content = readFileBytes(path);
    if (!content) return false;
    bytes = std::move(*content);
    return true;
}

bool writeOutput(const std::string& path, const std::string& bytes) {
    if (path.empty() || path == "-") {
        std::cout << bytes;
        return static_cast<bool>(std::cout);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int loadTemplate(const TemplateOptions& o, TfrReport& report, ScriptedUi& ui) {
    return loadTemplateFile(o.input, o.hasPassword ? std::optional(o.password) : std::nullopt,
                            report, ui);
}

int compile(const TemplateOptions& o) {
    std::string text;
    if (!readFile(o.input, text)) {
        std::cerr << "pachka: cannot read " << o.input << "\n";
        return 1;
    }
    TfrReport report;
    try {
        std::string dir = std::filesystem::path(o.input).parent_path().string();
        readTemplateSource(text, report, dir);
        ByteStream stream;
        // The printer the source names, not the one this machine selected.
        writeFrf(report, stream, report.PrinterName, report.now());
        if (!writeOutput(o.output, stream.bytes())) {
            std::cerr << "pachka: cannot write " << o.output << "\n";
            return 1;
        }
    } catch (const TemplateSourceError& e) {
        std::cerr << o.input << ": " << e.what() << "\n";
        return 2;
    } catch (const FrfWriteError& e) {
        std::cerr << o.input << ": " << e.what() << "\n";
        return 2;
    }
    return 0;
}

int decompile(const TemplateOptions& o) {
    TfrReport report;
    ScriptedUi ui;
    if (int rc = loadTemplate(o, report, ui)) return rc;
    return writeOutput(o.output, writeTemplateSource(report)) ? 0 : 1;
}

int show(const TemplateOptions& o) {
    TfrReport report;
    ScriptedUi ui;
    if (int rc = loadTemplate(o, report, ui)) return rc;
    std::cout << templateToJson(report).dump(2) << "\n";
    return 0;
}

} // namespace

void addTemplateCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("template", "Compile, decompile and show report templates");
    command->require_subcommand(1);
    auto options = std::make_shared<TemplateOptions>();

    auto* c = command->add_subcommand("compile", "Template source to .frf");
    c->add_option("SOURCE", options->input, "The template source")->required();
    c->add_option("-o,--output", options->output, "The .frf file to write")->required();
    c->callback([options, &exitCode] { exitCode = compile(*options); });

    auto* d = command->add_subcommand("decompile", "A .frf file as template source on stdout");
    d->add_option("FRF", options->input, "The template")->required();
    d->add_option("-o,--output", options->output, "Write the source here instead");
    auto* s = command->add_subcommand("show", "A .frf file's model as JSON");
    s->add_option("FRF", options->input, "The template")->required();
    for (auto* sub : {d, s}) {
        sub->add_option_function<std::string>(
            "--password",
            [options](const std::string& p) {
                options->password = p;
                options->hasPassword = true;
            },
            "The template's password (UTF-8)");
    }
    d->callback([options, &exitCode] { exitCode = decompile(*options); });
    s->callback([options, &exitCode] { exitCode = show(*options); });
}

} // namespace pv::cli
