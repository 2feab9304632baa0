#include "platform/FontService.h"

#include "platform/Charset.h"
#include "platform/CodePage.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>
#include <unordered_map>

namespace pv {
namespace {

std::string asciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

int scale(long units, int em, int unitsPerEm) {
    return int(std::lround(double(units) * em / unitsPerEm));
}

std::uint32_t be32(const std::vector<std::uint8_t>& d, std::size_t off) {
    return std::uint32_t(d[off]) << 24 | std::uint32_t(d[off + 1]) << 16 |
           std::uint32_t(d[off + 2]) << 8 | d[off + 3];
}
std::uint16_t be16(const std::vector<std::uint8_t>& d, std::size_t off) {
    return std::uint16_t(d[off] << 8 | d[off + 1]);
}
void putBe32(std::vector<std::uint8_t>& out, std::size_t off, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[off + i] = std::uint8_t(v >> (24 - 8 * i));
}

std::string patternString(FcPattern* p, const char* object, int n = 0) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(p, object, n, &value) != FcResultMatch || !value) return {};
    return reinterpret_cast<const char*>(value);
}

// Letters a face must show to serve a charset: the upper half of its code page.
std::vector<char16_t> charsetProbe(int cs) {
    const int cp = codePageOfCharset(cs);
    if (!codepage::isKnown(cp)) return {};
    std::string high;
    for (int b = 0xC0; b <= 0xFF; ++b)
        high.push_back(char(b));
    std::vector<char16_t> out;
    for (char16_t c : codepage::toUtf16(high, cp))
        if (c != 0xFFFD) out.push_back(c);
    return out;
}

const char* languageOfCharset(int cs) {
    switch (cs) {
    case charset::ShiftJis:
        return "ja";
    case charset::Hangul:
        return "ko";
    case charset::Gb2312:
        return "zh-cn";
    case charset::ChineseBig5:
        return "zh-tw";
    case charset::Thai:
        return "th";
    case charset::Hebrew:
        return "he";
    case charset::Arabic:
        return "ar";
    default:
        return nullptr;
    }
}

// The charsets a font enumeration reports, in the order it lists them.
constexpr int kEnumeratedCharsets[] = {charset::Ansi,   charset::EastEurope,  charset::Russian,
                                       charset::Greek,  charset::Turkish,     charset::Hebrew,
                                       charset::Arabic, charset::Baltic,      charset::Vietnamese,
                                       charset::Thai,   charset::ShiftJis,    charset::Hangul,
                                       charset::Gb2312, charset::ChineseBig5, charset::Symbol};

} // namespace

std::vector<std::uint8_t> cutFontFromCollection(const std::vector<std::uint8_t>& ttc, int index) {
    if (index < 0 || ttc.size() < 12 || be32(ttc, 8) <= std::uint32_t(index)) return {};
    const std::size_t dirOff = 12 + 4 * std::size_t(index);
    if (dirOff + 4 > ttc.size()) return {};
    const std::size_t start = be32(ttc, dirOff);
    if (start + 12 > ttc.size()) return {};
    const int numTables = be16(ttc, start + 4);
    const std::size_t headerSize = 12 + 16 * std::size_t(numTables);
    if (start + headerSize > ttc.size()) return {};
    std::vector<std::uint8_t> out(ttc.begin() + long(start),
                                  ttc.begin() + long(start + headerSize));
    for (int t = 0; t < numTables; ++t) {
        const std::size_t rec = 12 + 16 * std::size_t(t);
        const std::size_t off = be32(out, rec + 8), len = be32(out, rec + 12);
        if (off > ttc.size() || len > ttc.size() - off) return {};
        putBe32(out, rec + 8, std::uint32_t(out.size()));
        out.insert(out.end(), ttc.begin() + long(off), ttc.begin() + long(off + len));
        out.resize((out.size() + 3) & ~std::size_t(3), 0);
    }
    return out;
}

struct FontFace::Impl {
    FT_Face ft = nullptr;
    FcCharSet* chars = nullptr;
    FcLangSet* langs = nullptr;
    bool symbolMap = false;
    std::map<int, std::array<unsigned, 256>> glyphs;        // by charset
    std::map<int, std::array<int, 256>> units;              // by charset
    std::map<int, std::array<int, 256>> thousandths;        // by charset
    std::map<std::pair<int, int>, std::array<int, 256>> px; // by charset, em pixels
    int winAscent = 0, winDescent = 0;
    ~Impl() {
        if (ft) FT_Done_Face(ft);
        if (chars) FcCharSetDestroy(chars);
        if (langs) FcLangSetDestroy(langs);
    }
};

