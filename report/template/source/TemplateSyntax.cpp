#include "report/template/source/TemplateSyntax.h"

#include "platform/CodePage.h"
#include "report/model/BandView.h"
#include "report/model/Graphic.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace pv::source {

const std::vector<Name> kMemoFlags = {
    {"stretched", flStretched}, {"wordwrap", flWordWrap},     {"wordbreak", flWordBreak},
    {"autowidth", flAutoWidth}, {"textonly", flTextOnly},     {"suppress", flSuppress},
    {"hidezeros", flHideZeros}, {"underlines", flUnderlines}, {"rtl", flRTLReading}};
const std::vector<Name> kBandFlags = {{"stretched", flStretched},
                                      {"newpage", flBandNewPageAfter},
                                      {"printifsubsetempty", flBandPrintIfSubsetEmpty},
                                      {"breaked", flBandBreaked},
                                      {"onfirstpage", flBandOnFirstPage},
                                      {"onlastpage", flBandOnLastPage},
                                      {"repeatheader", flBandRepeatHeader},
                                      {"printchildifinvisible", flBandPrintChildIfInvisible}};
const std::vector<Name> kPictureFlags = {
    {"stretched", flStretched}, {"center", flPictCenter}, {"keepaspect", flPictRatio}};
const std::vector<Name> kPlainFlags = {{"stretched", flStretched}};
const std::vector<Name>& flagNamesOf(uint8_t viewType) {
    switch (viewType) {
    case gtMemo:
        return kMemoFlags;
    case gtBand:
        return kBandFlags;
    case gtPicture:
        return kPictureFlags;
    default:
        return kPlainFlags;
    }
}

const std::vector<Name> kFrameSides = {
    {"right", frftRight}, {"bottom", frftBottom}, {"left", frftLeft}, {"top", frftTop}};
const std::vector<Name> kFontStyles = {
    {"italic", fsItalic}, {"bold", fsBold}, {"underline", fsUnderline}, {"strikeout", fsStrikeOut}};
const std::vector<Name> kBandTypes = {
    {"ReportTitle", btReportTitle},         {"ReportSummary", btReportSummary},
    {"PageHeader", btPageHeader},           {"PageFooter", btPageFooter},
    {"MasterHeader", btMasterHeader},       {"MasterData", btMasterData},
    {"MasterFooter", btMasterFooter},       {"DetailHeader", btDetailHeader},
    {"DetailData", btDetailData},           {"DetailFooter", btDetailFooter},
    {"SubdetailHeader", btSubDetailHeader}, {"SubdetailData", btSubDetailData},
    {"SubdetailFooter", btSubDetailFooter}, {"Overlay", btOverlay},
    {"ColumnHeader", btColumnHeader},       {"ColumnFooter", btColumnFooter},
    {"GroupHeader", btGroupHeader},         {"GroupFooter", btGroupFooter},
    {"CrossHeader", btCrossHeader},         {"CrossData", btCrossData},
    {"CrossFooter", btCrossFooter},         {"Child", btChild}};
const std::vector<Name> kFrameStyles = {{"solid", 0},   {"dash", 1},       {"dot", 2},
                                        {"dashdot", 3}, {"dashdotdot", 4}, {"double", 5}};
const std::vector<Name> kBandAligns = {{"none", 0},  {"left", 1},   {"right", 2}, {"center", 3},
                                       {"width", 4}, {"bottom", 5}, {"top", 6},   {"rest", 7}};
const std::vector<Name> kGraphicKinds = {{"none", gkNone},
                                         {"bmp", gkBitmap},
                                         {"metafile", gkMetafile},
                                         {"icon", gkIcon},
                                         {"jpeg", gkJpeg}};
const std::vector<Name> kBlobTypes = {
    {"bmp", btBMP}, {"jpeg", btJPG}, {"icon", btICO}, {"metafile", btWMF}};
const std::vector<Name> kFormatCategories = {
    {"text", 0}, {"number", 1}, {"date", 2}, {"time", 3}, {"boolean", 4}};
const std::vector<Name> kPaperNames = {{"Letter", 1}, {"Legal", 5}, {"A3", 8},  {"A4", 9},
                                       {"A5", 11},    {"B4", 12},   {"B5", 13}, {"custom", 256}};

namespace {

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Days from 1970-01-01 of a civil date, and back.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr int64_t kEpochShift = 25569; // 1899-12-30 to 1970-01-01

} // namespace

std::optional<std::string> wordOf(const std::vector<Name>& names, uint32_t value) {
    for (const auto& n : names)
        if (n.value == value) return std::string(n.word);
    return std::nullopt;
}

std::optional<uint32_t> valueOf(const std::vector<Name>& names, std::string_view w) {
    for (const auto& n : names)
        if (sameWord(n.word, w)) return n.value;
    return std::nullopt;
}

std::string bitsToWords(const std::vector<Name>& names, uint32_t bits) {
    if (bits == 0) return "none";
    std::string out;
    for (const auto& n : names)
        if (bits & n.value) {
            out += (out.empty() ? "" : " ") + std::string(n.word);
            bits &= ~n.value;
        }
    if (bits) out += (out.empty() ? "" : " ") + std::to_string(bits);
    return out;
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            continue;
        }
        std::string utf8 = c >= 0x20 && c != 0x7F ? cp1251ToUtf8(std::string(1, char(c))) : "";
        if (!utf8.empty() && utf8ToCp1251(utf8) == std::string(1, char(c)) &&
            utf8 != "\xEF\xBF\xBD") {
            out += utf8;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out + "\"";
}

