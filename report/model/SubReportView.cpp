#include "report/model/SubReportView.h"

#include "report/model/ByteStream.h"

namespace pv {

void TfrSubReportView::readClassFields(ByteStream& s, const FrfContext&) {
    SubPage = s.readI32();
}

void TfrSubReportView::writeClassFields(ByteStream& s) const {
    s.writeI32(SubPage);
}

} // namespace pv
