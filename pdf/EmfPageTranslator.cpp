#include "pdf/EmfPageTranslator.h"

#include "pdf/MetafileTranslator.h"
#include "pdf/PDFPage.h"

namespace pv {

MetafileTranslator::FrameSize EmfPageTranslator::Frame(const std::string& metafile,
                                                       const TPDFPage& page) {
    return metafileFrame(metafile, double(page.Resolution()) / reference_.pixelsPerInch);
}

void EmfPageTranslator::Translate(const std::string& metafile, TPDFPage& page) {
    TEMWParser parser(page, fonts_, reference_);
    parser.LoadFromBytes(metafile);
    parser.Translate();
}

EmfPageRecording::EmfPageRecording(FontService& fonts, int widthDevice, int heightDevice,
                                   ReferenceDevice reference)
    : recorder_(fonts, reference, Size{widthDevice, heightDevice}) {}

void EmfPageRecording::Resize(int widthDevice, int heightDevice) {
    recorder_.setPageSize(Size{widthDevice, heightDevice});
}

std::string EmfPageRecording::Finish() {
    const std::vector<std::uint8_t> bytes = recorder_.finish();
    return std::string(bytes.begin(), bytes.end());
}

std::unique_ptr<PageRecording> EmfPageRecordingFactory::Create(int widthDevice, int heightDevice) {
    return std::make_unique<EmfPageRecording>(fonts_, widthDevice, heightDevice);
}

} // namespace pv
