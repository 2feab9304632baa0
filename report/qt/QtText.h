#pragma once

#include "platform/CodePage.h"

#include <QString>

namespace pv {

// What becomes of CR LF pairs on the way to a widget: Qt breaks lines on the
// line feed alone, so texts shown as several lines drop the CR; texts that
// go back to the engine (edit boxes) keep it.
enum class CrLf { Keep, ToLf };

// The engine's 1251 texts to Qt strings and back.
inline QString qt1251(const std::string& text, CrLf crlf) {
    QString s = QString::fromStdString(cp1251ToUtf8(text));
    if (crlf == CrLf::ToLf) s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}
inline std::string from1251(const QString& text) {
    return utf8ToCp1251(text.toStdString());
}

} // namespace pv
