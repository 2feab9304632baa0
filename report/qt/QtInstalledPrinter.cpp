#include "report/qt/QtInstalledPrinter.h"
#include "report/qt/QtText.h"

#include "platform/CodePage.h"
#include "report/printer/PaperSizes.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <array>

namespace pv {
namespace {

// Paper bins: the window system's bin codes beside Qt's paper sources. CUPS
// names no bins of its own, so the bin list stays the default bin alone.
struct BinCode {
    int code;
    QPrinter::PaperSource source;
};

constexpr std::array<BinCode, 13> kBins{{
    {1, QPrinter::OnlyOne},
    {2, QPrinter::Lower},
    {3, QPrinter::Middle},
    {4, QPrinter::Manual},
    {5, QPrinter::Envelope},
    {6, QPrinter::EnvelopeManual},
    {7, QPrinter::Auto},
    {8, QPrinter::Tractor},
    {9, QPrinter::SmallFormat},
    {10, QPrinter::LargeFormat},
    {11, QPrinter::LargeCapacity},
    {14, QPrinter::Cassette},
    {15, QPrinter::FormSource},
}};

const BinCode* binOfCode(int code) {
    for (const auto& b : kBins)
        if (b.code == code) return &b;
    return nullptr;
}

QPageSize millimetres(int width, int height) {
    return QPageSize(QSizeF(width / 10.0, height / 10.0), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
}

// The page size a paper code asks for; sizes Qt has no id for are taken
// from the paper table.
QPageSize pageSizeOf(const PaperSettings& paper) {
    if (paper.size == kCustomPaper) {
        // Qt keeps page sizes upright and turns them by the orientation.
        const int w = std::min(paper.width, paper.height);
        const int h = std::max(paper.width, paper.height);
        return millimetres(w, h);
    }
    const QPageSize::PageSizeId id = QPageSize::id(paper.size);
    if (id != QPageSize::Custom) return QPageSize(id);
    if (const PaperSize* entry = findPaperSize(paper.size))
        return millimetres(entry->width, entry->height);
    return QPageSize();
}

} // namespace

QtInstalledPrinter::QtInstalledPrinter(const QPrinterInfo& info)
    : printer_(std::make_unique<QPrinter>(info, QPrinter::HighResolution)),
      name_(from1251(info.printerName())) {}

QtInstalledPrinter::QtInstalledPrinter(std::unique_ptr<QPrinter> printer, std::string name)
    : printer_(std::move(printer)), name_(std::move(name)) {}

QtInstalledPrinter::~QtInstalledPrinter() = default;

std::string QtInstalledPrinter::name() const {
    return name_;
}

bool QtInstalledPrinter::applyPaper(const PaperSettings& paper) {
    const QPageSize size = pageSizeOf(paper);
    if (!size.isValid()) return false;
    if (!printer_->setPageSize(size)) return false;
    printer_->setPageOrientation(paper.orientation == 1 ? QPageLayout::Landscape
                                                        : QPageLayout::Portrait);
    printer_->setCopyCount(1);
    if (!isDefaultBin(paper.bin))
        if (const BinCode* bin = binOfCode(paper.bin)) printer_->setPaperSource(bin->source);
    return true;
}

PrinterCapabilities QtInstalledPrinter::capabilities() const {
    PrinterCapabilities caps;
    const QPageLayout layout = printer_->pageLayout();
    const int dpi = printer_->resolution();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    caps.dpiX = caps.dpiY = dpi;
    caps.physicalWidth = full.width();
    caps.physicalHeight = full.height();
    caps.offsetX = paint.left();
    caps.offsetY = paint.top();
    caps.printableWidth = paint.width();
    caps.printableHeight = paint.height();
    caps.orientation = layout.orientation() == QPageLayout::Landscape ? 1 : 0;
    const int code = layout.pageSize().windowsId();
    caps.paperSize = code > 0 ? code : kCustomPaper;

    const QPrinterInfo info(*printer_);
    for (const QPageSize& size : info.supportedPageSizes())
        caps.papers.push_back({size.windowsId(), from1251(size.name())});
    // A printer that names no papers (a file printer) takes every paper.
    if (caps.papers.empty())
        for (const PaperSize& p : paperSizes())
            caps.papers.push_back({p.code, p.name});
    return caps;
}

std::vector<std::shared_ptr<InstalledPrinter>> installedPrinters() {
    std::vector<std::shared_ptr<InstalledPrinter>> devices;
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& info : printers)
        if (info.printerName() == defaultName)
            devices.push_back(std::make_shared<QtInstalledPrinter>(info));
    for (const QPrinterInfo& info : printers)
        if (info.printerName() != defaultName)
            devices.push_back(std::make_shared<QtInstalledPrinter>(info));
    return devices;
}

bool ShowPrinterProperties(TfrPrinter& printer, QWidget* parent) {
    auto device = std::dynamic_pointer_cast<QtInstalledPrinter>(printer.device());
    if (!device) return false;
    QPageSetupDialog dialog(&device->printer(), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    printer.SelectPrinter(printer.PrinterIndex());
    return true;
}

} // namespace pv
