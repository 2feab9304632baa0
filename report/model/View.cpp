#include "report/model/View.h"

#include "platform/SystemFormat.h"
#include "platform/TextCase.h"
#include "report/model/FrfPrimitives.h"
#include "report/model/PropertyValue.h"

#include <atomic>

namespace pv {
namespace {

std::atomic<int> nextObjectId{1};

bool is(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

} // namespace

int32_t defaultViewFormat() {
    return 2 * 256 + static_cast<unsigned char>(systemFormat().decimalSeparator);
}

std::optional<Variant> TfrObject::CallMethod(std::string_view, const Variant&, const Variant&,
                                             const Variant&) {
    return std::nullopt;
}

TfrView::Number::Number() : value_(nextObjectId++) {}

TfrView::TfrView() : Format(defaultViewFormat()) {}

TfrView::TfrView(const TfrView& other) = default;

void TfrView::readPreparedClassFields(ByteStream& s) {
    readClassFields(s, FrfContext{kFrfEdition});
}

std::optional<Variant> TfrView::ReadProperty(std::string_view name) const {
    if (is(name, "Name")) return Variant(Name);
    if (is(name, "Left")) return Variant(Left);
    if (is(name, "Top")) return Variant(Top);
    if (is(name, "Width")) return Variant(Width);
    if (is(name, "Height")) return Variant(Height);
    if (is(name, "Flags")) return Variant(int32_t(Flags));
    if (is(name, "FrameTyp")) return Variant(int32_t(FrameTyp));
    if (is(name, "FrameWidth")) return Variant(double(FrameWidth));
    if (is(name, "FrameColor")) return Variant(int32_t(FrameColor));
    if (is(name, "FrameStyle")) return Variant(int32_t(FrameStyle));
    if (is(name, "FillColor")) return Variant(int32_t(FillColor));
    if (is(name, "Visible")) return Variant(Visible != 0);
    if (is(name, "Memo")) return Variant(joinLines(Memo));
    if (is(name, "Memo.Count")) return Variant(int32_t(Memo.size()));
    if (is(name, "GapX")) return Variant(GapX);
    if (is(name, "GapY")) return Variant(GapY);
    if (is(name, "BandAlign")) return Variant(int32_t(BandAlign));
    if (is(name, "DataField")) return Variant(Memo.empty() ? std::string() : Memo.front());
    if (is(name, "Tag")) return Variant(Tag);
    for (const auto& f : flagNames())
        if (is(name, f.name)) return Variant(flag(f.bit));
    return std::nullopt;
}

bool TfrView::WriteProperty(std::string_view name, const Variant& value) {
    if (is(name, "Name"))
        Name = propertyText(value);
    else if (is(name, "Left"))
        Left = propertyInt(value);
    else if (is(name, "Top"))
        Top = propertyInt(value);
    else if (is(name, "Width"))
        Width = propertyInt(value);
    else if (is(name, "Height"))
        Height = propertyInt(value);
    else if (is(name, "Flags"))
        Flags = static_cast<uint16_t>(propertyInt(value));
    else if (is(name, "FrameTyp"))
        FrameTyp = static_cast<uint16_t>(propertyInt(value));
    else if (is(name, "FrameWidth"))
        FrameWidth = static_cast<float>(propertyReal(value));
    else if (is(name, "FrameColor"))
        FrameColor = static_cast<uint32_t>(propertyInt(value));
    else if (is(name, "FrameStyle"))
        FrameStyle = static_cast<uint16_t>(propertyInt(value));
    else if (is(name, "FillColor"))
        FillColor = static_cast<uint32_t>(propertyInt(value));
    else if (is(name, "Visible"))
        Visible = propertyBool(value) ? kTrue : 0;
    else if (is(name, "Memo"))
        Memo = splitLines(propertyText(value));
    else if (is(name, "GapX"))
        GapX = propertyInt(value);
    else if (is(name, "GapY"))
        GapY = propertyInt(value);
    else if (is(name, "BandAlign"))
        BandAlign = static_cast<uint8_t>(propertyInt(value));
    else if (is(name, "DataField")) {
        if (Memo.empty())
            Memo.push_back(propertyText(value));
        else
            Memo.front() = propertyText(value);
    } else if (is(name, "Tag"))
        Tag = propertyText(value);
    else {
        for (const auto& f : flagNames())
            if (is(name, f.name)) {
                setFlag(f.bit, propertyBool(value));
                return true;
            }
        return false;
    }
    return true;
}

std::optional<Variant> TfrView::CallMethod(std::string_view name, const Variant& p1,
                                           const Variant& p2, const Variant& p3) {
    return std::nullopt;
}

} // namespace pv
