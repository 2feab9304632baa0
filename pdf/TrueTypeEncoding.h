#pragma once

#include <string>

namespace pv {

// The Windows code page whose byte codes a TrueType font of `charset` shows
// in the file; the encoding's glyph names are taken from it.
int encodingCodePage(int charset);

// The /Encoding entry of a TrueType font dictionary, as the bytes to write
// (lines ended with CR LF): a predefined encoding for charsets 0, 2 and 77,
// else a /Differences array naming the glyph of every byte code 1…255, which
// is what lets a reader turn the text back into Unicode.
std::string trueTypeEncoding(int charset);

} // namespace pv
