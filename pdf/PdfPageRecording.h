#pragma once

#include <memory>
#include <string>

namespace pv {

class TPDFPage;

// The surface a page records drawings on while it is open (an enhanced
// metafile canvas of the page size in device units). The platform's recorder
// implements it; the page only resizes it and takes the recorded bytes.
class PageRecording {
public:
    virtual ~PageRecording() = default;
    virtual void Resize(int widthDevice, int heightDevice) = 0;
    // Ends the recording and gives the metafile bytes.
    virtual std::string Finish() = 0;
};

class PageRecordingFactory {
public:
    virtual ~PageRecordingFactory() = default;
    virtual std::unique_ptr<PageRecording> Create(int widthDevice, int heightDevice) = 0;
};

// Turns a page's recorded metafile into page operations when the page closes.
class MetafileTranslator {
public:
    virtual ~MetafileTranslator() = default;
    struct FrameSize {
        int right = 0;
        int bottom = 0;
    };
    // The bounds of what was drawn, scaled to the page's device units.
    virtual FrameSize Frame(const std::string& metafile, const TPDFPage& page) = 0;
    // Calls the page's drawing operations for every record.
    virtual void Translate(const std::string& metafile, TPDFPage& page) = 0;
};

} // namespace pv
