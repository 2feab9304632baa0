#include "cli/VariantText.h"

#include "platform/SystemFormat.h"

#include <cstdio>

namespace pv::cli {

std::string variantText(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Text:
        return value.text();
    case Variant::Kind::Integer:
        return std::to_string(value.integer());
    case Variant::Kind::Boolean:
        return value.boolean() ? "True" : "False";
    case Variant::Kind::Double:
    case Variant::Kind::DateTime: {
        char buf[64];
        double d = value.kind() == Variant::Kind::Double ? value.real() : value.days();
        std::snprintf(buf, sizeof buf, "%.15g", d);
        std::string out = buf;
        for (char& c : out)
            if (c == '.') c = systemFormat().decimalSeparator;
        return out;
    }
    default:
        return {};
    }
}

} // namespace pv::cli
