#pragma once

#include "platform/CodePage.h"

#include <QString>

namespace pv {

// The engine's 1251 texts to Qt strings and back.
inline QString qt1251(const std::string& text) {
    return QString::fromStdString(cp1251ToUtf8(text));
}
inline std::string from1251(const QString& text) {
    return utf8ToCp1251(text.toStdString());
}

} // namespace pv
