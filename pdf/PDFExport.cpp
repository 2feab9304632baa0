#include "pdf/PDFExport.h"

#include "platform/CodePage.h"
#include "platform/FontService.h"
#include "report/draw/DrawView.h"
#include "report/prepared/PreparedPages.h"
#include "report/export/ExportFilterRegistry.h"
#include "report/model/ViewGeometry.h"

#include <cmath>
#include <stdexcept>

namespace pv {

namespace {

constexpr double kReportPixelsPerInch = 91.44;
constexpr const char* kMakerNotice = "Made with pachkaview, the Pension Fund forms printer";
constexpr const char* kAuthor = "pachkaview";

int scaled(int length, double scale) {
    return static_cast<int>(std::lround(length * scale));
}

} // namespace

// Records each page on a metafile canvas of the screen the objects are
// measured for, so that text keeps the advances it has in the preview.
class TfrPDFExport::Recordings : public PageRecordingFactory {
public:
    Recordings(FontService& fonts, ReferenceDevice screen) : fonts_(fonts), screen_(screen) {}
    std::unique_ptr<PageRecording> Create(int widthDevice, int heightDevice) override {
        return std::make_unique<EmfPageRecording>(fonts_, widthDevice, heightDevice, screen_);
    }

private:
    FontService& fonts_;
    ReferenceDevice screen_;
};

TfrPDFExport::TfrPDFExport() : TfrPDFExport(FontService::shared()) {}

TfrPDFExport::TfrPDFExport(FontService& fonts, int screenPixelsPerInch, PdfClock clock)
    : TfrPDFExport(Unregistered{}, fonts, screenPixelsPerInch, std::move(clock)) {
    registered_ = RegisterExportFilter(*this, ru(kDescription), kPattern);
}

TfrPDFExport::TfrPDFExport(Unregistered, FontService& fonts, int screenPixelsPerInch,
                           PdfClock clock)
    : fonts_(fonts), screenPixelsPerInch_(screenPixelsPerInch) {
    if (screenPixelsPerInch_ < 1)
        throw std::invalid_argument("the screen's pixels per inch must be positive");
    screen_ = ReferenceDevice::screen();
    screen_.pixelsPerInch = screenPixelsPerInch_;
    recordings_ = std::make_unique<Recordings>(fonts_, screen_);
    translator_ = std::make_unique<EmfPageTranslator>(fonts_, screen_);
    document_ = std::make_unique<TPDFDocument>(clock);
    document_->SetAutoLaunch(false);
    document_->SetRecordingFactory(recordings_.get());
    document_->SetTranslator(translator_.get());
    clock_ = std::move(clock);
}

TfrPDFExport::~TfrPDFExport() {
    // Another instance's refused registration must not take this entry away.
    if (registered_) UnregisterExportFilter(*this);
}

void TfrPDFExport::BeginDocument() {
    TPDFDocument& doc = *document_;
    // An export that failed halfway never reached its end: drop what it left.
    if (doc.Generating()) doc.Abort();
    doc.SetFileName(fileName());
    doc.SetOutputStream(stream());
    doc.SetCompression(ctFlate);
    doc.SetOnePass(true);
    doc.SetVersion(v13);

    TPDFDocInfo& info = doc.DocumentInfo();
    info.CreationDate = clock_();
    info.Title = kMakerNotice;
    info.Author = kAuthor;
    info.Creator = kCreator;
    info.Keywords.clear();
    info.Subject.clear();

    doc.SetResolution(screenPixelsPerInch_);
    scale_ = screenPixelsPerInch_ / kReportPixelsPerInch;

    doc.BeginDoc();
    started_ = true;
    pageIndex_ = -1;
}

void TfrPDFExport::BeginPage() {
    const TfrEMFPages* pages = exportedPages();
    if (!pages) throw std::logic_error("a PDF page begins outside an export");
    ++pageIndex_;
    if (pageIndex_ > 0) document_->NewPage();
    const PreparedPage& page = pages->Page(pageIndex_);
    TPDFPage& pdfPage = *document_->CurrentPage();
    pdfPage.SetWidth(scaled(page.paperWidthPixels(), scale_));
    pdfPage.SetHeight(scaled(page.paperHeightPixels(), scale_));
    pageLeft_ = scaled(page.pageInfo.offsetX, scale_);
    pageTop_ = scaled(page.pageInfo.offsetY, scale_);
}

void TfrPDFExport::ObjectData(int, int, TfrView& view) {
    auto* recording = dynamic_cast<EmfPageRecording*>(document_->Canvas());
    if (!recording) throw std::logic_error("a PDF object is drawn with no page open");
    DrawScale scale;
    scale.sx = scale_;
    scale.sy = scale_;
    DrawView(recording->Recorder(), view, scale);
}

void TfrPDFExport::EndDocument() {
    TPDFDocument& doc = *document_;
    try {
        doc.EndDoc();
    } catch (...) {
        if (doc.Generating()) doc.Abort();
        doc.SetOutputStream(nullptr);
        throw;
    }
    // The engine's stream lives only for this export.
    doc.SetOutputStream(nullptr);
}

} // namespace pv
