#pragma once

#include "platform/Geometry.h"
#include "report/printer/PageMargins.h"
#include "report/printer/Printer.h"

#include <functional>
#include <string>
#include <vector>

namespace pv {

// Which pages of the selection go to the printer ("Вывести на печать").
enum class PageParity { All, Odd, Even };

// What printing needs to know of one prepared page.
struct PrintedPage {
    PaperSettings paper;
    bool useMargins = true;
    PageMargins margins;
};

struct PrintAction {
    enum Kind { BeginJob, NewSheet, PrintPage, EndJob };
    Kind kind = PrintPage;
    int page = 0;        // PrintPage: the 1-based page number
    PaperSettings paper; // BeginJob: the paper the job is printed on
    bool operator==(const PrintAction&) const = default;

    static PrintAction begin(const PaperSettings& paper) { return {BeginJob, 0, paper}; }
    static PrintAction sheet() { return {NewSheet, 0, {}}; }
    static PrintAction print(int page) { return {PrintPage, page, {}}; }
    static PrintAction end() { return {EndJob, 0, {}}; }
};

struct PrintPlan {
    int deviceCopies = 1; // the copy count the printer is told to make itself
    std::vector<PrintAction> actions;
};

struct PrintRequest {
    std::vector<int> pages; // the selection, 1-based, as the page list gives it
    int copies = 1;         // below 1 counts as 1
    bool collate = true;
    PageParity parity = PageParity::All;
    bool printerMakesCopies = false;
};

// The order in which the selected pages reach the printer. Collated, the
// whole selection is printed `copies` times; otherwise each page `copies`
// times in a row, or once when the printer makes the copies. Each job is
// begun on the paper of its first page; a page whose paper differs from the
// job's (samePaper) ends the job and begins a new one on its own paper. When
// no page is left after the odd/even choice no job is begun at all. `paperOf`
// gives the paper of a 1-based page number.
PrintPlan makePrintPlan(const PrintRequest& request,
                        const std::function<PaperSettings(int page)>& paperOf);

// Where a page is painted on the printer's canvas (printer pixels, origin at
// the printable area). A page using margins covers the whole sheet, so the
// rectangle starts before the printable area; a page without margins fills
// the printable area less its margins.
Rect printerPageRect(const TfrPageInfo& info, bool useMargins, const PageMargins& margins);

} // namespace pv
