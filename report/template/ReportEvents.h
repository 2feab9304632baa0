#pragma once

#include "report/model/View.h"
#include "report/value/Variant.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pv {

class TfrBandView;
class TfrPage;

// The handlers a program that uses the engine as a library may assign to a
// report; preparation calls each one that is set. The program itself
// assigns none. Bands are given by their view (null for the objects outside
// bands), pages by their 0-based index in the prepared pages.
struct TfrReportEvents {
    std::function<void()> OnBeginDoc;
    std::function<void()> OnEndDoc;
    std::function<void(int page)> OnBeginPage;
    std::function<void(int page)> OnEndPage;
    std::function<void(TfrBandView* band)> OnBeginBand;
    std::function<void(TfrBandView* band)> OnEndBand;
    // Before an object is written, with its lines before expansion; lines the
    // handler changes are printed as they are.
    std::function<void(Lines& lines, TfrView& view)> OnBeforePrint;
    // Each time a sheet is started, with the number of sheets so far.
    std::function<void(int pages)> OnProgress;
    // Replaces the report title, page header, data loop, column footer and
    // summary of every page: the handler builds the page itself, printing
    // bands by name where the page stands.
    std::function<void(TfrPage& page, const std::function<void(std::string_view band)>& showBand)>
        OnManualBuild;
    // A name the dictionary and the data sources do not know; a value given
    // back is the name's value, none lets the engine resolve it.
    std::function<std::optional<Variant>(std::string_view name)> OnGetValue;
    // A function no library knows, with its raw argument texts; none when the
    // handler does not know it either.
    std::function<std::optional<Variant>(std::string_view name, const std::string& p1,
                                         const std::string& p2, const std::string& p3)>
        OnUserFunction;
    // Cross bands: before the cross rows of a band are printed, and for each
    // cross row, with COLUMN# and the width it may change.
    std::function<void(TfrBandView* band)> OnBeginColumn;
    std::function<void(int column, int& width)> OnPrintColumn;
};

} // namespace pv
