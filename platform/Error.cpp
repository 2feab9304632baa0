#include "platform/Error.h"

#include "platform/CodePage.h"

namespace pv {

Error::Error(const std::string& message, Encoding encoding)
    : std::runtime_error(encoding == Encoding::Utf8 ? message : cp1251ToUtf8(message)),
      text_(encoding == Encoding::Cp1251 ? message : utf8ToCp1251(message)) {}

std::string dialogText(const std::exception& e) {
    if (const auto* own = dynamic_cast<const Error*>(&e)) return own->text();
    return utf8ToCp1251(e.what());
}

} // namespace pv
