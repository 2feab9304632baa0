#include "pdf/TrueTypeEncoding.h"

#include "pdf/GlyphNames.h"
#include "platform/Charset.h"
#include "platform/CodePage.h"

#include <cstdio>

namespace pv {

int encodingCodePage(int cs) {
    switch (cs) {
    case charset::ShiftJis:
        return 932;
    case charset::Gb2312:
        return 936;
    case charset::ChineseBig5:
        return 950;
    case charset::Greek:
        return 1253;
    case charset::Turkish:
        return 1254;
    case charset::Vietnamese:
        return 1258;
    case charset::Hebrew:
        return 1255;
    case charset::Arabic:
        return 1256;
    case charset::Baltic:
        return 1257;
    case charset::Russian:
        return 1251;
    case charset::Thai:
        return 874;
    case charset::EastEurope:
        return 1250;
    case charset::Oem:
        return kSystemOemCodePage;
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
