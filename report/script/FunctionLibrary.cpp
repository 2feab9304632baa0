#include "report/script/FunctionLibrary.h"

namespace pv {

int TfrFunctionLibrary::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < list_.size(); ++i)
        if (list_[i] == name) return static_cast<int>(i);
    return -1;
}

} // namespace pv
