#include "report/prepare/ObjectPrintEvents.h"

namespace pv {

ObjectPrintEvents& noPrintEvents() {
    static ObjectPrintEvents none;
    return none;
}

} // namespace pv
