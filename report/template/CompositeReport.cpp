#include "report/template/CompositeReport.h"

namespace pv {

void TfrCompositeReport::AddReport(TfrReport& report, std::string componentName) {
    reports_.push_back({&report, std::move(componentName)});
}

} // namespace pv