std::string word(const std::string& text) {
    if (text.empty() || text[0] == '#') return quote(text);
    for (unsigned char c : text)
        if (c <= ' ' || c == '"' || c == '\\' || c == 0x7F || c == 0x98) return quote(text);
    return cp1251ToUtf8(text);
}

std::string colorText(uint32_t color) {
    char buf[16];
    if (color == 0x1FFFFFFF) return "none";
    if (color <= 0xFFFFFF) {
        std::snprintf(buf, sizeof buf, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                      (color >> 16) & 0xFF);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "0x%08X", color);
    return buf;
}

std::optional<uint32_t> parseColor(std::string_view t) {
    if (sameWord(t, "none")) return 0x1FFFFFFF;
    if (t.size() == 7 && t[0] == '#') {
        uint32_t rgb = 0;
        auto r = std::from_chars(t.data() + 1, t.data() + 7, rgb, 16);
        if (r.ec != std::errc() || r.ptr != t.data() + 7) return std::nullopt;
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
    uint32_t v = 0;
    const char* begin = t.data();
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        begin += 2;
        base = 16;
    }
    auto r = std::from_chars(begin, t.data() + t.size(), v, base);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || begin == t.data() + t.size())
        return std::nullopt;
    return v;
}

std::string dateText(double days) {
    char buf[64];
    if (!std::isfinite(days)) {
        uint64_t bits;
        std::memcpy(&bits, &days, sizeof bits);
        std::snprintf(buf, sizeof buf, "0x%016llX", static_cast<unsigned long long>(bits));
        return buf;
    }
    if (days >= 0 && days < 2958466) {
        int64_t whole = static_cast<int64_t>(std::floor(days));
        int64_t ms = static_cast<int64_t>(std::llround((days - double(whole)) * 86400000.0));
        if (ms < 86400000) {
            int y;
            unsigned m, d;
            civilFromDays(whole - kEpochShift, y, m, d);
            int hh = int(ms / 3600000), mi = int(ms / 60000 % 60), ss = int(ms / 1000 % 60),
                mss = int(ms % 1000);
            if (mss)
                std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d.%03d", y, m, d, hh,
                              mi, ss, mss);
            else
                std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d", y, m, d, hh, mi,
                              ss);
            std::string text = buf;
            auto space = text.find(' ');
            auto back = parseDate(text.substr(0, space), text.substr(space + 1));
            if (back && std::memcmp(&*back, &days, sizeof days) == 0) return text;
        }
    }
    std::snprintf(buf, sizeof buf, "%.17g", days);
    return buf;
}

std::optional<double> parseDate(std::string_view date, std::string_view time) {
    int y = 0, hh = 0, mi = 0, ss = 0, ms = 0;
    unsigned m = 0, d = 0;
    std::string dt(date), tt(time);
    char tail = 0;
    if (std::sscanf(dt.c_str(), "%d-%u-%u%c", &y, &m, &d, &tail) != 3) {
        if (!time.empty()) return std::nullopt;
        // The bits of a value that is no number.
        if (date.size() == 18 && date.substr(0, 2) == "0x") {
            uint64_t bits = 0;
            auto r = std::from_chars(date.data() + 2, date.data() + date.size(), bits, 16);
            if (r.ec != std::errc() || r.ptr != date.data() + date.size()) return std::nullopt;
            double v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        double v = 0;
        auto r = std::from_chars(date.data(), date.data() + date.size(), v);
        if (r.ec != std::errc() || r.ptr != date.data() + date.size()) return std::nullopt;
        return v;
    }
    if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    if (!tt.empty()) {
        int n = std::sscanf(tt.c_str(), "%d:%d:%d.%d", &hh, &mi, &ss, &ms);
        if (n < 2 || hh < 0 || hh > 23 || mi < 0 || mi > 59 || ss < 0 || ss > 59 || ms < 0 ||
            ms > 999)
            return std::nullopt;
    }
    double whole = double(daysFromCivil(y, m, d) + kEpochShift);
    double fraction = (hh * 3600000.0 + mi * 60000.0 + ss * 1000.0 + ms) / 86400000.0;
    return whole + fraction;
}

std::string base64Encode(std::string_view bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        uint32_t v =
            (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
        for (int k = 18; k >= 0; k -= 6)
            out += digits[(v >> k) & 63];
    }
    size_t rest = bytes.size() - i;
    if (rest) {
        uint32_t v = uint8_t(bytes[i]) << 16;
        if (rest == 2) v |= uint8_t(bytes[i + 1]) << 8;
        out += digits[(v >> 18) & 63];
        out += digits[(v >> 12) & 63];
        out += rest == 2 ? digits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::string> base64Decode(std::string_view text) {
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return -1;
    };
    std::string out;
    uint32_t acc = 0;
    int bits = 0;
    size_t padding = 0;
    for (char c : text) {
        if (c == '=') {
            ++padding;
            continue;
        }
        int v = value(c);
        if (v < 0 || padding) return std::nullopt;
        acc = (acc << 6) | uint32_t(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<char>((acc >> bits) & 0xFF));
        }
    }
    if (padding > 2) return std::nullopt;
    return out;
}

std::string floatText(float value) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

} // namespace pv::source
