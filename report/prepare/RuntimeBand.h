#pragma once

#include "report/model/BandView.h"
#include "report/data/DataSourceRegistry.h"
#include "report/script/ScriptInterpreter.h"
#include "report/value/Variables.h"

#include <memory>
#include <string>
#include <vector>

namespace pv {

class TfrPage;

// A band as one preparation sees it, built from a band view of a template
// page. It owns nothing of the template: `view`, `page` and `objects` point
// into the page, whose objects it repositions (Top, or Left for cross bands,
// made relative to the band); the template is reloaded once preparation ends.
// The links to other bands point into the same page runtime, which owns all
// its bands. A record-count data source is the band's own.
class TfrBand {
public:
    TfrBand(int type, TfrPage& page, TfrBandView* view);
    TfrBand(const TfrBand&) = delete;
    TfrBand& operator=(const TfrBand&) = delete;

    bool isCross() const { return type >= btCrossHeader && type <= btCrossFooter; }
    bool isData() const {
        return type == btMasterData || type == btDetailData || type == btSubDetailData;
    }
    // Printable at all: a band of the template, or objects outside bands.
    bool exists() const { return view != nullptr || (type == btNone && !objects.empty()); }
    TfrDataset* DataSet() const { return dataSource.dataset; }

    const int type;
    std::string name;
    TfrBandView* const view; // null for the objects outside bands
    TfrPage& page;

    int x = 0, y = 0, width = 0, height = 0;
    bool stretched = false, newPageAfter = false, printIfSubsetEmpty = false,
         pageBreakAllowed = false, printChildIfInvisible = false, visible = true;
    uint16_t flags = 0; // the view's Flags, for on-first-page, on-last-page, repeat-header

    Lines memo;
    CompiledScript script;

    BandDataSource dataSource;             // data bands (and cross data)
    TfrDataset* crossDataSource = nullptr; // from a cross data band's list
    std::string groupCondition;            // group headers: postfix form
    Variant lastGroupValue;                // group headers: empty until first printed

    // Data bands: their header and footer. A group header has its footer,
    // a group footer its header.
    TfrBand* headerBand = nullptr;
    TfrBand* footerBand = nullptr;
    TfrBand* dataBand = nullptr; // headers, footers and group bands: whose rows they go with
    TfrBand* next = nullptr;     // same type, in y order
    TfrBand* prev = nullptr;
    TfrBand* firstGroup = nullptr; // data bands: outermost group header
    TfrBand* lastGroup = nullptr;
    TfrBand* nextGroup = nullptr; // group headers: the next inner one
    TfrBand* prevGroup = nullptr;
    TfrBand* child = nullptr;
    TfrBand* aggregateSource = nullptr;

    TfrVariables aggregateValues{false};
    // Rows accumulated since a band reading them last restarted; AVG divides by it.
    int aggregateRowCount = 0;
    int lineNo = 0, lineThroughNo = 0;
    int calculatedHeight = 0;
    int bandColumn = 0, savedOffset = 0;
    // Band columns: the sheet and rows the columns print side by side in.
    int rowPage = -1, rowTop = 0, rowBottom = 0;
    int newPageRequests = 0, newColumnRequests = 0;

    std::vector<TfrView*> objects;
};

} // namespace pv
