#pragma once

#include "pdf/PdfPageRecording.h"
#include "platform/DeviceState.h"
#include "platform/EmfRecorder.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pv {

class FontService;
class TPDFPage;

// The header bounds of a metafile scaled by `k` (page resolution / reference
// ppi). Throws EmfFormatError for bytes that are not a metafile.
MetafileTranslator::FrameSize metafileFrame(const std::string& metafile, double k);

// Turns one page's enhanced metafile into the page's drawing operations. It
// walks the records once, keeping a small model of the drawing state, and
// replays objects, saved states and transforms on a reference device so that
// their values can be read back. Created for one page and used once.
class TEMWParser {
public:
    explicit TEMWParser(TPDFPage& page, FontService& fonts,
                        ReferenceDevice reference = ReferenceDevice::screen());

    void LoadFromBytes(std::string metafile);
    bool Loaded() const { return loaded_; }
    // The drawn bounds in the page's device units; "Metafile not loaded" without a metafile.
    MetafileTranslator::FrameSize FrameSize() const;
    // Adds the page lines of every record; "Metafile not loaded" without a metafile.
    void Translate();

private:
    struct GraphicsSnapshot {
        Color fill = 0, stroke = 0;
        double lineWidth = 0;
        std::string dash;
        unsigned fontGeneration = 0;
    };

    void reset();
    void handle(const EmfRecord& r);
    double X(double x) const { return x * scaleX_ * k_ + offsetX_; }
    double Y(double y) const { return y * scaleY_ * k_ + offsetY_; }

    // Painting after a shape, and the colour caches.
    void strokeOnly();
    void fillAndStroke();
    bool penVisible() const;
    void setFill(Color c);
    void setStroke(Color c);
    void beginTextObject();
    void endTextObject();
    void gsave();
    void grestore();

    // Record groups.
    void polyBezier(const std::vector<Point>& pts);
    void polygon(const std::vector<Point>& pts);
    void polyline(const std::vector<Point>& pts);
    void polyBezierTo(const std::vector<Point>& pts);
    void polylineTo(const std::vector<Point>& pts);
    void polyPoly(const EmfRecord& r, bool small, bool closed);
    void polyDraw(const EmfRecord& r, bool small);
    void arcFamily(const EmfRecord& r);
    void angleArc(const EmfRecord& r);
    void setPixel(const EmfRecord& r);
    void clipPath();
    void intersectClip(const EmfRect& rect);
    void restoreDC();
    void readTransform();
    void useDevice(const EmfHeader& header);
    void selectObject(std::uint32_t handle);
    void selectStock(std::uint32_t number);
    void usePen(const Pen& pen);
    void useFont(const LogFont& font);
    void applyFont();
    void textOut(const EmfRecord& r, bool wide);
    void bitBlt(const EmfRecord& r);
    void stretchBlt(const EmfRecord& r);
    void stretchDIBits(const EmfRecord& r);
    void setDIBitsToDevice(const EmfRecord& r);
    void placeImage(int index, double left, double top, double width, double height);

    TPDFPage& page_;
    FontService& fonts_;
    int ppi_;
    double k_;
    std::string metafile_;
    bool loaded_ = false;

    DeviceState reference_;
    Point position_;
    double scaleX_ = 1, scaleY_ = 1, offsetX_ = 0, offsetY_ = 0;
    struct {
        double x = 0, y = 0;
    } frameOrigin_;
    double pixelsPerMmX_ = 96 / 25.4, pixelsPerMmY_ = 96 / 25.4, devicePpi_ = 96;
    bool inPath_ = false, inText_ = false, clipActive_ = false, fontDirty_ = true;
    bool hollow_ = false, evenOdd_ = true, counterClockwise_ = true;
    int vertical_ = 0, horizontal_ = 0;
    Color penColor_ = 0;
    PenStyle penStyle_ = PenStyle::Solid;
    double penWidth_ = 0;
    std::string dash_ = "[] 0";
    bool dashPending_ = false;
    Color brushColor_ = 0, textColor_ = 0, bkColor_ = 0;
    LogFont font_;
    Color lastFill_ = 0, lastStroke_ = 0;
    double lastLineWidth_ = 0;
    unsigned fontGeneration_ = 0;
    std::vector<GraphicsSnapshot> saved_;
    std::array<int, 256> advances_{};
};

} // namespace pv
