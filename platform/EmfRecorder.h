#pragma once

#include "platform/Canvas.h"
#include "platform/DeviceState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pv {

// The device a metafile is recorded against: its size in pixels and its
// resolution. The screen at 96 dpi is the reference of every page canvas.
struct ReferenceDevice {
    int widthPixels = 1920;
    int heightPixels = 1080;
    int pixelsPerInch = 96;

    static ReferenceDevice screen() { return {}; }
    // The size in millimetres (rounded) and in micrometres, as the header keeps them.
    Size millimeters() const;
    Size micrometers() const;
};

// A canvas that records what is drawn as an enhanced metafile in the
// published record format, so that other programs open the result. Pens,
// brushes and fonts become objects when something is drawn with them; an
// object is deleted as soon as neither the current state nor a saved state
// holds it. finish() ends the recording and returns the whole file.
class EmfRecorder : public Canvas {
public:
    // `pageSize` (device pixels) sets the header's frame; without it the
    // frame follows what was drawn.
    explicit EmfRecorder(FontService& fonts, ReferenceDevice device = ReferenceDevice::screen(),
                         std::optional<Size> pageSize = std::nullopt);
    ~EmfRecorder() override;

    const DeviceState& deviceState() const { return device_; }
    // The page the frame describes, device pixels; may change until finish().
    void setPageSize(Size pageSize) { pageSize_ = pageSize; }
    bool isFinished() const { return finished_; }
    // Takes back saved states, selects the stock objects, deletes every
    // object, writes EMR_EOF and the header. Drawing afterwards throws std::logic_error.
    std::vector<std::uint8_t> finish();
    // Writes the finished metafile (finishing it first). Throws std::runtime_error on failure.
    void saveToFile(const std::string& pathUtf8);

private:
    class Record;

    void textColorChanged() override;
    void bkColorChanged() override;
    void bkModeChanged() override;
    void textAlignChanged() override;
    void clipIntersected(const Rect& rect) override;
    void clipRemoved() override;
    void saved() override;
    void restored(int levels) override;
    void drawText(Point origin, std::uint32_t options, const Rect* rect, std::string_view text,
                  const std::vector<int>& advances) override;
    void drawMoveTo(Point to) override;
    void drawLine(Point from, Point to) override;
    void drawPolyline(std::span<const Point> points) override;
    void drawPolygon(std::span<const Point> points) override;
    void drawRectangle(const Rect& rect) override;
    void drawFillRect(const Rect& rect, const Brush& brush) override;
    void drawDib(const Rect& dest, const Dib& dib) override;

    void emit(Record& record);
    void ensureOpen() const;
    void realisePen();
    void realiseBrush();
    void realiseBrush(const Brush& brush);
    void realiseFont();
    void select(std::uint32_t handle);
    void deleteUnused();
    std::uint32_t createObject(const GdiObject& object);
    void addBounds(const EmfRect& r);
    void addPoints(std::span<const Point> points);
    void drawPoints(std::uint32_t type16, std::uint32_t type32, std::span<const Point> points);

    ReferenceDevice reference_;
    std::optional<Size> pageSize_;
    DeviceState device_;
    std::vector<std::uint8_t> body_;
    std::uint32_t records_ = 0;
    std::uint32_t maxHandle_ = 0;
    std::optional<EmfRect> bounds_;
    bool finished_ = false;
    std::vector<std::uint8_t> result_;
};

} // namespace pv
