// Page formation: a band printed across sheets. What fits above the bottom
// limit is written, a text box crossing it is cut after its last whole line,
// and the rest moves up to the top of the next sheet, until every object is
// written.
#include "report/draw/MemoLayout.h"
#include "report/model/ByteStream.h"
#include "report/model/MemoView.h"
#include "report/prepare/PageFormation.h"
#include "report/prepare/PageRuntime.h"
#include "report/prepared/PreparedPages.h"

#include <algorithm>

namespace pv {

namespace {

// However a band's text measures, its split ends after this many sheets.
constexpr int kMaxSplitSheets = 100000;

// An object of the band with its place in the part still to print.
struct SplitPiece {
    TfrView* view;
    int top;
    int height;
    bool started = false; // part of a text box already written
};

bool overlapsHorizontally(const TfrView& a, const TfrView& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width;
}

// The height the lines a cut text box kept still need.
int restHeight(const TfrMemoView& memo, const Lines& rest) {
    return MeasureMemo(memo, rest).textHeight;
}

} // namespace

void PageFormation::printSplit(TfrBand& band) {
    band.y = runtime_.curY;
    if (band.calculatedHeight == 0) band.calculatedHeight = band.height;
    std::vector<SplitPiece> pieces;
    for (TfrView* view : band.objects)
        pieces.push_back({view, view->Top, printHeight(band, *view)});
    // The counting pass cuts the text boxes as the final pass does, to count
    // the same sheets, but keeps what it writes nowhere.
    ByteStream scratch;
    const bool dry = pass_.twoPass && !pass_.finalPass;
    int bandRest = band.calculatedHeight;
    int sheets = 0;

    while (!pass_.terminated) {
        const bool freshSheet = runtime_.curY <= emptySheetY_;
        const int room = std::max(0, runtime_.bottomLimit - columnFooterHeight() - runtime_.curY);
        ByteStream& stream = dry ? scratch : pages_.ObjectStream(pass_.currentPage);
        std::vector<SplitPiece> later;
        struct Growth {
            const TfrView* view;
            int bottom, extra;
        };
        std::vector<Growth> growths;
        bool progress = false;
        int printedBottom = 0;

        for (SplitPiece& p : pieces) {
            auto* memo = dynamic_cast<TfrMemoView*>(p.view);
            if (p.top + p.height <= room) {
                const DrawMode mode = p.started ? DrawMode::Part : DrawMode::Normal;
                writeAt(band, *p.view, runtime_.curY + p.top, p.height, mode, stream);
                printedBottom = std::max(printedBottom, p.top + p.height);
                progress = true;
                // A part measured short of its lines keeps the rest for the next sheet.
                const std::optional<Lines>& rest = memoState(*p.view).lines;
                if (memo && p.started && rest && !rest->empty())
                    later.push_back({p.view, 0, restHeight(*memo, *rest), true});
                continue;
            }
            if (p.top >= room) {
                later.push_back({p.view, p.top - room, p.height, p.started});
                continue;
            }
            // Crossing the limit: a text box gives the lines that fit; any
            // other object goes whole to the next sheet.
            const int part = room - p.top;
            if (memo && part >= SmallestPartHeight(*memo)) {
                writeAt(band, *p.view, runtime_.curY + p.top, part, DrawMode::Part, stream);
                progress = true;
                printedBottom = std::max(printedBottom, room);
                const std::optional<Lines>& rest = memoState(*p.view).lines;
                if (!rest) continue;
                const int planned = p.height - part;
                const int needed = std::max(planned, restHeight(*memo, *rest));
                growths.push_back({p.view, p.top + p.height, needed - planned});
                later.push_back({p.view, 0, needed, true});
                continue;
            }
            later.push_back({p.view, 0, p.height, p.started});
        }
        // Objects below a cut text box make room for the lines it carried over.
        for (const Growth& g : growths)
            for (SplitPiece& p : later)
                if (g.extra > 0 && p.view != g.view && p.top + room >= g.bottom &&
                    overlapsHorizontally(*p.view, *g.view))
                    p.top += g.extra;

        bandRest -= room;
        if (later.empty()) {
            runtime_.curY += std::max(printedBottom, bandRest + room);
            return;
        }
        if ((freshSheet && !progress) || ++sheets > kMaxSplitSheets) {
            // Not even one line fits on an empty sheet: print what is left
            // as it is rather than start sheets without end.
            for (SplitPiece& p : later) {
                writeAt(band, *p.view, runtime_.curY + p.top, p.height,
                        p.started ? DrawMode::Part : DrawMode::Normal, stream);
                memoState(*p.view).lines.reset();
                printedBottom = std::max(printedBottom, p.top + p.height);
            }
            runtime_.curY += printedBottom;
            return;
        }
        pieces = std::move(later);
        breakColumn(&band);
        band.y = runtime_.curY;
    }
}

} // namespace pv
