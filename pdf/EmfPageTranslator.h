#pragma once

#include "pdf/PdfPageRecording.h"
#include "platform/EmfRecorder.h"

#include <memory>

namespace pv {

class FontService;

// The page-close translator of a document: a fresh TEMWParser for every page.
class EmfPageTranslator : public MetafileTranslator {
public:
    explicit EmfPageTranslator(FontService& fonts,
                               ReferenceDevice reference = ReferenceDevice::screen())
        : fonts_(fonts), reference_(reference) {}
    FrameSize Frame(const std::string& metafile, const TPDFPage& page) override;
    void Translate(const std::string& metafile, TPDFPage& page) override;

private:
    FontService& fonts_;
    ReferenceDevice reference_;
};

// A page's recording surface: the platform's metafile recorder, sized to the page.
class EmfPageRecording : public PageRecording {
public:
    EmfPageRecording(FontService& fonts, int widthDevice, int heightDevice,
                     ReferenceDevice reference = ReferenceDevice::screen());
    EmfRecorder& Recorder() { return recorder_; }
    void Resize(int widthDevice, int heightDevice) override;
    std::string Finish() override;

private:
    EmfRecorder recorder_;
};

class EmfPageRecordingFactory : public PageRecordingFactory {
public:
    explicit EmfPageRecordingFactory(FontService& fonts) : fonts_(fonts) {}
    std::unique_ptr<PageRecording> Create(int widthDevice, int heightDevice) override;

private:
    FontService& fonts_;
};

} // namespace pv
