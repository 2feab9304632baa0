#include "report/printer/Printer.h"

#include "platform/CodePage.h"
#include "report/printer/PaperSizes.h"

#include <cmath>
#include <cstdlib>

namespace pv {
namespace {

int32_t deviceToReportPixels(int pixels, int dpi) {
    if (dpi <= 0) return 0;
    return static_cast<int32_t>(std::lround(double(pixels) * (93 / 1.015) / dpi));
}

// Sizes come from templates, any 32-bit value: subtract in 64 bits.
bool withinOne(int a, int b) {
    return std::abs(int64_t(a) - int64_t(b)) <= 1;
}

int normalBin(int bin) {
    return isDefaultBin(bin) ? -1 : bin;
}

} // namespace

TfrPrinter::TfrPrinter() {
    SelectPrinter(VirtualIndex());
}

void TfrPrinter::setDevices(std::vector<std::shared_ptr<InstalledPrinter>> devices) {
    devices_ = std::move(devices);
    SelectPrinter(devices_.empty() ? VirtualIndex() : 0);
}

std::vector<std::string> TfrPrinter::Printers() const {
    std::vector<std::string> names;
    for (const auto& d : devices_)
        names.push_back(d->name());
    names.push_back(ru("Виртуальный принтер"));
    return names;
}

std::string TfrPrinter::printerName() const {
    return Printers()[index_];
}

int TfrPrinter::indexOf(const std::string& name) const {
    auto names = Printers();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

void TfrPrinter::SelectPrinter(int index) {
    if (index < 0 || index > VirtualIndex()) return;
    index_ = index;
    bins_ = {{-1, ru("По умолчанию")}};
    if (isVirtual()) {
        papers_.clear();
        for (const auto& p : paperSizes())
            papers_.push_back({p.code, p.name});
        applyVirtual(paper_);
        return;
    }
    readCapabilities();
}

bool samePaper(const PaperSettings& current, const PaperSettings& wanted) {
    if (wanted.size != current.size) return false;
    if (wanted.size == kCustomPaper)
        return withinOne(wanted.width, current.width) && withinOne(wanted.height, current.height) &&
               wanted.orientation == current.orientation;
    // Every spelling of the default bin asks for the same bin.
    return wanted.orientation == current.orientation &&
           (normalBin(wanted.bin) == normalBin(current.bin) || normalBin(wanted.bin) == -1);
}

bool TfrPrinter::SamePaper(int size, int width, int height, int orientation, int bin) const {
    return samePaper(paper_, {size, width, height, orientation, bin});
}

bool TfrPrinter::SetPaper(int size, int width, int height, int orientation, int bin, bool force) {
    if (printing_) return true;
    if (!force && SamePaper(size, width, height, orientation, bin)) return true;
    PaperSettings wanted{size, width, height, orientation, bin};
    return isVirtual() ? applyVirtual(wanted) : applyDevice(wanted);
}

bool TfrPrinter::applyVirtual(const PaperSettings& wanted) {
    PaperSettings paper = wanted;
    if (paper.size != kCustomPaper) {
        const pv::PaperSize* entry = findPaperSize(paper.size);
        if (!entry) return false;
        paper.width = entry->width;
        paper.height = entry->height;
        if (paper.orientation == 1) std::swap(paper.width, paper.height);
    }
    paper_ = paper;
    return true;
}

bool TfrPrinter::applyDevice(const PaperSettings& wanted) {
    auto& device = *devices_[index_];
    if (!device.applyPaper(wanted)) return false;
    paper_.bin = wanted.bin;
    readCapabilities();
    return true;
}

void TfrPrinter::readCapabilities() {
    caps_ = devices_[index_]->capabilities();
    papers_ = caps_.papers;
    bins_ = {{-1, ru("По умолчанию")}};
    bins_.insert(bins_.end(), caps_.bins.begin(), caps_.bins.end());
    paper_.size = caps_.paperSize;
    paper_.orientation = caps_.orientation;
    if (caps_.dpiX > 0)
        paper_.width = static_cast<int>(std::lround(caps_.physicalWidth * 254.0 / caps_.dpiX));
    if (caps_.dpiY > 0)
        paper_.height = static_cast<int>(std::lround(caps_.physicalHeight * 254.0 / caps_.dpiY));
}

TfrPageInfo TfrPrinter::GetPageInfo() const {
    TfrPageInfo info;
    if (isVirtual()) {
        info.paperWidth = tenthsMmToReportPixels(paper_.width);
        info.paperHeight = tenthsMmToReportPixels(paper_.height);
        info.offsetX = info.offsetY = 18;
        info.printableWidth = info.paperWidth - 36;
        info.printableHeight = info.paperHeight - 36;
        return info;
    }
    info.paperWidthPx = caps_.physicalWidth;
    info.paperHeightPx = caps_.physicalHeight;
    info.offsetXPx = caps_.offsetX;
    info.offsetYPx = caps_.offsetY;
    info.printableWidthPx = caps_.printableWidth;
    info.printableHeightPx = caps_.printableHeight;
    info.paperWidth = deviceToReportPixels(caps_.physicalWidth, caps_.dpiX);
    info.paperHeight = deviceToReportPixels(caps_.physicalHeight, caps_.dpiY);
    info.offsetX = deviceToReportPixels(caps_.offsetX, caps_.dpiX);
    info.offsetY = deviceToReportPixels(caps_.offsetY, caps_.dpiY);
    info.printableWidth = deviceToReportPixels(caps_.printableWidth, caps_.dpiX);
    info.printableHeight = deviceToReportPixels(caps_.printableHeight, caps_.dpiY);
    return info;
}

TfrPrinter& frPrinter() {
    static TfrPrinter printer;
    return printer;
}

} // namespace pv
