#pragma once

#include "platform/EmfReader.h"
#include "platform/GdiObjects.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <map>
#include <optional>
#include <variant>
#include <vector>

namespace pv {

using GdiObject = std::variant<Pen, Brush, LogFont>;

// Handles of stock objects carry this bit above the stock number.
constexpr std::uint32_t kStockObjectFlag = 0x80000000;

// How page space reaches device space: the mapping mode with the window and
// viewport origins and extents, as they were last set. Extents are only
// followed in the isotropic and anisotropic modes; the fixed modes take their
// scale from the device's physical size.
struct PageMapping {
    std::uint32_t mode = 1; // MM_TEXT
    Point windowOrg, viewportOrg;
    Size windowExt{1, 1}, viewportExt{1, 1};
};

// Device pixels per page unit along x and y for a device of `pixelsPerMmX` and
// `pixelsPerMmY`, with the origin offsets: device = page * scale + offset.
struct PageScale {
    double scaleX = 1, scaleY = 1, offsetX = 0, offsetY = 0;
};
PageScale pageScale(const PageMapping& m, double pixelsPerMmX, double pixelsPerMmY);

// One level of device-context state. Selected objects are kept by handle and
// by value, so a state saved before its objects were deleted still says what
// was drawn with.
struct DcState {
    std::uint32_t penHandle, brushHandle, fontHandle;
    Pen pen;
    Brush brush;
    LogFont font;
    Color textColor = 0;
    Color bkColor = rgb(255, 255, 255);
    std::uint32_t bkMode = 2;       // opaque
    std::uint32_t textAlign = 0;    // left, top, no current-position update
    std::uint32_t polyFillMode = 1; // alternate
    XForm transform;
    PageMapping mapping;
    Point position;
    std::optional<EmfEdges> clip; // intersection of the clip rectangles, right and bottom exclusive
    DcState();
};

// The reference device context: the small model of selected pen, brush and
// font, colours and modes, saved states and world transform that a metafile
// implies at each record. The recorder drives it while writing records and a
// reader replays records into it with apply(), so both sides agree on what a
// record stream means.
class DeviceState {
public:
    const DcState& current() const { return current_; }
    const Pen& pen() const { return current_.pen; }
    const Brush& brush() const { return current_.brush; }
    const LogFont& font() const { return current_.font; }
    const XForm& worldTransform() const { return current_.transform; }
    const PageMapping& mapping() const { return current_.mapping; }
    int saveDepth() const { return int(saved_.size()); }

    // The object table, by metafile object index (1 and up).
    void createObject(std::uint32_t index, const GdiObject& object);
    void deleteObject(std::uint32_t index);
    const GdiObject* object(std::uint32_t index) const;
    // Whether the current or any saved state has the object selected.
    bool isInUse(std::uint32_t index) const;
    // The lowest index that holds no object.
    std::uint32_t freeIndex() const;
    std::uint32_t highestIndex() const;

    // A table index or a stock handle; false (nothing changed) for an index
    // without object or a stock number that names no pen, brush or font.
    bool selectObject(std::uint32_t handle);

    void setTextColor(Color c) { current_.textColor = c; }
    void setBkColor(Color c) { current_.bkColor = c; }
    void setBkMode(std::uint32_t mode) { current_.bkMode = mode; }
    void setTextAlign(std::uint32_t align) { current_.textAlign = align; }
    void setPolyFillMode(std::uint32_t mode) { current_.polyFillMode = mode; }
    void moveTo(Point p) { current_.position = p; }
    void intersectClip(const EmfEdges& rect);
    void removeClip() { current_.clip.reset(); }

    void setWorldTransform(const XForm& xform) { current_.transform = xform; }
    // Modes of the metafile record: 1 identity, 2 left-multiply, 3 right-multiply, 4 set.
    bool modifyWorldTransform(const XForm& xform, std::uint32_t mode);

    void save();
    // `saved` < 0: that many levels back; > 0: the state saved at that level.
    bool restore(std::int32_t saved);

    // Replays one record; records that do not touch the state are ignored.
    // Malformed records throw EmfFormatError.
    void apply(const EmfRecord& record);

    // What the stock objects stand for on the platform (grey brushes 192,
    // 128 and 64, stock fonts 16 pixels high under their usual face names).
    // A reader with rules of its own for stock objects applies them to the
    // handle, which current() keeps.
    static std::optional<GdiObject> stockObject(std::uint32_t number);

private:
    void setMapMode(std::uint32_t mode);
    void setExtent(Size& extent, Size value);
    void scaleExtent(Size& extent, const EmfRecord& r);

    DcState current_;
    std::vector<DcState> saved_;
    std::map<std::uint32_t, GdiObject> objects_;
};

XForm multiply(const XForm& a, const XForm& b); // a then b

} // namespace pv
