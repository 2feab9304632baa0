#pragma once

#include "report/prepare/RuntimeBand.h"

#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

class DataSourceRegistry;
class TfrPage;
class TfrView;
class TfrReport;

// A template page set up for one preparation: its runtime bands in 23 slots
// (one chain per band type, the last slot for the objects outside bands),
// the compiled object scripts and the print position state the preparation
// moves. The page runtime owns its bands; the page and its views stay the
// template's, with the `Top` of objects in bands (and the `Left` of objects
// in cross bands) made relative to their band until the template is reloaded.
class PageRuntime {
public:
    enum class Mode { Normal, Collecting };

    // `subReportPage`: the page is printed where a sub-report object stands,
    // not on its own. Scripts are compiled with `compiler`.
    PageRuntime(TfrPage& page, bool subReportPage, const DataSourceRegistry& sources,
                   const TfrInterpretator& compiler);
    PageRuntime(const PageRuntime&) = delete;
    PageRuntime& operator=(const PageRuntime&) = delete;

    TfrPage& page() const { return page_; }
    // The first band of a type's chain; null when the page has none.
    TfrBand* slot(int type) const { return slots_.at(type); }
    // A type's bands in chain order.
    std::vector<TfrBand*> chain(int type) const;
    // Without regard to case; null when no band has the name.
    TfrBand* findBand(std::string_view name) const;
    // The objects outside bands.
    TfrBand& outsideBands() const { return *slots_[btNone]; }

    bool skip() const { return skip_; }
    int columns() const { return columns_; }
    int columnWidth() const { return columnWidth_; }
    // Objects whose Flags has bit 0x8000.
    const std::vector<TfrView*>& flaggedObjects() const { return flagged_; }
    // The compiled script of a non-band object; null when it has none.
    const CompiledScript* objectScript(const TfrView& view) const;
    // Scripts and group conditions that did not compile ("Name: message").
    const std::vector<std::string>& errors() const { return errors_; }
    // The group conditions among them, with their bands. A script runs the
    // statements before its error, but a band without its condition cannot
    // group at all.
    struct ConditionError {
        TfrView* band;
        std::string message;
    };
    const std::vector<ConditionError>& conditionErrors() const { return conditionErrors_; }

    // Print state, moved by the preparation.
    int curY = 0;
    int bottomLimit = 0;
    int currentColumn = 0;
    int horizontalOffset = 0;
    int columnsTop = 0; // where page columns start
    Mode mode = Mode::Normal;
    TfrBand* lastBand = nullptr;
    bool disableRepeatHeaders = false;

private:
    TfrBand& addBand(int type, TfrBandView* view);
    // A band built from its view: name, memo, script, horizontal place, flags, visibility.
    TfrBand& addBand(int type, TfrBandView* view, const TfrInterpretator& compiler);
    void compileObjects(const TfrInterpretator& compiler);
    void buildCrossBands(const DataSourceRegistry& sources, const TfrInterpretator& compiler);
    void buildBands(const DataSourceRegistry& sources, const TfrInterpretator& compiler);
    void takeObjects(TfrBand& band);
    void linkChain(int type);
    void pairHeadersAndFooters(int header, int data, int footer);
    void pairGroups();
    void assignCrossDataSources(const DataSourceRegistry& sources);
    void linkChildren();
    void attachGroups();
    void computeColumns();

    TfrPage& page_;
    bool skip_;
    std::vector<std::unique_ptr<TfrBand>> bands_;
    std::array<TfrBand*, kBandSlots> slots_{};
    // Objects taken by a cross band, and by any other band.
    std::set<const TfrView*> inCross_, inBand_;
    std::set<int> bandTops_; // where the bands outside cross bands start
    std::map<const TfrView*, CompiledScript> scripts_;
    std::vector<TfrView*> flagged_;
    std::vector<std::string> errors_;
    std::vector<ConditionError> conditionErrors_;
    int columns_ = 1;
    int columnWidth_ = 0;
};

// Which pages of a report sub-report objects print in their place.
std::vector<bool> subReportPages(const TfrReport& report);

} // namespace pv
