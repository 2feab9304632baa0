#include "report/model/MemoView.h"

#include "platform/TextCase.h"
#include "report/model/ByteStream.h"
#include "report/model/FrfPrimitives.h"
#include "report/model/PropertyValue.h"

#include <algorithm>

namespace pv {
namespace {

bool is(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

constexpr uint16_t kDefaultCharset = 204;

} // namespace

std::vector<TfrView::FlagName> TfrMemoView::flagNames() const {
    return {{"Stretched", flStretched}, {"WordWrap", flWordWrap},     {"WordBreak", flWordBreak},
            {"AutoWidth", flAutoWidth}, {"TextOnly", flTextOnly},     {"Suppress", flSuppress},
            {"HideZeros", flHideZeros}, {"Underlines", flUnderlines}, {"RTLReading", flRTLReading}};
}

void TfrMemoView::readClassFields(ByteStream& s, const FrfContext& ctx) {
    FontName = readFrfText(s, ctx.edition);
    FontSize = s.readI32();
    FontStyle = s.readU16();
    FontColor = s.readI32();
    Alignment = s.readU32();
    FontCharset = s.readU16();
    // Old editions stored whatever the designer's machine had there.
    if (ctx.edition < 23) FontCharset = kDefaultCharset;
    HighlightFontStyle = s.readU16();
    HighlightFontColor = s.readU32();
    HighlightFillColor = s.readU32();
    HighlightCondition = readFrfText(s, ctx.edition);
    if (ctx.edition >= 24) {
        LineSpacing = s.readI32();
        CharSpacing = s.readI32();
    }
    if (ctx.edition == 21) setFlag(flWordWrap, true);
}

void TfrMemoView::writeClassFields(ByteStream& s) const {
    writeFrfText(s, FontName);
    s.writeI32(FontSize);
    s.writeU16(FontStyle);
    s.writeI32(FontColor);
    s.writeU32(Alignment);
    s.writeU16(FontCharset);
    s.writeU16(HighlightFontStyle);
    s.writeU32(HighlightFontColor);
    s.writeU32(HighlightFillColor);
    writeFrfText(s, HighlightCondition);
    s.writeI32(LineSpacing);
    s.writeI32(CharSpacing);
}

void TfrMemoView::readPreparedClassFields(ByteStream& s) {
    FontName = readFrfText(s, kFrfEdition);
    FontSize = s.readI32();
    FontStyle = s.readU16();
    FontColor = s.readI32();
    Alignment = s.readU32();
    FontCharset = s.readU16();
    LineSpacing = s.readI32();
    CharSpacing = s.readI32();
}

void TfrMemoView::writePreparedClassFields(ByteStream& s) const {
    writeFrfText(s, FontName);
    s.writeI32(FontSize);
    s.writeU16(FontStyle);
    s.writeI32(FontColor);
    s.writeU32(Alignment);
    s.writeU16(FontCharset);
    s.writeI32(LineSpacing);
    s.writeI32(CharSpacing);
}

std::optional<Variant> TfrMemoView::ReadProperty(std::string_view name) const {
    if (is(name, "Font.Name")) return Variant(FontName);
    if (is(name, "Font.Size")) return Variant(FontSize);
    if (is(name, "Font.Style")) return Variant(int32_t(FontStyle));
    if (is(name, "Font.Color")) return Variant(FontColor);
    if (is(name, "Alignment")) return Variant(int32_t(Alignment));
    if (is(name, "LineSpacing")) return Variant(LineSpacing);
    if (is(name, "CharSpacing")) return Variant(CharSpacing);
    if (is(name, "Lines.Count")) return Variant(int32_t(Memo.size()));
    return TfrView::ReadProperty(name);
}

bool TfrMemoView::WriteProperty(std::string_view name, const Variant& value) {
    if (is(name, "Font.Name"))
        FontName = propertyText(value);
    else if (is(name, "Font.Size"))
        FontSize = propertyInt(value);
    else if (is(name, "Font.Style"))
        FontStyle = static_cast<uint16_t>(propertyInt(value));
    else if (is(name, "Font.Color"))
        FontColor = propertyInt(value);
    else if (is(name, "Alignment"))
        Alignment = static_cast<uint32_t>(propertyInt(value));
    else if (is(name, "LineSpacing"))
        LineSpacing = propertyInt(value);
    else if (is(name, "CharSpacing"))
        CharSpacing = propertyInt(value);
    else
        return TfrView::WriteProperty(name, value);
    return true;
}

std::optional<Variant> TfrMemoView::CallMethod(std::string_view name, const Variant& p1,
                                               const Variant& p2, const Variant& p3) {
    if (is(name, "Memo.Add")) {
        Memo.push_back(propertyText(p1));
        return Variant();
    }
    if (is(name, "Memo.Clear")) {
        Memo.clear();
        return Variant();
    }
    if (is(name, "Memo.Delete")) {
        int i = propertyInt(p1);
        if (i >= 0 && i < static_cast<int>(Memo.size())) Memo.erase(Memo.begin() + i);
        return Variant();
    }
    if (is(name, "Memo.IndexOf")) {
        std::string wanted = propertyText(p1);
        for (size_t i = 0; i < Memo.size(); ++i)
            if (equalsNoCase(Memo[i], wanted)) return Variant(int32_t(i));
        return Variant(int32_t(-1));
    }
    if (is(name, "HIDE") || is(name, "SHOW")) {
        Visible = is(name, "SHOW") ? kTrue : 0;
        return Variant();
    }
    // Memo[i] in expressions and scripts; a line beyond the text reads empty,
    // and writing one there adds the missing lines.
    if (is(name, "GETINDEXPROPERTY") && is(propertyText(p1), "Memo")) {
        int i = propertyInt(p2);
        if (i < 0 || i >= static_cast<int>(Memo.size())) return Variant(std::string());
        return Variant(Memo[i]);
    }
    if (is(name, "SETINDEXPROPERTY") && is(propertyText(p1), "Memo")) {
        int i = propertyInt(p2);
        if (i < 0 || i > 0xFFFF) return Variant();
        if (i >= static_cast<int>(Memo.size())) Memo.resize(i + 1);
        Memo[i] = propertyText(p3);
        return Variant();
    }
    return TfrView::CallMethod(name, p1, p2, p3);
}

} // namespace pv
