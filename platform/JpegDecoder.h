#pragma once

#include "platform/Error.h"

#include "platform/Bitmap.h"

#include <stdexcept>
#include <string_view>

namespace pv {

class JpegError : public Error {
public:
    explicit JpegError(const std::string& message) : Error(message, Error::Encoding::Utf8) {}
};

// Width and height from a JFIF stream's header; throws JpegError when the
// bytes are not a readable JPEG.
void jpegSize(std::string_view bytes, int& width, int& height);

// The whole picture; grey and CMYK pictures come out as RGB. Throws JpegError.
Bitmap decodeJpeg(std::string_view bytes);

} // namespace pv
