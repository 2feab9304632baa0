#include "pdf/TrueTypeEncoding.h"

#include "pdf/GlyphNames.h"
#include "platform/Charset.h"
#include "platform/CodePage.h"

#include <cstdio>

namespace pv {

int encodingCodePage(int cs) {
    // PDF font encodings are built for these charsets; any other is written as Windows ANSI.
    switch (cs) {
    case charset::ShiftJis:
    case charset::Gb2312:
    case charset::ChineseBig5:
    case charset::Greek:
    case charset::Turkish:
    case charset::Vietnamese:
    case charset::Hebrew:
    case charset::Arabic:
    case charset::Baltic:
    case charset::Russian:
    case charset::Thai:
    case charset::EastEurope:
    case charset::Oem:
        return codePageOfCharset(cs);
    default:
        return 1252;
    }
}

namespace {

std::string differences(const std::u16string& unicode) {
    std::string out = "/Differences [1 \r\n";
    for (int code = 1; code <= 255; ++code) {
        const char16_t value = unicode[code - 1];
        if (const char* name = glyphNameOf(value)) {
            out += "/";
            out += name;
            if (code % 16 == 0) out += "\r\n";
        } else if (value < 257) {
            out += "/space";
        } else {
            char hex[12];
            std::snprintf(hex, sizeof hex, "/uni%04X", unsigned(value));
            out += hex;
        }
    }
    out += "]\r\n";
    return out;
}

} // namespace

std::string trueTypeEncoding(int cs) {
    switch (cs) {
    case charset::Ansi:
        return "/Encoding /WinAnsiEncoding\r\n";
    case charset::Symbol:
        return "/Encoding /StandardEncoding\r\n";
    case charset::Mac:
        return "/Encoding /MacRomanEncoding\r\n";
    default:
        break;
    }
    std::string out = "/Encoding <</Type/Encoding\r\n";
    const int codePage = encodingCodePage(cs);
    if (!codepage::isKnown(codePage)) {
        out += "/BaseEncoding /WinAnsiEncoding\r\n";
    } else {
        std::string bytes;
        for (int code = 1; code <= 255; ++code)
            bytes.push_back(static_cast<char>(code));
        out += differences(codepage::toUtf16(bytes, codePage));
    }
    out += ">>\r\n";
    return out;
}

} // namespace pv
