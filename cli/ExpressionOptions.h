#pragma once

#include "cli/FormatOptions.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

namespace pv {
class ExpressionEngine;
class ReportObjects;
class ScriptedUi;
class TfrReport;
struct ExpressionContext;
} // namespace pv

namespace pv::cli {

// Options of the commands that evaluate expressions: the system number and
// date format and global variables set beforehand (as text, like the program's
// report variables), and a template whose objects expressions may address.
struct ExpressionOptions {
    ExpressionOptions();
    ~ExpressionOptions();

    FormatOptions format;
    std::vector<std::string> vars;
    std::string templateFile;

    void addTo(CLI::App& command);
    // Installs the system format and sets the variables; throws CLI::ValidationError
    // for a --var without "=".
    void apply() const;
    // Loads the --template file, if one was given, and lets `context` reach its
    // objects. Returns 0, or the exit code after saying on stderr what went wrong.
    int attachTemplate(ExpressionContext& context, ScriptedUi& ui);
    // Gives the template's objects the engine that evaluates method arguments.
    void bind(ExpressionEngine& engine);

private:
    std::unique_ptr<TfrReport> report_;
    std::unique_ptr<ReportObjects> objects_;
};

} // namespace pv::cli
