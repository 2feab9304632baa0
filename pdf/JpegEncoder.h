#pragma once

#include "pdf/PDFImages.h"

#include <string>

namespace pv {

// A JPEG file made from a bitmap, and whether the encoder wrote it in gray.
struct EncodedJpeg {
    std::string file;
    bool grayscale = false;
};

// Encodes a bitmap as a baseline (not progressive) JPEG at `quality` (0…100,
// clamped) with libjpeg. Fails with "Not valid image." for a bitmap without
// pixels or shorter than its size.
EncodedJpeg encodeJpeg(const Bitmap24& bitmap, int quality);

} // namespace pv
