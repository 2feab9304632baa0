#pragma once

#include "batch/ReportService.h"

namespace pv {

class TfrReport;

// Where a prepared report goes: the program's preview window, or what a
// headless run keeps of it.
class ReportPresenter {
public:
    virtual ~ReportPresenter() = default;
    // `prepared` holds the prepared pages; it is null when the report had no
    // template to prepare or the preparation produced no pages. Returns when
    // the report has been shown.
    virtual void present(ReportId id, TfrReport* prepared) = 0;
};

} // namespace pv
