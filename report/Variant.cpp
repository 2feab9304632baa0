#include "report/Variant.h"

namespace pv {

bool Variant::isNumber() const {
    switch (kind()) {
    case Kind::Integer:
    case Kind::Double:
    case Kind::Boolean:
    case Kind::DateTime:
        return true;
    default:
        return false;
    }
}

} // namespace pv
