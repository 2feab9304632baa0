#include "report/prepare/PageFormation.h"

#include "platform/CodePage.h"
#include "platform/TextCase.h"
#include "report/draw/MemoLayout.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/prepare/BandAggregates.h"
#include "report/prepare/BandAlignPlacement.h"
#include "report/prepare/DataSourceContext.h"
#include "report/prepare/PageRuntime.h"
#include "report/prepare/PreparationEvents.h"
#include "report/prepare/ViewPrint.h"
#include "report/prepared/PreparedPages.h"
#include "report/script/ExpressionEngine.h"
#include "report/script/ScriptInterpreter.h"
#include "report/template/Report.h"
#include "report/template/ReportEvents.h"
#include "report/data/DataSet.h"
#include "report/data/DatabaseError.h"
#include "report/model/PictureView.h"
#include "report/prepare/WholeFieldBinding.h"

#include <algorithm>
#include <set>

namespace pv {

namespace {

constexpr int kDataTypes[] = {btMasterData, btDetailData, btSubDetailData};

bool isHeaderOrData(int type) {
    return type == btMasterData || type == btDetailData || type == btSubDetailData ||
           type == btGroupHeader;
}

// Bands that keep their place whatever the flow: they are never fitted.
bool placedApart(int type) {
    return type == btPageFooter || type == btOverlay || type == btColumnFooter || type == btNone;
}

bool isSheetFurniture(int type) {
    return type == btPageHeader || type == btColumnHeader || type == btPageFooter ||
           type == btOverlay || type == btColumnFooter;
}

bool objectVisible(const TfrBand& band) {
    return band.view ? band.view->Visible != 0 : true;
}

// Puts a view where it prints and back again when the print is done.
class PrintPosition {
public:
    PrintPosition(TfrView& view, int left, int top, int height)
        : view_(view), left_(view.Left), top_(view.Top), height_(view.Height) {
        view.Left = left;
        view.Top = top;
        view.Height = height;
    }
    ~PrintPosition() {
        view_.Left = left_;
        view_.Top = top_;
        view_.Height = height_;
    }
    PrintPosition(const PrintPosition&) = delete;
    PrintPosition& operator=(const PrintPosition&) = delete;

private:
    TfrView& view_;
    int32_t left_, top_, height_;
};

} // namespace

void PassState::endPages(int page) {
    for (; pagesEnded < page; ++pagesEnded)
        if (events) events->endPage(pagesEnded);
}

PageFormation::PageFormation(PageRuntime& runtime, TfrEMFPages& pages,
                                   ExpressionEngine& engine, TfrInterpretator& interpretator,
                                   PassState& pass)
    : runtime_(runtime), page_(runtime.page()), pages_(pages), engine_(engine),
      interpretator_(interpretator), pass_(pass) {
    for (int level = 0; level < 3; ++level)
        if (runtime_.slot(kDataTypes[level])) deepestLevel_ = level;
    const TfrPageInfo& info = page_.PageInfo;
    const bool margins = page_.UseMargins != 0;
    PlacementLimits h = placementLimits(margins, info.paperWidth, page_.LeftMargin,
                                        page_.RightMargin, info.offsetX, info.printableWidth);
    PlacementLimits v = placementLimits(margins, info.paperHeight, page_.TopMargin,
                                        page_.BottomMargin, info.offsetY, info.printableHeight);
    leftLimit_ = h.left;
    rightLimit_ = h.right;
    topLimit_ = v.left;
    pageBottom_ = v.right;
}

PageFormation::~PageFormation() = default;

void PageFormation::Form(SheetContinuation& continuation) {
    TfrBand* master = runtime_.slot(btMasterData);
    if (!pass_.printIfEmpty && master) {
        TfrDataset* data = master->DataSet();
        if (!masterHasRows(data)) return;
    }
    TfrBand* footer = runtime_.slot(btPageFooter);
    runtime_.bottomLimit = pageBottom_ - (footer ? footer->height : 0);
    runtime_.horizontalOffset = leftLimit_;
    runtime_.currentColumn = 0;

    firstSheet_ = pages_.Count();
    if (continuation.active && pages_.Count() > 0) {
        // A skipped page between (a sub-report page, an invisible one) left
        // no sheet of its own: go on on the last sheet there is.
        pass_.currentPage = pages_.Count() - 1;
        firstSheet_ = pass_.currentPage;
        runtime_.curY = continuation.curY;
        emptySheetY_ = topLimit_;
    } else {
        addSheet();
        drawBand(runtime_.slot(btOverlay));
        drawBand(&runtime_.outsideBands());
    }
    footedUpTo_ = firstSheet_ - 1;

    if (pass_.events && pass_.events->member().OnManualBuild) {
        pass_.events->member().OnManualBuild(page_,
                                             [this](std::string_view name) { showBand(name); });
    } else {
        const int before = pages_.Count();
        printTitle();
        if (pages_.Count() == before) {
            TfrBand* header = runtime_.slot(btPageHeader);
            if (header && header->flags & flBandOnFirstPage) drawBand(header);
            drawBand(runtime_.slot(btColumnHeader));
        }
        emptySheetY_ = std::max(emptySheetY_, runtime_.curY);
        if (deepestLevel_ >= 0) dataLoop(0);
        if (!pass_.terminated) {
            drawBand(runtime_.slot(btColumnFooter));
            printSummary();
        }
    }
    continuation.curY =
        runtime_.columns() > 1 && runtime_.currentColumn > 0 ? pageBottom_ : runtime_.curY;
    continuation.bottomLimit = runtime_.bottomLimit;

    if (footer) {
        bool onFirst = pass_.currentPage == firstSheet_ && (footer->flags & flBandOnFirstPage);
        if (onFirst || (footer->flags & flBandOnLastPage)) printPageFooter(true);
    }
}

// The data loop of one level (master, detail, subdetail): every data band of
// that level in y order over its rows, with its header, footer and groups.
void PageFormation::dataLoop(int level) {
    for (TfrBand* band : runtime_.chain(kDataTypes[level])) {
        TfrDataset* data = band->DataSet();
        if (!data) continue;
        if (pass_.data) pass_.data->setCurrentSource(data);
        data->Init();
        data->First();
        band->lineNo = 1;
        band->lineThroughNo = 1;
        for (TfrBand* g = band->firstGroup; g; g = g->nextGroup)
            g->lineNo = 0;
        for (TfrView* view : band->objects)
            memoStates_.erase(view);
        rowsPrinted_[band] = 0;

        const bool hasRows = !data->Eof();
        if (hasRows) {
            if (band->footerBand) restartAggregates(*band->footerBand);
            queue(band->headerBand);
            for (TfrBand* g = band->firstGroup; g; g = g->nextGroup) {
                queue(g);
                ++g->lineNo;
            }
        }
        while (!data->Eof() && !pass_.terminated) {
            queue(band);
            if (band->printIfSubsetEmpty) printQueue();
            if (level < deepestLevel_) {
                dataLoop(level + 1);
                if (pass_.data) pass_.data->setCurrentSource(data);
                if (queued(band)) {
                    if (band->printIfSubsetEmpty)
                        printQueue();
                    else
                        dropFromQueue(band);
                }
            } else {
                printQueue();
            }
            data->Next();
            if (groupBreak(*band, *data)) break;
            ++band->lineNo;
            ++band->lineThroughNo;
            if (!data->Eof() && band->newPageAfter && objectVisible(*band)) startNewPage();
        }
        if (queued(band)) {
            // Nothing of the band printed: its header and groups queued for
            // it must not appear above the bands printed later.
            dropFromQueue(band);
            std::erase_if(queue_, [band](TfrBand* b) { return b->dataBand == band; });
        } else if (hasRows) {
            // Every row may have been dropped for want of details: the
            // header still waiting comes out above the footer.
            printOwnQueue(*band);
            drawBand(band->footerBand);
        }
        data->Exit();
    }
}

// Tests the groups after a move to the next row; true when the rows ended.
bool PageFormation::groupBreak(TfrBand& band, TfrDataset& data) {
    for (TfrBand* g = band.firstGroup; g; g = g->nextGroup) {
        const bool ended = data.Eof();
        if (!ended && !g->lastGroupValue.isVoid() &&
            engine_.parser().Evaluate(g->groupCondition) == g->lastGroupValue)
            continue;
        // The footers show the group's last row. At the end the cursor still
        // stands on it; stepping back there would show the row before.
        if (!ended) data.Prior();
        for (TfrBand* inner = band.lastGroup; inner && inner != g; inner = inner->prevGroup) {
            queue(inner->footerBand);
            inner->lineNo = 0;
        }
        queue(g->footerBand);
        printQueue();
        if (ended) return true;
        data.Next();
        if (g->newPageAfter && objectVisible(*g)) startNewPage();
        for (TfrBand* h = g; h; h = h->nextGroup) {
            queue(h);
            ++h->lineNo;
        }
        band.lineNo = 0;
        return false;
    }
    return data.Eof();
}

void PageFormation::queue(TfrBand* band) {
    if (band) queue_.push_back(band);
}

bool PageFormation::queued(const TfrBand* band) const {
    return std::find(queue_.begin(), queue_.end(), band) != queue_.end();
}

void PageFormation::dropFromQueue(const TfrBand* band) {
    std::erase(queue_, band);
}

void PageFormation::printOwnQueue(const TfrBand& band) {
    std::vector<TfrBand*> own;
    std::erase_if(queue_, [&](TfrBand* b) {
        if (b->dataBand != &band) return false;
        own.push_back(b);
        return true;
    });
    for (TfrBand* b : own)
        if (b->exists()) drawBand(b);
}

bool PageFormation::masterHasRows(TfrDataset* data) {
    if (!data) return false;
    // A source that cannot be opened has no rows to print either.
    try {
        data->Init();
    } catch (const DatabaseError&) {
        return false;
    }
    data->First();
    const bool rows = !data->Eof();
    data->Exit();
    return rows;
}

void PageFormation::printQueue() {
    std::vector<TfrBand*> bands;
    bands.swap(queue_);
    for (TfrBand* band : bands)
        if (band->exists()) drawBand(band);
}

void PageFormation::drawBand(TfrBand* band) {
    if (!band || !band->exists() || pass_.terminated) return;
    TfrBand* outer = current_;
    current_ = band;
    band->calculatedHeight = 0;
    band->newPageRequests = 0;
    band->newColumnRequests = 0;
    if (pass_.events) pass_.events->beginBand(band->view);
    closeBandColumns(*band);
    const bool breakAllowed = band->pageBreakAllowed;
    const int startY = runtime_.curY;
    runBandScript(*band);
    serveRequests(*band, startY);

    if (objectVisible(*band)) {
        if (band->type == btColumnHeader) runtime_.columnsTop = runtime_.curY;
        enterBandColumn(*band);
        bool split = false;
        if (!placedApart(band->type)) {
            int height = bandHeight(*band);
            if (!fitsOnSheet(*band, height) && !band->pageBreakAllowed) {
                const int emptyRoom = runtime_.bottomLimit - emptySheetY_ - columnFooterHeight();
                if (height <= emptyRoom || runtime_.curY > emptySheetY_) breakColumn(band);
                // Taller than a whole sheet: cut it rather than print past the bottom.
                if (!fitsOnSheet(*band, height)) band->pageBreakAllowed = true;
            }
            split = band->pageBreakAllowed && !fitsOnSheet(*band, height);
        }
        if (band->isData()) accumulate(*band, true);
        if (split)
            printSplit(*band);
        else
            printObjects(*band);
        leaveBandColumn(*band);
        if (band->isData()) {
            ++rowsPrinted_[band];
            auto& [sheet, count] = sheetRows_[band];
            if (sheet != pass_.currentPage) count = 0;
            sheet = pass_.currentPage;
            ++count;
        }
        if (band->type == btGroupHeader) rememberGroupValue(*band);
        drawBand(band->child);
        if (band->isData() && band->DataSet())
            for (TfrBand* b = band->next; b && !b->DataSet(); b = b->next)
                drawBand(b);
        current_ = band;
        if (!isHeaderOrData(band->type) && band->newPageAfter) startNewPage();
    } else {
        if (band->isData()) accumulate(*band, false);
        if (band->printChildIfInvisible) drawBand(band->child);
    }
    // A page footer printed late for an earlier sheet must not clear what
    // the newest sheet has gathered.
    const bool onNewestSheet = pass_.currentPage == pages_.Count() - 1;
    if (band->aggregateSource && !reprintingHeaders_ &&
        (band->type != btPageFooter || onNewestSheet))
        restartAggregates(*band);
    runtime_.lastBand = band;
    band->pageBreakAllowed = breakAllowed;
    if (pass_.events) pass_.events->endBand(band->view);
    current_ = outer;
    if (pass_.cancelled && pass_.cancelled()) pass_.terminated = pass_.userCancelled = true;
}

void PageFormation::runBandScript(TfrBand& band) {
    if (band.script.code.empty()) return;
    pass_.currentObject = band.view;
    scriptSetCurY_ = false;
    interpretator_.RunScript(band.script, pass_.scriptSteps);
}

void PageFormation::serveRequests(TfrBand& band, int requestsStartY) {
    if (band.newPageRequests == 0 && band.newColumnRequests == 0) return;
    // The furniture of a sheet is printed by the break itself: a break it
    // asked for would start a sheet whose furniture asks again, endlessly.
    if (isSheetFurniture(band.type)) {
        band.newPageRequests = band.newColumnRequests = 0;
        return;
    }
    TfrBand* cause = isHeaderOrData(band.type) ? &band : nullptr;
    const bool keepY = scriptSetCurY_ && runtime_.curY != requestsStartY;
    const int scriptY = runtime_.curY;
    for (int i = 0; i < band.newPageRequests; ++i) {
        runtime_.currentColumn = runtime_.columns() - 1;
        breakColumn(cause);
    }
    for (int i = 0; i < band.newColumnRequests; ++i)
        breakColumn(cause);
    band.newPageRequests = band.newColumnRequests = 0;
    if (keepY) runtime_.curY = scriptY;
}

bool PageFormation::fitsOnSheet(TfrBand& band, int height) {
    return runtime_.curY + height + columnFooterHeight() <= runtime_.bottomLimit;
}

int PageFormation::columnFooterHeight() const {
    if (fitWithoutColumnFooter_) return 0;
    TfrBand* footer = runtime_.slot(btColumnFooter);
    return footer ? footer->height : 0;
}

bool PageFormation::printedRows(const TfrBand& band) const {
    auto it = rowsPrinted_.find(&band);
    return it != rowsPrinted_.end() && it->second > 0;
}

MemoPrintState& PageFormation::memoState(const TfrView& view) {
    return memoStates_[&view];
}

int PageFormation::bandHeight(TfrBand& band) {
    if (!band.stretched) return band.calculatedHeight = band.height;
    int height = band.height;
    for (TfrView* view : band.objects) {
        pass_.currentObject = view;
        if (auto* memo = dynamic_cast<TfrMemoView*>(view)) {
            int measured = MeasureHeight(*memo, engine_, memoState(*view), *this,
                                         pass_.twoPass && !pass_.finalPass);
            height = std::max(height, view->Top + measured);
        } else if (dynamic_cast<TfrLineView*>(view)) {
            height = std::max(height, view->Top + view->Height);
        }
    }
    return band.calculatedHeight = height;
}

void PageFormation::printObjects(TfrBand& band) {
    // Objects outside bands keep their own positions, as they do across.
    band.y = band.type == btPageFooter ? runtime_.bottomLimit
             : band.type == btNone     ? 0
                                       : runtime_.curY;
    if (band.calculatedHeight == 0) band.calculatedHeight = band.height;
    // STOPREPORT from a script ends the report after this band, so the band
    // prints whole.
    for (TfrView* view : band.objects)
        writeObject(band, *view);
    if (band.stretched)
        runtime_.curY += band.calculatedHeight;
    else if (band.type != btPageFooter && band.type != btOverlay && band.type != btNone)
        runtime_.curY += band.height;
}

int PageFormation::printHeight(const TfrBand& band, const TfrView& view) const {
    const bool stretchable =
        dynamic_cast<const TfrMemoView*>(&view) || dynamic_cast<const TfrLineView*>(&view);
    if (band.stretched && stretchable && view.flag(flStretched) && view.Height > 0)
        return band.calculatedHeight - view.Top;
    return view.Height;
}

void PageFormation::writeObject(TfrBand& band, TfrView& view) {
    const int height = printHeight(band, view);
    int top = view.Top + band.y;
    if (view.BandAlign == baBottom) top = band.y + band.calculatedHeight - height;
    if (view.BandAlign == baTop) top = band.y;
    if (pass_.twoPass && !pass_.finalPass) {
        pass_.currentObject = &view;
        PrintPosition position(view, view.Left + runtime_.horizontalOffset - leftLimit_, top,
                               height);
        runScript(view);
        return;
    }
    writeAt(band, view, top, height, DrawMode::Normal, pages_.ObjectStream(pass_.currentPage));
}

bool PageFormation::writeAt(TfrBand& band, TfrView& view, int top, int height, DrawMode mode,
                            ByteStream& stream) {
    pass_.currentObject = &view;
    PrintPosition position(view, view.Left + runtime_.horizontalOffset - leftLimit_, top, height);
    PreparedPlacement placement;
    placement.limits = {leftLimit_, rightLimit_};
    for (const TfrView* other : band.objects)
        if (other != &view && other->Top == view.Top) placement.neighbours.push_back(other);
    if (auto* memo = dynamic_cast<TfrMemoView*>(&view))
        return WritePreparedMemo(stream, *memo, engine_, memoState(view), *this, mode, &placement);
    return WritePreparedView(stream, view, engine_, *this, &placement);
}

void PageFormation::rememberGroupValue(TfrBand& band) {
    if (band.groupCondition.empty()) return;
    pass_.currentObject = band.view;
    band.lastGroupValue = engine_.parser().Evaluate(band.groupCondition);
}

namespace {

// The bands that may print aggregates, with the data band kind a call
// without a band argument counts.
struct AggregateBandType {
    int type;
    int impliedData;
};
constexpr AggregateBandType kAggregateBands[] = {
    {btPageFooter, btMasterData},         {btColumnFooter, btMasterData},
    {btMasterFooter, btMasterData},       {btGroupFooter, btMasterData},
    {btReportSummary, btMasterData},      {btDetailFooter, btDetailData},
    {btSubDetailFooter, btSubDetailData},
};

int impliedDataType(int bandType) {
    for (const AggregateBandType& t : kAggregateBands)
        if (t.type == bandType) return t.impliedData;
    return -1;
}

// Detail footers count detail or subdetail rows, subdetail footers only
// subdetail rows; the other bands count rows of any kind.
bool mayCount(int bandType, int dataType) {
    if (bandType == btDetailFooter) return dataType != btMasterData;
    if (bandType == btSubDetailFooter) return dataType == btSubDetailData;
    return true;
}

} // namespace

void PageFormation::CollectAggregates() {
    std::set<const TfrBand*> scanned;
    for (const AggregateBandType& t : kAggregateBands)
        for (TfrBand* band : runtime_.chain(t.type))
            for (TfrBand* b = band; b && scanned.insert(b).second; b = b->child)
                collectBand(*b, t.type);
}

void PageFormation::collectBand(TfrBand& band, int asType) {
    TfrBand* outer = collecting_;
    collecting_ = &band;
    collectingType_ = asType;
    TfrBand* outerCurrent = current_;
    current_ = &band;
    for (const std::string& call : aggregateCalls(band, pass_.data)) {
        pass_.currentObject = band.view;
        engine_.EvaluateText(call);
    }
    current_ = outerCurrent;
    collecting_ = outer;
}

// The data band a call counts: the one it names, or the one the band type
// implies (for a child band, the type of the band it hangs from).
TfrBand* PageFormation::aggregateTarget(int bandType, const std::string& bandArgument) const {
    const std::string name = trim(bandArgument);
    TfrBand* target = nullptr;
    if (!name.empty())
        target = runtime_.findBand(name);
    else if (int implied = impliedDataType(bandType); implied >= 0)
        target = runtime_.slot(implied);
    return target && target->isData() ? target : nullptr;
}

std::optional<Variant> PageFormation::aggregate(std::string_view function, const std::string& p1,
                                                   const std::string& p2, const std::string& p3) {
    std::optional<AggregateFunction> code = aggregateFunction(function);
    if (!code) return std::nullopt;
    if (collecting_) {
        TfrBand* target = aggregateTarget(collectingType_, p2);
        if (!target || !mayCount(collectingType_, target->type)) return Variant(int32_t(0));
        registerAggregate(*target, aggregateKey(collecting_->name, *code, p1, p3));
        collecting_->aggregateSource = target;
        return Variant(int32_t(0));
    }
    if (!current_ || !current_->aggregateSource) return std::nullopt;
    TfrBand* target = trim(p2).empty() ? current_->aggregateSource : aggregateTarget(-1, p2);
    if (!target) return std::nullopt;
    return readAggregate(*target, aggregateKey(current_->name, *code, p1, p3));
}

void PageFormation::accumulate(TfrBand& band, bool visible) {
    TfrView* object = pass_.currentObject;
    pass_.currentObject = band.view;
    accumulateAggregates(band, visible, engine_);
    pass_.currentObject = object;
}

void PageFormation::restartAggregates(TfrBand& band) {
    for (int type : kDataTypes)
        for (TfrBand* data : runtime_.chain(type))
            pv::restartAggregates(*data, band.name);
}

bool PageFormation::beforePrint(Lines& lines, TfrView& view) {
    return pass_.events && pass_.events->beforePrint(lines, view);
}

void PageFormation::showBand(std::string_view name) {
    drawBand(runtime_.findBand(name));
}

void PageFormation::runScript(TfrView& view) {
    const CompiledScript* script = runtime_.objectScript(view);
    if (!script || script->code.empty()) return;
    interpretator_.RunScript(*script, pass_.scriptSteps);
}

std::optional<Lines> PageFormation::boundMemoLines(const TfrView& view) {
    const FieldBinding* binding = pass_.bindings ? pass_.bindings->find(view) : nullptr;
    return binding ? pv::boundMemoLines(*binding) : std::nullopt;
}

std::optional<Graphic> PageFormation::boundPicture(const TfrPictureView& view) {
    const FieldBinding* binding = pass_.bindings ? pass_.bindings->find(view) : nullptr;
    return binding ? pv::boundPicture(*binding, view.BlobType) : std::nullopt;
}

void PageFormation::breakColumn(TfrBand* cause) {
    if (runtime_.currentColumn < runtime_.columns() - 1) {
        drawBand(runtime_.slot(btColumnFooter));
        ++runtime_.currentColumn;
        runtime_.horizontalOffset += runtime_.columnWidth() + page_.ColumnGap;
        runtime_.curY = runtime_.columnsTop;
        drawBand(runtime_.slot(btColumnHeader));
    } else {
        startNewPage();
    }
    reprintRepeatedHeaders(cause);
}

void PageFormation::reprintRepeatedHeaders(TfrBand* cause) {
    if (!cause) return;
    TfrBand* data = cause->isData() ? cause : cause->dataBand;
    if (!data) return;
    const bool outer = reprintingHeaders_;
    reprintingHeaders_ = true;
    if (!runtime_.disableRepeatHeaders)
        for (TfrBand* g = data->firstGroup; g && g != cause; g = g->nextGroup)
            if (g->flags & flBandRepeatHeader) drawBand(g);
    if (cause->isData() && data->headerBand && (data->headerBand->flags & flBandRepeatHeader))
        drawBand(data->headerBand);
    reprintingHeaders_ = outer;
}

void PageFormation::startNewPage() {
    if (!runtime_.disableRepeatHeaders) drawBand(runtime_.slot(btColumnFooter));
    printPageFooter();
    TfrBand* footer = runtime_.slot(btPageFooter);
    runtime_.bottomLimit = pageBottom_ - (footer ? footer->height : 0);
    addSheet();
    drawBand(runtime_.slot(btOverlay));
    runtime_.curY = topLimit_;
    drawBand(runtime_.slot(btPageHeader));
    drawBand(runtime_.slot(btColumnHeader));
    emptySheetY_ = runtime_.curY;
}

void PageFormation::addSheet() {
    // A stopped pass writes on the sheet it stopped on and starts no other.
    if (pass_.terminated && pages_.Count() > 0) return;
    pass_.endPages(pages_.Count());
    pages_.AppendPage(page_);
    pass_.currentPage = pages_.Count() - 1;
    if (pass_.events) pass_.events->beginPage(pass_.currentPage);
    // The progress window, or OnProgress in its place, hears of every sheet.
    if (pass_.progress) pass_.progress(pages_.Count());
    if (pass_.pageLimit > 0 && pages_.Count() >= pass_.pageLimit) pass_.terminated = true;
    runtime_.curY = topLimit_;
    runtime_.currentColumn = 0;
    runtime_.horizontalOffset = leftLimit_;
    emptySheetY_ = topLimit_;
}

// The page footer of the current sheet, unless it has one already or it is
// the first sheet and the footer does not print there; a footer marked for
// the last sheet prints on it even when that is also the first.
void PageFormation::printPageFooter(bool lastSheet) {
    TfrBand* footer = runtime_.slot(btPageFooter);
    if (!footer || footedUpTo_ >= pass_.currentPage) return;
    footedUpTo_ = pass_.currentPage;
    const bool onLast = lastSheet && (footer->flags & flBandOnLastPage);
    if (pass_.currentPage == firstSheet_ && !(footer->flags & flBandOnFirstPage) && !onLast) return;
    const int y = runtime_.curY;
    drawBand(footer);
    runtime_.curY = y;
}

void PageFormation::printTitle() {
    drawBand(runtime_.slot(btReportTitle));
}

void PageFormation::printSummary() {
    fitWithoutColumnFooter_ = true;
    drawBand(runtime_.slot(btReportSummary));
    fitWithoutColumnFooter_ = false;
}

TfrBand* PageFormation::counterBand() const {
    if (!current_) return nullptr;
    if (current_->isData() || current_->type == btGroupHeader) return current_;
    return current_->dataBand;
}

std::optional<Variant> PageFormation::systemVariable(std::string_view name) {
    if (name == "PAGE#") return Variant(int32_t(pass_.currentPage + 1));
    if (name == "TOTALPAGES") return Variant(int32_t(pass_.totalPages));
    if (name == "LINE#" || name == "LINETHROUGH#") {
        TfrBand* band = counterBand();
        if (!band) return Variant(int32_t(0));
        return Variant(int32_t(name == "LINE#" ? band->lineNo : band->lineThroughNo));
    }
    if (name == "COLUMN#") return Variant(int32_t(runtime_.currentColumn + 1));
    if (name == "CURRENT#") {
        // The counter band's row being printed, counted from 1 on each sheet.
        TfrBand* band = counterBand();
        if (!band) return Variant(int32_t(0));
        auto it = sheetRows_.find(band);
        const bool here = it != sheetRows_.end() && it->second.first == pass_.currentPage;
        return Variant(int32_t((here ? it->second.second : 0) + 1));
    }
    if (name == "CALCWIDTH") return calculatedWidth();
    return reportInformation(name);
}

std::optional<Variant> PageFormation::reportInformation(std::string_view name) const {
    if (!pass_.info) return std::nullopt;
    const TfrReportInfo& info = *pass_.info;
    const std::pair<std::string_view, const std::string*> texts[] = {
        {"REPORTCOMMENT", &info.ReportComment},
        {"REPORTNAME", &info.ReportName},
        {"REPORTAUTOR", &info.ReportAutor},
        {"VMAJOR", &info.VMajor},
        {"VMINOR", &info.VMinor},
        {"VRELEASE", &info.VRelease},
        {"VBUILD", &info.VBuild}};
    for (const auto& [key, text] : texts)
        if (name == key) return Variant(*text);
    if (name == "REPORTDATE") return Variant::dateTime(info.CreationDate);
    if (name == "REPORTLASTCHANGE") return Variant::dateTime(info.LastChangeDate);
    return std::nullopt;
}

// The width the current text box's expanded text needs; a box whose text asks
// for its own width is measured with its text as written.
Variant PageFormation::calculatedWidth() {
    TfrView* object = pass_.currentObject;
    if (!object) return Variant(int32_t(0));
    auto* memo = dynamic_cast<TfrMemoView*>(object);
    if (!memo) return Variant(int32_t(object->Width));
    Lines text = memo->Memo;
    if (!calculatingWidth_) {
        calculatingWidth_ = true;
        try {
            text = ExpandMemoLines(*memo, engine_);
        } catch (...) {
            calculatingWidth_ = false;
            throw;
        }
        calculatingWidth_ = false;
    }
    return Variant(int32_t(NeededWidth(*memo, text)));
}

std::optional<Variant> PageFormation::pageValue(std::string_view name) {
    if (name == "CURY") return Variant(int32_t(runtime_.curY));
    if (name == "FREESPACE") return Variant(int32_t(runtime_.bottomLimit - runtime_.curY));
    if (name == "FINALPASS") return Variant(pass_.finalPass);
    if (name == "PAGEHEIGHT") return Variant(int32_t(pageBottom_));
    if (name == "PAGEWIDTH") return Variant(int32_t(rightLimit_));
    return std::nullopt;
}

bool PageFormation::assignSpecial(std::string_view name, const Variant& value) {
    if (name == "CURY") {
        runtime_.curY = value.toInt();
        scriptSetCurY_ = true;
        return true;
    }
    return name == "PROGRESS";
}

void PageFormation::stopReport() {
    pass_.terminated = true;
}

void PageFormation::newPage() {
    if (current_) ++current_->newPageRequests;
}

void PageFormation::newColumn() {
    if (current_) ++current_->newColumnRequests;
}

} // namespace pv