FontFace::FontFace(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FontFace::~FontFace() = default;

bool FontFace::hasCharset(int cs) const {
    if (cs == charset::Symbol) return impl_->symbolMap;
    if (const char* lang = languageOfCharset(cs))
        return impl_->langs &&
               FcLangSetHasLang(impl_->langs, (const FcChar8*)lang) != FcLangDifferentLang;
    if (!impl_->chars) return false;
    for (char16_t c : charsetProbe(cs))
        if (!FcCharSetHasChar(impl_->chars, c)) return false;
    return true;
}

unsigned FontFace::glyphIndex(int cs, std::uint8_t code) {
    auto it = impl_->glyphs.find(cs);
    if (it == impl_->glyphs.end()) {
        std::array<unsigned, 256> table{};
        FT_Face ft = impl_->ft;
        if (cs == charset::Symbol && impl_->symbolMap) {
            FT_Select_Charmap(ft, FT_ENCODING_MS_SYMBOL);
            for (int b = 0; b < 256; ++b) {
                table[b] = FT_Get_Char_Index(ft, 0xF000 + b);
                if (!table[b]) table[b] = FT_Get_Char_Index(ft, b);
            }
            FT_Select_Charmap(ft, FT_ENCODING_UNICODE);
        } else {
            std::string all(256, '\0');
            for (int b = 0; b < 256; ++b)
                all[b] = char(b);
            const std::u16string uni = codepage::toUtf16(all, codePageOfCharset(cs));
            for (int b = 0; b < 256; ++b)
                table[b] = FT_Get_Char_Index(ft, uni[b]);
        }
        it = impl_->glyphs.emplace(cs, table).first;
    }
    return it->second[code];
}

const std::array<int, 256>& FontFace::unitAdvances(int cs) {
    auto it = impl_->units.find(cs);
    if (it != impl_->units.end()) return it->second;
    std::array<int, 256> table{};
    for (int b = 0; b < 256; ++b) {
        FT_Fixed adv = 0;
        if (FT_Get_Advance(impl_->ft, glyphIndex(cs, std::uint8_t(b)), FT_LOAD_NO_SCALE, &adv) == 0)
            table[b] = int(adv);
    }
    return impl_->units.emplace(cs, table).first->second;
}

const std::array<int, 256>& FontFace::advances1000(int cs) {
    auto it = impl_->thousandths.find(cs);
    if (it != impl_->thousandths.end()) return it->second;
    const auto& units = unitAdvances(cs);
    std::array<int, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = scale(units[b], 1000, unitsPerEm_);
    return impl_->thousandths.emplace(cs, table).first->second;
}

const std::array<int, 256>& FontFace::pixelAdvances(int cs, int emPixels) {
    const auto key = std::make_pair(cs, emPixels);
    auto it = impl_->px.find(key);
    if (it != impl_->px.end()) return it->second;
    const auto& units = unitAdvances(cs);
    std::array<int, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = scale(units[b], emPixels, unitsPerEm_);
    return impl_->px.emplace(key, table).first->second;
}

PixelMetrics FontFace::pixelMetrics(int emPixels) const {
    return {scale(impl_->winAscent, emPixels, unitsPerEm_),
            scale(impl_->winDescent, emPixels, unitsPerEm_)};
}

int FontFace::emPixelsForHeight(int height) const {
    int em = 16; // the platform's default, 12 points at 96 dpi
    if (height < 0)
        em = height < -kMaxEmPixels ? kMaxEmPixels : -height;
    else if (height > 0)
        em = scale(std::min(height, 2 * kMaxEmPixels), unitsPerEm_,
                   std::max(1, impl_->winAscent + impl_->winDescent));
    return std::clamp(em, 1, kMaxEmPixels);
}

FontMetrics FontFace::metrics1000() const {
    FT_Face ft = impl_->ft;
    FontMetrics m;
    m.ascent = scale(ft->ascender, 1000, unitsPerEm_);
    m.descent = scale(ft->descender, 1000, unitsPerEm_);
    m.boxLeft = scale(ft->bbox.xMin, 1000, unitsPerEm_);
    m.boxBottom = scale(ft->bbox.yMin, 1000, unitsPerEm_);
    m.boxRight = scale(ft->bbox.xMax, 1000, unitsPerEm_);
    m.boxTop = scale(ft->bbox.yMax, 1000, unitsPerEm_);
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        os2 && os2->version >= 2)
        m.capHeight = scale(os2->sCapHeight, 1000, unitsPerEm_);
    if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(ft, FT_SFNT_POST)))
        m.italicAngle = int(std::lround(double(post->italicAngle) / 65536.0 * 10));
    return m;
}

