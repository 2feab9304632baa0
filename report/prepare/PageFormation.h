#pragma once

#include "report/script/ExpressionContext.h"
#include "report/prepare/MemoPrint.h"
#include "report/prepare/ObjectPrintEvents.h"

#include <map>
#include <memory>
#include <vector>
#include <functional>

namespace pv {

class DataSourceContext;
class ExpressionEngine;
class TfrBand;
class TfrDataset;
class TfrEMFPages;
class TfrInterpretator;
class TfrPage;
class ByteStream;
class PageRuntime;
class PreparationEvents;
class TfrView;
struct TfrReportInfo;
class WholeFieldBindings;

// What one preparation pass shares among the pages it forms: the page count
// reached, the counters scripts read, and where the pass stands.
struct PassState {
    bool finalPass = true;
    bool twoPass = false;
    int totalPages = 0;
    // 0-based index of the prepared page objects are written to.
    int currentPage = 0;
    bool terminated = false;
    // The object (or band view) being printed, for the error message.
    TfrView* currentObject = nullptr;
    // The report prints its title and summary even when the master data has no rows.
    bool printIfEmpty = true;
    // Where names without a data source read their fields; may be null.
    DataSourceContext* data = nullptr;
    // REPORTNAME and the other information texts; may be null.
    const TfrReportInfo* info = nullptr;
    // The handlers to call; may be null.
    const PreparationEvents* events = nullptr;
    // The prepared pages before this one have had their OnEndPage.
    int pagesEnded = 0;
    // A script stops after this many instructions, so an endless loop in a
    // template ends the preparation with an error instead of hanging it.
    long scriptSteps = 10'000'000;
    // The pass stops, as STOPREPORT stops it, once it has this many sheets
    // (0: no limit); for templates nobody vouches for.
    int pageLimit = 0;

    // Calls OnEndPage for the sheets before `page` not yet ended.
    void endPages(int page);
    // The whole-field objects' fields; may be null.
    const WholeFieldBindings* bindings = nullptr;
    // Told the number of each sheet started; may be empty.
    std::function<void(int sheet)> progress;
    // Asked after each band; true stops the pass as the user asked.
    std::function<bool()> cancelled;
    bool userCancelled = false;
};

// Where a page formation stopped, for a following template page printed on
// the same sheet.
struct SheetContinuation {
    bool active = false;
    int curY = 0;
    int bottomLimit = 0;
};

// Forms the prepared sheets of one template page: walks its data bands,
// prints headers, footers, group bands and page furniture, breaks pages and
// writes every visible object of a printed band into the prepared page it
// lands on. It is the counters, page values and actions the page's
// expressions and scripts see while it runs.
class PageFormation : public ReportState, public PreparationActions, public ObjectPrintEvents {
public:
    PageFormation(PageRuntime& runtime, TfrEMFPages& pages, ExpressionEngine& engine,
                     TfrInterpretator& interpretator, PassState& pass);
    ~PageFormation() override;
    PageFormation(const PageFormation&) = delete;
    PageFormation& operator=(const PageFormation&) = delete;

    // Forms the page; `continuation` says whether it goes on the sheet the
    // previous page ended on, and is set for the next page.
    void Form(SheetContinuation& continuation);
    // Registers the accumulators of every aggregate the page's footers and
    // summaries print, in the data bands whose rows they count.
    void CollectAggregates();

