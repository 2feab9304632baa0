#pragma once

#include "report/printer/Printer.h"

#include <memory>
#include <string>
#include <vector>

class QPrinter;
class QPrinterInfo;
class QWidget;

namespace pv {

// An installed printer seen through Qt (CUPS on Linux). It owns the QPrinter
// that print jobs on this printer run on, so paper applied here is the paper
// the next job prints on.
class QtInstalledPrinter : public InstalledPrinter {
public:
    explicit QtInstalledPrinter(const QPrinterInfo& info);
    // Over a printer set up elsewhere, such as a PDF-file printer.
    QtInstalledPrinter(std::unique_ptr<QPrinter> printer, std::string name);
    ~QtInstalledPrinter() override;

    std::string name() const override; // 1251
    bool applyPaper(const PaperSettings& paper) override;
    // Printer pixels at the printer's resolution.
    PrinterCapabilities capabilities() const override;

    QPrinter& printer() { return *printer_; }

private:
    std::unique_ptr<QPrinter> printer_;
    std::string name_;
};

// The installed printers, the system's default one first.
std::vector<std::shared_ptr<InstalledPrinter>> installedPrinters();

// The selected printer's own settings dialog; accepted settings become the
// printer's and its capabilities are read again. False when cancelled or when
// the virtual printer is selected.
bool ShowPrinterProperties(TfrPrinter& printer, QWidget* parent = nullptr);

} // namespace pv
