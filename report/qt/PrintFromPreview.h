#pragma once

#include "report/prepared/PrintPages.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace pv {

class TfrEMFPages;
class ReportProgress;
class Ui;

// What the preview's report says about printing, and the preview's hooks.
struct PreviewPrintSettings {
    bool showPrintDialog = true;
    int defaultCopies = 1;
    bool defaultCollate = true;
    std::string title; // the report's Title (1251)
    QWidget* parent = nullptr;
    // Where messages go; none: a Qt message box.
    Ui* ui = nullptr;
    // Called when another printer was chosen in the dialog: prepares the
    // report again for it, the new pages replacing the old. False when the
    // template cannot be set up for that printer. None: the pages are kept.
    std::function<bool()> rebuild;
    std::function<void(int page)> progress;
    // Asked after each page; true ends the job.
    std::function<bool()> cancelled;
    // The report's progress: the pages are printed inside its window, whose
    // cancel button aborts the job. None: they are printed directly.
    ReportProgress* reportProgress = nullptr;
};

// What printing needs of each prepared page.
std::vector<PrintedPage> printedPages(const TfrEMFPages& pages);

// Prints the prepared pages from the preview: asks in the print dialog which
// pages and how many copies (unless the dialog is switched off), then prints
// them on the selected printer. Nothing happens without pages or without an
// installed printer. `currentPage` is 1-based.
PrintOutcome PrintFromPreview(TfrEMFPages& pages, int currentPage,
                              const PreviewPrintSettings& settings, TfrPrinter& printer);

} // namespace pv
