#include "platform/Charset.h"

namespace pv {

int codePageOfCharset(int charset) {
    switch (charset) {
    case charset::Ansi:
        return 1252;
    case charset::Mac:
        return 10000;
    case charset::ShiftJis:
        return 932;
    case charset::Hangul:
        return 949;
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
        return kSystemAnsiCodePage;
    }
}

} // namespace pv
