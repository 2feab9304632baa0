#include "report/prepared/PrintPages.h"

#include "platform/CodePage.h"
#include "report/prepared/PageList.h"

namespace pv {

namespace {

// Keeps the printer model's printing flag true exactly while a job runs, also
// when painting throws.
class JobRunner {
public:
    JobRunner(TfrPrinter& printer, PrintJob& device, std::string title, int copies)
        : printer_(printer), device_(device), title_(std::move(title)), copies_(copies) {}
    ~JobRunner() {
        if (open_) device_.abort();
        printer_.setPrinting(false);
    }

    bool begin(const PaperSettings& paper) {
        printer_.setPrinting(false);
        printer_.SetPaper(paper.size, paper.width, paper.height, paper.orientation, paper.bin,
                          true);
        if (!device_.beginJob(title_, paper, copies_)) return false;
        open_ = true;
        printer_.setPrinting(true);
        return true;
    }
    void end() {
        open_ = false;
        device_.endJob();
        printer_.setPrinting(false);
    }
    void abort() {
        open_ = false;
        device_.abort();
        printer_.setPrinting(false);
    }

private:
    TfrPrinter& printer_;
    PrintJob& device_;
    std::string title_;
    int copies_;
    bool open_ = false;
};

} // namespace

std::string printJobTitle(const std::string& title) {
    return title.empty() ? "Untitled" : title;
}

std::string printProgressCaption(const std::string& title) {
    std::string caption = ru("Подготовка отчета");
    if (!title.empty()) caption += " - " + title;
    return caption;
}

std::string progressLabel(const std::string& text, int page, std::optional<int> total) {
    std::string label = text + "  " + std::to_string(page);
    if (total) label += ru(" из ") + std::to_string(*total);
    return label;
}

PrintOutcome PrintPages(const std::vector<PrintedPage>& pages, const PrintPagesOptions& options,
                        TfrPrinter& printer, PrintJob& device) {
    PrintRequest request;
    request.pages = parsePageList(options.pageList, static_cast<int>(pages.size()));
    request.copies = options.copies;
    request.collate = options.collate;
    request.parity = options.parity;
    request.printerMakesCopies = device.makesCopies();
    const PrintPlan plan = makePrintPlan(request, [&](int page) { return pages[page - 1].paper; });
    if (plan.actions.empty()) return PrintOutcome::NothingToPrint;

    JobRunner job(printer, device, printJobTitle(options.title), plan.deviceCopies);
    for (const PrintAction& action : plan.actions) {
        switch (action.kind) {
        case PrintAction::BeginJob:
            if (!job.begin(action.paper)) return PrintOutcome::Failed;
            break;
        case PrintAction::NewSheet:
            device.newPage();
            break;
        case PrintAction::PrintPage: {
            const PrintedPage& page = pages[action.page - 1];
            device.paintPage(action.page,
                             printerPageRect(printer.GetPageInfo(), page.useMargins, page.margins));
            if (options.progress) options.progress(action.page);
            if (device.cancelled()) {
                job.abort();
                return PrintOutcome::Cancelled;
            }
            break;
        }
        case PrintAction::EndJob:
            job.end();
            break;
        }
    }
    return PrintOutcome::Printed;
}

} // namespace pv
