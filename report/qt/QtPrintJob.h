#pragma once

#include "report/prepared/PrintPages.h"

#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace pv {

class FontService;
class TfrEMFPages;

// Print jobs of prepared pages on a QPrinter: each page is drawn by its
// objects through a QPainter canvas at the printer's resolution.
class QtPrintJob : public PrintJob {
public:
    QtPrintJob(QPrinter& printer, TfrEMFPages& pages, FontService& fonts);
    ~QtPrintJob() override;

    // Asked after each page whether the user gave up (the progress window).
    void setCancelCheck(std::function<bool()> check) { cancelCheck_ = std::move(check); }

    bool makesCopies() const override;
    bool beginJob(const std::string& title, const PaperSettings& paper, int copies) override;
    void newPage() override;
    void paintPage(int page, const Rect& rect) override;
    void endJob() override;
    void abort() override;
    bool cancelled() override;

    // Whether the printer reported an error in a job of this device.
    bool failed() const { return failed_; }

private:
    void finishPainter();

    QPrinter& printer_;
    TfrEMFPages& pages_;
    FontService& fonts_;
    std::unique_ptr<QPainter> painter_;
    std::function<bool()> cancelCheck_;
    bool failed_ = false;
};

} // namespace pv
