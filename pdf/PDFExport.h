#pragma once

#include "pdf/EmfPageTranslator.h"
#include "pdf/PDFClock.h"
#include "pdf/PDFDocument.h"
#include "report/export/ExportFilter.h"

#include <memory>

namespace pv {

class FontService;

// The export filter that saves prepared reports as PDF: every object of a
// page draws itself, as on the screen, onto the PDF page's recording canvas,
// and the recorded metafile becomes the page's content.
class TfrPDFExport : public TfrExportFilter {
public:
    static constexpr const char* kDescription = "Документ Adobe Acrobat(*.pdf)"; // UTF-8
    static constexpr const char* kPattern = "*.pdf";
    static constexpr const char* kCreator = "Tarvelin";

    // `screenPixelsPerInch` is what the screen's device context reports; a
    // headless run has none and takes the reference screen's 96.
    explicit TfrPDFExport(FontService& fonts, int screenPixelsPerInch = kHeadlessScreenDpi,
                          PdfClock clock = systemLocalTime);
    TfrPDFExport();
    ~TfrPDFExport() override;

    void BeginDocument() override;
    void BeginPage() override;
    void ObjectData(int x, int y, TfrView& view) override;
    void EndDocument() override;

    TPDFDocument& Document() { return *document_; }
    // Device units (screen pixels) per report pixel.
    double Scale() const { return scale_; }
    // The prepared page being exported, 0-based; -1 before the first.
    int PageIndex() const { return pageIndex_; }
    bool Started() const { return started_; }
    // Whether this instance holds the registry's entry.
    bool Registered() const { return registered_; }

    static constexpr int kHeadlessScreenDpi = 96;

protected:
    // Descendants are not offered in the save dialog: only the filter itself
    // registers, so they construct through this one.
    struct Unregistered {};
    TfrPDFExport(Unregistered, FontService& fonts, int screenPixelsPerInch, PdfClock clock);

private:
    class Recordings;

    FontService& fonts_;
    int screenPixelsPerInch_;
    ReferenceDevice screen_;
    std::unique_ptr<Recordings> recordings_;
    std::unique_ptr<EmfPageTranslator> translator_;
    std::unique_ptr<TPDFDocument> document_;
    bool registered_ = false;
    bool started_ = false;
    int pageIndex_ = -1;
    int pageLeft_ = 0, pageTop_ = 0; // printing offsets, device units
    double scale_ = 1;
    PdfClock clock_;
};

} // namespace pv
