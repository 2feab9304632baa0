#pragma once

#include "platform/Geometry.h"
#include "report/model/ByteStream.h"
#include "report/printer/Printer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pv {

class Canvas;
class TfrExportFilter;
class TfrPage;
class TfrReport;
class TfrView;

// One page of a prepared report: its paper, as the template page had it when
// the page was started, and the records of the objects written onto it.
struct PreparedPage {
    Rect screenRect; // where the preview shows the page, preview pixels
    int32_t size = 9;
    int32_t width = 2100, height = 2970; // tenths of a millimetre
    uint8_t orientation = 0;
    int32_t bin = -1;
    uint8_t useMargins = 1;
    int32_t leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0; // report pixels
    TfrPageInfo pageInfo;
    // Set while the page is in view, printed or searched; a page that is not
    // visible drops its objects when painted.
    bool visible = false;
    // The edition byte, then one prepared object record per object.
    ByteStream stream;
    // The objects read back from the stream, held only while the page is drawn.
    std::unique_ptr<TfrPage> page;

    // The paper in report pixels.
    int paperWidthPixels() const;
    int paperHeightPixels() const;
};

// Where a page is being painted: only the screen skips objects outside its
// clip, and only the printer's canvas draws as printing.
enum class PaintTarget { Screen, Printer, Recording };

// What lies under a point of a page, and what clicking it asks for. A link is
// an object whose Name begins with "URL": a Tag holding "@N" goes to page N,
// any other Tag is opened with the desktop's shell.
struct ObjectHit {
    enum class Link { None, OpenShell, GoToPage };
    // Valid while the page holds its objects (until it is painted invisible).
    TfrView* object = nullptr;
    Link link = Link::None;
    std::string target; // the Tag to open (1251)
    int page = 0;       // 1-based page to go to
    std::string hint;   // what the status line shows over the link (1251)
};

// The ordered list of a report's prepared pages.
class TfrEMFPages {
public:
    // The report supplies the printer name and generator version a file
    // carries, and takes the printer a file names.
    explicit TfrEMFPages(TfrReport& report);
    ~TfrEMFPages();
    TfrEMFPages(const TfrEMFPages&) = delete;
    TfrEMFPages& operator=(const TfrEMFPages&) = delete;

    int Count() const { return static_cast<int>(pages_.size()); }
    // Throws std::out_of_range for an index outside the list.
    PreparedPage& Page(int index);
    const PreparedPage& Page(int index) const;

    // A new page with the template page's paper, margins and page info and an
    // object stream holding only its edition byte. An index at or beyond the
    // end appends.
    PreparedPage& AppendPage(const TfrPage& templatePage);
    PreparedPage& InsertPage(int index, const TfrPage& templatePage);
    void RemovePage(int index);
    void ClearPages();

    // Appends the object's prepared record to the page's stream.
    void AddObject(int index, const TfrView& view);
    // The stream the writer appends records to, positioned at its end.
    ByteStream& ObjectStream(int index);

    // Draws the page's objects scaled into `rect` (device pixels).
    void PaintPage(int index, Canvas& canvas, const Rect& rect,
                   PaintTarget target = PaintTarget::Screen);
    // Hands every object of the page to the filter, then drops the objects.
    void ExportPage(int index, TfrExportFilter& filter);
    // `point` in the coordinates of the page's screen rectangle; objects are
    // tested from the last to the first.
    ObjectHit ObjectAtPoint(int index, Point point);

    // The page's objects, read from its stream if not held yet.
    TfrPage& Objects(int index);
    void DropObjects(int index);

    // The prepared-report file. Reading replaces the list; a file that cannot
    // be read throws FrfFormatError and leaves the list empty.
    void WritePreparedFile(ByteStream& s) const;
    void ReadPreparedFile(ByteStream& s);

private:
    PreparedPage& checked(int index);
    const PreparedPage& checked(int index) const;
    void readCurrentLayout(ByteStream& s, int edition, uint8_t compression);
    void readOldestLayout(ByteStream& s);
    void takePaper(PreparedPage& page) const;

    TfrReport& report_;
    std::vector<std::unique_ptr<PreparedPage>> pages_;
};

// The rectangle a page is painted into within its page rectangle: the whole
// paper, or for a page that does not use margins its printable area less the
// margins, at the rectangle's scale.
Rect PaintRectangle(const PreparedPage& page, const Rect& pageRect);

} // namespace pv
