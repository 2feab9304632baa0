#include "report/export/ExportFilter.h"

namespace pv {

void TfrExportFilter::ClearLines() {
    lines_.clear();
}

int TfrExportFilter::OptionsDialog() {
    return 1;
}

void TfrExportFilter::BeginDocument() {}
void TfrExportFilter::EndDocument() {}
void TfrExportFilter::BeginPage() {}
void TfrExportFilter::EndPage() {}
void TfrExportFilter::ObjectData(int, int, TfrView&) {}
void TfrExportFilter::TextLine(const Rect&, int, int, std::string_view, uint16_t, TfrView&) {}

} // namespace pv
