#pragma once

#include "platform/Error.h"

#include <string>

namespace pv {

// A template using something this engine does not print (cross-tab bands):
// the preparation is refused before any page is formed. The message is 1251
// and names the band and its page.
class UnsupportedTemplateError : public Error {
public:
    explicit UnsupportedTemplateError(const std::string& message)
        : Error(message, Error::Encoding::Cp1251) {}
};

} // namespace pv