std::vector<std::uint8_t> FontFace::fontFile() const {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return {};
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    if (data.size() >= 4 && data[0] == 't' && data[1] == 't' && data[2] == 'c' && data[3] == 'f')
        return cutFontFromCollection(data, index_);
    return data;
}

struct FontService::Impl {
    FT_Library library = nullptr;
    FcConfig* config = nullptr;
    std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> files;
    std::map<std::tuple<std::string, int, bool, int>, std::pair<FontFace*, bool>> requests;
    // The logical fonts measured last: text layout asks for the same few
    // fonts over and over. The first entry is the one in use.
    struct Measured {
        LogFont font;
        FontFace* face;
        const std::array<int, 256>* advances;
    };
    std::vector<Measured> recent;
    static constexpr std::size_t kRecentFonts = 8;

    std::pair<FontFace*, bool> resolve(const FontRequest& r);
    FontFace& open(const std::string& path, int index, FcPattern* match);
    void remember(const LogFont& font, FontFace& face);
};

FontFace& FontService::Impl::open(const std::string& path, int index, FcPattern* match) {
    auto key = std::make_pair(path, index);
    if (auto it = files.find(key); it != files.end()) return *it->second;
    auto impl = std::make_unique<FontFace::Impl>();
    if (FT_New_Face(library, path.c_str(), index, &impl->ft) != 0)
        throw FontError("cannot open the font file " + path);
    FT_Face ft = impl->ft;
    FcCharSet* cs = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &cs) == FcResultMatch)
        impl->chars = FcCharSetCopy(cs);
    FcLangSet* ls = nullptr;
    if (FcPatternGetLangSet(match, FC_LANG, 0, &ls) == FcResultMatch)
        impl->langs = FcLangSetCopy(ls);
    for (int i = 0; i < ft->num_charmaps; ++i)
        if (ft->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL) impl->symbolMap = true;
    FT_Select_Charmap(ft, FT_ENCODING_UNICODE);
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        os2 && os2->usWinAscent) {
        impl->winAscent = os2->usWinAscent;
        impl->winDescent = os2->usWinDescent;
    } else {
        impl->winAscent = ft->ascender;
        impl->winDescent = -ft->descender;
    }
    std::unique_ptr<FontFace> face(new FontFace(std::move(impl)));
    face->family_ = patternString(match, FC_FAMILY);
    face->path_ = path;
    face->index_ = index;
    FT_ULong glyfLength = 0;
    face->trueType_ =
        patternString(match, FC_FONTFORMAT) == "TrueType" && FT_IS_SFNT(ft) &&
        FT_Load_Sfnt_Table(ft, FT_MAKE_TAG('g', 'l', 'y', 'f'), 0, nullptr, &glyfLength) == 0 &&
        glyfLength > 0;
    face->bold_ = ft->style_flags & FT_STYLE_FLAG_BOLD;
    face->italic_ = ft->style_flags & FT_STYLE_FLAG_ITALIC;
    face->unitsPerEm_ = ft->units_per_EM ? ft->units_per_EM : 1000;
    return *files.emplace(key, std::move(face)).first->second;
}

std::pair<FontFace*, bool> FontService::Impl::resolve(const FontRequest& r) {
    const std::string family = familyFor(cp1251ToUtf8(r.face));
    auto key =
        std::make_tuple(asciiUpper(family), r.weight >= 600 ? 700 : 400, r.italic, r.charset);
    if (auto it = requests.find(key); it != requests.end()) return it->second;

    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)family.c_str());
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(r.weight >= 600 ? 700 : 400));
    FcPatternAddInteger(pattern, FC_SLANT, r.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        throw FontError("no font is installed (fontconfig found nothing for \"" + family + "\")");
    const std::string path = patternString(match, FC_FILE);
    int index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    bool named = false;
    for (int n = 0;; ++n) {
        const std::string name = patternString(match, FC_FAMILY, n);
        if (name.empty()) break;
        if (asciiUpper(name) == asciiUpper(family)) named = true;
    }
    FontFace* face = nullptr;
    try {
        face = &open(path, index & 0xFFFF, match);
    } catch (...) {
        FcPatternDestroy(match);
        throw;
    }
    FcPatternDestroy(match);
    return requests[key] = {face, named};
}

