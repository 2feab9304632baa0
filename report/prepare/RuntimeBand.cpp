#include "report/prepare/RuntimeBand.h"

namespace pv {

TfrBand::TfrBand(int type, TfrPage& page, TfrBandView* view) : type(type), view(view), page(page) {}

} // namespace pv
