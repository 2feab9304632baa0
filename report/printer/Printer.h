#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pv {

// Paper and printable area of the current printer: printer pixels and report
// pixels (report pixels only for the virtual printer).
struct TfrPageInfo {
    int32_t paperWidthPx = 0, paperHeightPx = 0;
    int32_t paperWidth = 0, paperHeight = 0;
    int32_t offsetXPx = 0, offsetYPx = 0;
    int32_t offsetX = 0, offsetY = 0;
    int32_t printableWidthPx = 0, printableHeightPx = 0;
    int32_t printableWidth = 0, printableHeight = 0;

    bool operator==(const TfrPageInfo&) const = default;
};

// A paper request: size code, width and height in tenths of a millimetre,
// orientation (0 portrait, 1 landscape), bin (−1 the default).
struct PaperSettings {
    int size = 9;
    int width = 2100;
    int height = 2970;
    int orientation = 0;
    int bin = -1;
    bool operator==(const PaperSettings&) const = default;
};

// Whether `wanted` asks for the paper `current` already is: the same size code
// and orientation and, for the custom size, width and height within 1;
// otherwise the same bin or the default bin.
bool samePaper(const PaperSettings& current, const PaperSettings& wanted);

// What a real printer reports after its settings changed.
struct PrinterCapabilities {
    std::vector<std::pair<int, std::string>> papers; // code, name (1251)
    std::vector<std::pair<int, std::string>> bins;   // without the default entry
    int paperSize = 9;
    int orientation = 0;
    int physicalWidth = 0, physicalHeight = 0; // printer pixels
    int offsetX = 0, offsetY = 0;
    int printableWidth = 0, printableHeight = 0;
    int dpiX = 300, dpiY = 300;
};

// An installed printer, provided by a platform backend (Qt/CUPS).
class InstalledPrinter {
public:
    virtual ~InstalledPrinter() = default;
    virtual std::string name() const = 0; // 1251
    // Changes the device's paper, orientation and bin; false when it refuses.
    virtual bool applyPaper(const PaperSettings& paper) = 0;
    virtual PrinterCapabilities capabilities() const = 0;
};

// The engine's printer model: the installed printers and, last, the virtual
// printer, whose papers are the Windows paper table. It converts paper to
// report pixels for templates and prepared pages.
class TfrPrinter {
public:
    TfrPrinter();

    // Replaces the installed printers; the first one is selected, or the
    // virtual printer when there is none.
    void setDevices(std::vector<std::shared_ptr<InstalledPrinter>> devices);

    // Names of the installed printers followed by "Виртуальный принтер".
    std::vector<std::string> Printers() const;
    int PrinterIndex() const { return index_; }
    int VirtualIndex() const { return static_cast<int>(devices_.size()); }
    bool isVirtual() const { return index_ == VirtualIndex(); }
    std::string printerName() const;
    // −1 when no printer has that name.
    int indexOf(const std::string& name) const;

    void SelectPrinter(int index);
    // The selected installed printer; none for the virtual printer.
    std::shared_ptr<InstalledPrinter> device() const {
        return isVirtual() ? nullptr : devices_[index_];
    }

    // Applies paper (see PaperSettings) unless a print job runs or, unless
    // forced, the paper is already the current one. False when the printer
    // refuses it; the current paper is then unchanged.
    bool SetPaper(int size, int width, int height, int orientation, int bin, bool force);
    bool SamePaper(int size, int width, int height, int orientation, int bin) const;
    TfrPageInfo GetPageInfo() const;

    int PaperSize() const { return paper_.size; }
    int PaperWidth() const { return paper_.width; }
    int PaperHeight() const { return paper_.height; }
    int Orientation() const { return paper_.orientation; }
    int Bin() const { return paper_.bin; }
    // The current printer's papers and bins (code, name); bins start with
    // "По умолчанию" (−1).
    const std::vector<std::pair<int, std::string>>& PaperNames() const { return papers_; }
    const std::vector<std::pair<int, std::string>>& Bins() const { return bins_; }

    void setPrinting(bool printing) { printing_ = printing; }
    bool printing() const { return printing_; }

private:
    bool applyVirtual(const PaperSettings& paper);
    bool applyDevice(const PaperSettings& paper);
    void readCapabilities();

    std::vector<std::shared_ptr<InstalledPrinter>> devices_;
    int index_ = 0;
    PaperSettings paper_;
    std::vector<std::pair<int, std::string>> papers_;
    std::vector<std::pair<int, std::string>> bins_;
    PrinterCapabilities caps_;
    bool printing_ = false;
};

// The one printer model of the engine.
TfrPrinter& frPrinter();

// A bin whose low 16 bits are all set is the printer's default, as −1.
inline bool isDefaultBin(int bin) {
    return bin == -1 || (bin & 0xFFFF) == 0xFFFF;
}

} // namespace pv
