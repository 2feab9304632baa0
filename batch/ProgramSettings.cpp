#include "batch/ProgramSettings.h"

#include "platform/CodePage.h"

namespace pv {

bool switchedOff(const std::string& value) {
    static const std::string no = ru("Нет");
    return value == no;
}

} // namespace pv
