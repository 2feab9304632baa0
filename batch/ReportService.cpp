#include "batch/ReportService.h"

namespace pv {

const char* reportName(ReportId id) {
    switch (id) {
    case ReportId::frReport1:
        return "frReport1";
    case ReportId::frReport2:
        return "frReport2";
    case ReportId::frReport3:
        return "frReport3";
    case ReportId::frCompositeReport1:
        return "frCompositeReport1";
    }
    return "";
}

} // namespace pv