    // ReportState
    std::optional<Variant> systemVariable(std::string_view name) override;
    std::optional<Variant> pageValue(std::string_view name) override;
    bool assignSpecial(std::string_view name, const Variant& value) override;
    bool collectingAggregates() const override { return collecting_ != nullptr; }
    // PreparationActions
    std::optional<Variant> aggregate(std::string_view function, const std::string& p1,
                                     const std::string& p2, const std::string& p3) override;
    void stopReport() override;
    void newPage() override;
    void newColumn() override;
    // Prints the band of that name where the page stands; for a page that
    // OnManualBuild builds.
    void showBand(std::string_view name) override;
    // ObjectPrintEvents
    void runScript(TfrView& view) override;
    bool beforePrint(Lines& lines, TfrView& view) override;
    std::optional<Lines> boundMemoLines(const TfrView& view) override;
    std::optional<Graphic> boundPicture(const TfrPictureView& view) override;

private:
    void dataLoop(int level);
    bool groupBreak(TfrBand& band, TfrDataset& data);
    void queue(TfrBand* band);
    bool queued(const TfrBand* band) const;
    void dropFromQueue(const TfrBand* band);
    void printQueue();
    // Prints and unqueues what waits for the band: its header and groups.
    void printOwnQueue(const TfrBand& band);
    bool masterHasRows(TfrDataset* data);

    void drawBand(TfrBand* band);
    void runBandScript(TfrBand& band);
    void serveRequests(TfrBand& band, int requestsStartY);
    bool fitsOnSheet(TfrBand& band, int height);
    int bandHeight(TfrBand& band);
    // Band columns: successive rows of a band with Columns > 1 side by side.
    bool usesBandColumns(const TfrBand& band) const;
    void enterBandColumn(TfrBand& band);
    void leaveBandColumn(TfrBand& band);
    void closeBandColumns(const TfrBand& next);
    void printObjects(TfrBand& band);
    // Prints a band cut at the bottom of the sheet, and its rest on the next
    // sheets, until every object is written.
    void printSplit(TfrBand& band);
    // The height an object prints with: a stretched one reaches the band's bottom.
    int printHeight(const TfrBand& band, const TfrView& view) const;
    void writeObject(TfrBand& band, TfrView& view);
    // Writes the object at a page position; true when a record was written.
    bool writeAt(TfrBand& band, TfrView& view, int top, int height, DrawMode mode,
                 ByteStream& stream);
    void rememberGroupValue(TfrBand& band);

    void collectBand(TfrBand& band, int asType);
    TfrBand* aggregateTarget(int bandType, const std::string& bandArgument) const;
    void accumulate(TfrBand& band, bool visible);
    void restartAggregates(TfrBand& band);

    void breakColumn(TfrBand* cause);
    void reprintRepeatedHeaders(TfrBand* cause);
    void startNewPage();
    void addSheet();
    void printPageFooter(bool lastSheet = false);
    void printTitle();
    void printSummary();

    int columnFooterHeight() const;
    bool printedRows(const TfrBand& band) const;
    MemoPrintState& memoState(const TfrView& view);
    TfrBand* counterBand() const;
    std::optional<Variant> reportInformation(std::string_view name) const;
    Variant calculatedWidth();

    PageRuntime& runtime_;
    TfrPage& page_;
    TfrEMFPages& pages_;
    ExpressionEngine& engine_;
    TfrInterpretator& interpretator_;
    PassState& pass_;

    int deepestLevel_ = -1;
    int topLimit_ = 0, pageBottom_ = 0, leftLimit_ = 0, rightLimit_ = 0;
    int emptySheetY_ = 0; // CurY of a sheet that holds only its furniture
    int firstSheet_ = 0;  // the first prepared page this template page formed
    int footedUpTo_ = -1; // the last prepared page whose page footer printed
    bool fitWithoutColumnFooter_ = false;
    bool scriptSetCurY_ = false;
    bool reprintingHeaders_ = false;
    TfrBand* collecting_ = nullptr; // the band whose aggregates are being registered
    int collectingType_ = -1;       // the type its aggregates count rows for
    TfrBand* current_ = nullptr;
    std::vector<TfrBand*> queue_;
    std::map<const TfrView*, MemoPrintState> memoStates_;
    std::map<const TfrBand*, int> rowsPrinted_;
    // Per data band: the sheet it last printed a row on and its rows there.
    std::map<const TfrBand*, std::pair<int, int>> sheetRows_;
    bool calculatingWidth_ = false;
};

} // namespace pv
