#include "platform/DeviceState.h"

#include "platform/EmfRecords.h"

#include <algorithm>
#include <cmath>

namespace pv {

namespace L = emf::layout;

namespace {

LogFont stockFont(const char* face) {
    LogFont f;
    f.height = -16;
    f.weight = kFontWeightNormal;
    f.charSet = 1;
    f.faceName = face;
    return f;
}

XForm readXForm(const EmfRecord& r, std::size_t off) {
    return {r.f32(off),      r.f32(off + 4),  r.f32(off + 8),
            r.f32(off + 12), r.f32(off + 16), r.f32(off + 20)};
}

} // namespace

DcState::DcState()
    : penHandle(kStockObjectFlag | emf::stock::BLACK_PEN),
      brushHandle(kStockObjectFlag | emf::stock::WHITE_BRUSH),
      fontHandle(kStockObjectFlag | emf::stock::SYSTEM_FONT), pen{PenStyle::Solid, 0, 0},
      brush{BrushStyle::Solid, rgb(255, 255, 255), 0}, font(stockFont("System")) {}

XForm multiply(const XForm& a, const XForm& b) {
    return {a.m11 * b.m11 + a.m12 * b.m21,      a.m11 * b.m12 + a.m12 * b.m22,
            a.m21 * b.m11 + a.m22 * b.m21,      a.m21 * b.m12 + a.m22 * b.m22,
            a.dx * b.m11 + a.dy * b.m21 + b.dx, a.dx * b.m12 + a.dy * b.m22 + b.dy};
}

std::optional<GdiObject> DeviceState::stockObject(std::uint32_t number) {
    namespace S = emf::stock;
    switch (number) {
    case S::WHITE_BRUSH:
        return Brush{BrushStyle::Solid, rgb(255, 255, 255), 0};
    case S::LTGRAY_BRUSH:
        return Brush{BrushStyle::Solid, rgb(192, 192, 192), 0};
    case S::GRAY_BRUSH:
        return Brush{BrushStyle::Solid, rgb(128, 128, 128), 0};
    case S::DKGRAY_BRUSH:
        return Brush{BrushStyle::Solid, rgb(64, 64, 64), 0};
    case S::BLACK_BRUSH:
        return Brush{BrushStyle::Solid, rgb(0, 0, 0), 0};
    case S::NULL_BRUSH:
        return Brush{BrushStyle::Hollow, rgb(255, 255, 255), 0};
    case S::WHITE_PEN:
        return Pen{PenStyle::Solid, 0, rgb(255, 255, 255)};
    case S::BLACK_PEN:
        return Pen{PenStyle::Solid, 0, rgb(0, 0, 0)};
    case S::NULL_PEN:
        return Pen{PenStyle::Null, 0, rgb(0, 0, 0)};
    case S::OEM_FIXED_FONT:
        return stockFont("Terminal");
    case S::ANSI_FIXED_FONT:
        return stockFont("Courier");
    case S::ANSI_VAR_FONT:
        return stockFont("MS Sans Serif");
    case S::SYSTEM_FONT:
        return stockFont("System");
    case S::DEVICE_DEFAULT_FONT:
        return stockFont("System");
    case S::SYSTEM_FIXED_FONT:
        return stockFont("Fixedsys");
    case S::DEFAULT_GUI_FONT:
        return stockFont("MS Shell Dlg");
    default:
        return std::nullopt;
    }
}

void DeviceState::createObject(std::uint32_t index, const GdiObject& object) {
    objects_[index] = object;
}

void DeviceState::deleteObject(std::uint32_t index) {
    objects_.erase(index);
}

const GdiObject* DeviceState::object(std::uint32_t index) const {
    auto it = objects_.find(index);
    return it == objects_.end() ? nullptr : &it->second;
}

bool DeviceState::isInUse(std::uint32_t index) const {
    auto uses = [index](const DcState& s) {
        return s.penHandle == index || s.brushHandle == index || s.fontHandle == index;
    };
    return uses(current_) || std::any_of(saved_.begin(), saved_.end(), uses);
}

std::uint32_t DeviceState::freeIndex() const {
    std::uint32_t i = 1;
    for (const auto& [index, object] : objects_) {
        if (index != i) break;
        ++i;
    }
    return i;
}

std::uint32_t DeviceState::highestIndex() const {
    return objects_.empty() ? 0 : objects_.rbegin()->first;
}

bool DeviceState::selectObject(std::uint32_t handle) {
    std::optional<GdiObject> value;
    if (handle & kStockObjectFlag)
        value = stockObject(handle & ~kStockObjectFlag);
    else if (const GdiObject* o = object(handle))
        value = *o;
    if (!value) return false;
    if (auto* pen = std::get_if<Pen>(&*value)) {
        current_.pen = *pen;
        current_.penHandle = handle;
    } else if (auto* brush = std::get_if<Brush>(&*value)) {
        current_.brush = *brush;
        current_.brushHandle = handle;
    } else {
        current_.font = std::get<LogFont>(*value);
        current_.fontHandle = handle;
    }
    return true;
}

void DeviceState::intersectClip(const EmfEdges& r) {
    current_.clip = current_.clip ? intersection(r, *current_.clip) : r;
}

bool DeviceState::modifyWorldTransform(const XForm& xform, std::uint32_t mode) {
    switch (mode) {
    case 1:
        current_.transform = XForm{};
        return true;
    case 2:
        current_.transform = multiply(xform, current_.transform);
        return true;
    case 3:
        current_.transform = multiply(current_.transform, xform);
        return true;
    case 4:
        current_.transform = xform;
        return true;
    default:
        return false;
    }
}

namespace {

constexpr std::uint32_t MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4,
                        MM_HIENGLISH = 5, MM_TWIPS = 6, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;

bool followsExtents(std::uint32_t mode) {
    return mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC;
}

// Page units per millimetre of the fixed modes.
double unitsPerMm(std::uint32_t mode) {
    switch (mode) {
    case MM_LOMETRIC:
        return 10;
    case MM_HIMETRIC:
        return 100;
    case MM_LOENGLISH:
        return 100 / 25.4;
    case MM_HIENGLISH:
        return 1000 / 25.4;
    case MM_TWIPS:
        return 1440 / 25.4;
    default:
        return 0;
    }
}

} // namespace

PageScale pageScale(const PageMapping& m, double pixelsPerMmX, double pixelsPerMmY) {
    PageScale s;
    if (followsExtents(m.mode)) {
        s.scaleX = double(m.viewportExt.cx) / m.windowExt.cx;
        s.scaleY = double(m.viewportExt.cy) / m.windowExt.cy;
        if (m.mode == MM_ISOTROPIC) {
            const double both = std::min(std::fabs(s.scaleX), std::fabs(s.scaleY));
            s.scaleX = std::copysign(both, s.scaleX);
            s.scaleY = std::copysign(both, s.scaleY);
        }
    } else if (const double units = unitsPerMm(m.mode); units > 0) {
        // The fixed modes count y upwards.
        s.scaleX = pixelsPerMmX / units;
        s.scaleY = -pixelsPerMmY / units;
    }
    s.offsetX = m.viewportOrg.x - m.windowOrg.x * s.scaleX;
    s.offsetY = m.viewportOrg.y - m.windowOrg.y * s.scaleY;
    return s;
}

// A fixed mode sets both extents to its own; the extents kept are those of
// the last isotropic or anisotropic use, as the device would report them.
void DeviceState::setMapMode(std::uint32_t mode) {
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return;
    current_.mapping.mode = mode;
}

// Extents are ignored outside the two modes that follow them, and a zero
// extent would leave no scale to divide by.
void DeviceState::setExtent(Size& extent, Size value) {
    if (!followsExtents(current_.mapping.mode) || value.cx == 0 || value.cy == 0) return;
    extent = value;
}

void DeviceState::scaleExtent(Size& extent, const EmfRecord& r) {
    const std::int32_t xNum = r.i32(8), xDenom = r.i32(12), yNum = r.i32(16), yDenom = r.i32(20);
    if (xDenom == 0 || yDenom == 0) return;
    const std::int64_t cx = std::int64_t(extent.cx) * xNum / xDenom;
    const std::int64_t cy = std::int64_t(extent.cy) * yNum / yDenom;
    if (cx == 0 || cy == 0 || cx != std::int32_t(cx) || cy != std::int32_t(cy)) return;
    setExtent(extent, {std::int32_t(cx), std::int32_t(cy)});
}

void DeviceState::save() {
    saved_.push_back(current_);
}

bool DeviceState::restore(std::int32_t level) {
    const std::int64_t depth = std::int64_t(saved_.size());
    const std::int64_t levels = level < 0 ? -std::int64_t(level) : depth - level + 1;
    if (level == 0 || levels <= 0 || levels > depth) return false;
    current_ = saved_[std::size_t(depth - levels)];
    saved_.resize(std::size_t(depth - levels));
    return true;
}

void DeviceState::apply(const EmfRecord& r) {
    switch (r.type()) {
    case emf::EMR_CREATEPEN: {
        auto [index, pen] = decodeCreatePen(r);
        createObject(index, pen);
        break;
    }
    case emf::EMR_EXTCREATEPEN: {
        Pen pen;
        pen.style = PenStyle(r.u32(28) & 0xF);
        pen.width = r.i32(32);
        pen.color = r.u32(40) & 0xFFFFFF;
        createObject(r.u32(8), pen);
        break;
    }
    case emf::EMR_CREATEBRUSHINDIRECT: {
        auto [index, brush] = decodeCreateBrush(r);
        createObject(index, brush);
        break;
    }
    case emf::EMR_EXTCREATEFONTINDIRECTW: {
        auto [index, font] = decodeExtCreateFont(r);
        createObject(index, font);
        break;
    }
    case emf::EMR_DELETEOBJECT:
        deleteObject(r.u32(8));
        break;
    case emf::EMR_SELECTOBJECT:
        selectObject(r.u32(L::EMR_SELECTOBJECT::ihObject));
        break;
    case emf::EMR_SETTEXTCOLOR:
        setTextColor(r.u32(L::EMR_SETTEXTCOLOR::Color) & 0xFFFFFF);
        break;
    case emf::EMR_SETBKCOLOR:
        setBkColor(r.u32(8) & 0xFFFFFF);
        break;
    case emf::EMR_SETBKMODE:
        setBkMode(r.u32(L::EMR_SETBKMODE::BackgroundMode));
        break;
    case emf::EMR_SETTEXTALIGN:
        setTextAlign(r.u32(L::EMR_SETTEXTALIGN::TextAlignmentMode));
        break;
    case emf::EMR_SETPOLYFILLMODE:
        setPolyFillMode(r.u32(8));
        break;
    case emf::EMR_SAVEDC:
        save();
        break;
    case emf::EMR_RESTOREDC:
        restore(r.i32(L::EMR_RESTOREDC::SavedDC));
        break;
    case emf::EMR_SETWORLDTRANSFORM:
        setWorldTransform(readXForm(r, L::EMR_SETWORLDTRANSFORM::Xform_M11));
        break;
    case emf::EMR_MODIFYWORLDTRANSFORM:
        modifyWorldTransform(readXForm(r, 8), r.u32(32));
        break;
    case emf::EMR_SETMAPMODE:
        setMapMode(r.u32(8));
        break;
    case emf::EMR_SETWINDOWORGEX:
        current_.mapping.windowOrg = r.pointL(8);
        break;
    case emf::EMR_SETVIEWPORTORGEX:
        current_.mapping.viewportOrg = r.pointL(8);
        break;
    case emf::EMR_SETWINDOWEXTEX:
        setExtent(current_.mapping.windowExt, {r.i32(8), r.i32(12)});
        break;
    case emf::EMR_SETVIEWPORTEXTEX:
        setExtent(current_.mapping.viewportExt, {r.i32(8), r.i32(12)});
        break;
    case emf::EMR_SCALEWINDOWEXTEX:
        scaleExtent(current_.mapping.windowExt, r);
        break;
    case emf::EMR_SCALEVIEWPORTEXTEX:
        scaleExtent(current_.mapping.viewportExt, r);
        break;
    case emf::EMR_MOVETOEX:
        moveTo(r.pointL(L::EMR_MOVETOEX::Offset));
        break;
    case emf::EMR_LINETO:
        moveTo(r.pointL(L::EMR_LINETO::Point));
        break;
    case emf::EMR_INTERSECTCLIPRECT:
        intersectClip(r.rect(L::EMR_INTERSECTCLIPRECT::Clip));
        break;
    case emf::EMR_EXTSELECTCLIPRGN:
        // Only "no region, copy" (clip removed) is understood; other regions leave the clip as it
        // is.
        if (r.u32(8) == 0 && r.u32(12) == 5) removeClip();
        break;
    default:
        break;
    }
}

} // namespace pv
