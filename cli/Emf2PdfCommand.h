#pragma once

#include <CLI/CLI.hpp>

namespace pv::cli {

// `pachka emf2pdf IN.emf [more.emf ...] -o OUT.pdf`: one PDF page per
// metafile, each sized from its frame and drawn by the page translator.
void addEmf2PdfCommand(CLI::App& app, int& exitCode);

} // namespace pv::cli
