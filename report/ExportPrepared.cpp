// Exporting a report's prepared pages through an export filter.
#include "report/EMFPages.h"
#include "report/ExportError.h"
#include "report/ExportFilter.h"
#include "report/ExportProgress.h"
#include "report/Report.h"

#include <fstream>

namespace pv {
namespace {

// The filter is the report's current one only while the export runs, and
// has a stream only while the file is open, however the export ends.
class FilterInUse {
public:
    FilterInUse(TfrExportFilter*& slot, TfrExportFilter& filter) : slot_(slot) { slot_ = &filter; }
    ~FilterInUse() { slot_ = nullptr; }
    FilterInUse(const FilterInUse&) = delete;
    FilterInUse& operator=(const FilterInUse&) = delete;

private:
    TfrExportFilter*& slot_;
};

class OpenStream {
public:
    OpenStream(TfrExportFilter& filter, std::ofstream& out, const TfrEMFPages& pages)
        : filter_(filter), out_(out) {
        filter_.setStream(&out_);
        filter_.setExportedPages(&pages);
    }
    ~OpenStream() {
        filter_.setExportedPages(nullptr);
        filter_.setStream(nullptr);
        out_.close();
    }
    OpenStream(const OpenStream&) = delete;
    OpenStream& operator=(const OpenStream&) = delete;

private:
    TfrExportFilter& filter_;
    std::ofstream& out_;
};

void exportPages(TfrEMFPages& pages, TfrExportFilter& filter, ExportProgress* progress) {
    const int total = pages.Count();
    filter.BeginDocument();
    for (int i = 0; i < total; ++i) {
        if (progress && progress->Cancelled()) break;
        filter.BeginPage();
        pages.ExportPage(i, filter);
        if (progress) progress->PageExported(i + 1, total);
        filter.EndPage();
    }
    filter.EndDocument();
}

} // namespace

void TfrReport::ExportPrepared(TfrExportFilter& filter, const std::string& fileName,
                               ExportProgress* progress) {
    FilterInUse current(currentFilter_, filter);
    std::string name = fileName;
    filter.setFileName(name);
    bool proceed = true;
    if (filter.OnBeforeExport) filter.OnBeforeExport(name, proceed);
    if (!proceed) return;
    filter.setFileName(name);
    if (filter.OptionsDialog() != 1) return;

    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    if (!out) throw ExportFileError("cannot create the export file " + name);
    {
        OpenStream open(filter, out, EMFPages());
        exportPages(EMFPages(), filter, progress);
        out.flush();
        if (!out) throw ExportFileError("cannot write the export file " + name);
    }
    if (filter.OnAfterExport) filter.OnAfterExport(name);
}

} // namespace pv
