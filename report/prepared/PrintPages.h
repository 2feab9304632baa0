#pragma once

#include "report/prepared/PrintPlan.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pv {

// A print job on a real printer, as a platform backend (Qt/CUPS) drives it.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    // Whether the printer makes copies of a page itself.
    virtual bool makesCopies() const = 0;
    // False when the job cannot be started.
    virtual bool beginJob(const std::string& title, const PaperSettings& paper, int copies) = 0;
    virtual void newPage() = 0;
    // Paints the 1-based page into `rect` (printer pixels) and drops its objects.
    virtual void paintPage(int page, const Rect& rect) = 0;
    virtual void endJob() = 0;
    virtual void abort() = 0;
    // Lets the window system run; true once the user cancelled.
    virtual bool cancelled() = 0;
};

struct PrintPagesOptions {
    std::string pageList; // empty: every page
    int copies = 1;
    PageParity parity = PageParity::All;
    bool collate = true;
    std::string title; // the report's Title
    // Told each page number once it is printed.
    std::function<void(int page)> progress;
};

enum class PrintOutcome { Printed, NothingToPrint, Cancelled, Failed };

// Prints the prepared pages the page list selects. A malformed page list
// throws ConversionError before anything reaches the printer. The printer
// model follows each job's paper and gives the page rectangles; it is marked
// printing while a job runs.
PrintOutcome PrintPages(const std::vector<PrintedPage>& pages, const PrintPagesOptions& options,
                        TfrPrinter& printer, PrintJob& device);

// The job's title: the report's Title, or "Untitled".
std::string printJobTitle(const std::string& title);
// The progress window's caption while printing (1251).
std::string printProgressCaption(const std::string& title);
// The progress label: the label text, two blanks and the page number, and
// " из " with the total when it is known.
std::string progressLabel(const std::string& text, int page, std::optional<int> total = {});

} // namespace pv