void FontService::Impl::remember(const LogFont& font, FontFace& face) {
    if (recent.size() == kRecentFonts) recent.pop_back();
    recent.insert(
        recent.begin(),
        {font, &face, &face.pixelAdvances(font.charSet, face.emPixelsForHeight(font.height))});
}

FontService::FontService() : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library) != 0) throw FontError("FreeType cannot start");
    impl_->config = FcInitLoadConfigAndFonts();
    if (!impl_->config) throw FontError("fontconfig cannot load its configuration");
}

FontService::~FontService() {
    impl_->recent.clear();
    impl_->requests.clear();
    impl_->files.clear();
    FT_Done_FreeType(impl_->library);
    FcConfigDestroy(impl_->config);
}

FontService& FontService::shared() {
    static FontService service;
    return service;
}

std::string FontService::familyFor(std::string_view face) {
    const std::string upper = asciiUpper(face);
    if (upper == "ARIAL") return "Liberation Sans";
    if (upper == "TIMES NEW ROMAN") return "Liberation Serif";
    if (upper == "COURIER NEW") return "Liberation Mono";
    return std::string(face);
}

FontFace& FontService::face(const FontRequest& request) {
    return *impl_->resolve(request).first;
}

FontFace& FontService::face(const LogFont& font) {
    auto& recent = impl_->recent;
    for (std::size_t i = 0; i < recent.size(); ++i) {
        if (!(recent[i].font == font)) continue;
        if (i > 0)
            std::rotate(recent.begin(), recent.begin() + long(i), recent.begin() + long(i) + 1);
        return *recent.front().face;
    }
    FontFace& f = face(FontRequest{font.faceName, font.weight, font.italic, font.charSet});
    impl_->remember(font, f);
    return f;
}

bool FontService::isInstalledTrueType(const FontRequest& request) {
    if (request.face.empty()) return false;
    auto [face, named] = impl_->resolve(request);
    return named && face->isTrueType() && face->hasCharset(request.charset);
}

std::vector<FontEntry> FontService::entries(std::string_view face) {
    const std::string family = familyFor(cp1251ToUtf8(face));
    std::vector<FontEntry> out;
    if (family.empty()) return out;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)family.c_str());
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT,
                                            FC_FONTFORMAT, FC_CHARSET, FC_LANG, nullptr);
    FcFontSet* set = FcFontList(impl_->config, pattern, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    if (!set) return out;
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* p = set->fonts[i];
        int index = 0;
        FcPatternGetInteger(p, FC_INDEX, 0, &index);
        FontFace* f = nullptr;
        try {
            f = &impl_->open(patternString(p, FC_FILE), index & 0xFFFF, p);
        } catch (const FontError&) {
            continue;
        }
        int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(p, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(p, FC_SLANT, 0, &slant);
        FontEntry e{f->family(),
                    FcWeightToOpenType(weight) >= 600,
                    slant != FC_SLANT_ROMAN,
                    f->isTrueType(),
                    {}};
        for (int cs : kEnumeratedCharsets)
            if (f->hasCharset(cs)) e.charsets.push_back(cs);
        out.push_back(std::move(e));
    }
    FcFontSetDestroy(set);
    // Regular first, then bold, italic, bold italic, as the platform lists them.
    std::stable_sort(out.begin(), out.end(), [](const FontEntry& a, const FontEntry& b) {
        return std::pair(a.italic, a.bold) < std::pair(b.italic, b.bold);
    });
    return out;
}

std::vector<std::string> FontService::families() {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(impl_->config, pattern, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::vector<std::string> out;
    if (set) {
        for (int i = 0; i < set->nfont; ++i)
            out.push_back(patternString(set->fonts[i], FC_FAMILY));
        FcFontSetDestroy(set);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::vector<int> FontService::advances(const LogFont& font, std::string_view text, int charExtra) {
    face(font);
    const auto& table = *impl_->recent.front().advances;
    std::vector<int> out(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = table[static_cast<unsigned char>(text[i])] + charExtra;
    return out;
}

Size FontService::textExtent(const LogFont& font, std::string_view text, int charExtra) {
    FontFace& f = face(font);
    const auto& table = *impl_->recent.front().advances;
    int width = 0;
    for (char c : text)
        width += table[static_cast<unsigned char>(c)] + charExtra;
    return {width, f.pixelMetrics(f.emPixelsForHeight(font.height)).height()};
}

PixelMetrics FontService::pixelMetrics(const LogFont& font) {
    FontFace& f = face(font);
    return f.pixelMetrics(f.emPixelsForHeight(font.height));
}

} // namespace pv
