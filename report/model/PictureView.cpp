#include "report/model/PictureView.h"

#include "platform/TextCase.h"
#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/model/PropertyValue.h"

namespace pv {
namespace {

bool is(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

} // namespace

std::vector<TfrView::FlagName> TfrPictureView::flagNames() const {
    return {{"Stretched", flStretched}, {"Center", flPictCenter}, {"KeepAspect", flPictRatio}};
}

void TfrPictureView::readClassFields(ByteStream& s, const FrfContext&) {
    Picture.kind = s.readU8();
    if (ObjectVersion * 10 + ObjectSubVersion > 10) BlobType = s.readU8();
    int32_t end = s.readI32();
    if (end < 0 || static_cast<size_t>(end) < s.position() || static_cast<size_t>(end) > s.size())
        throw FrfFormatError("picture data end " + std::to_string(end) + " outside the stream");
    std::string data = s.readBytes(static_cast<size_t>(end) - s.position());
    Picture.data = Picture.kind == gkNone ? std::string() : std::move(data);
}

void TfrPictureView::writeClassFields(ByteStream& s) const {
    s.writeU8(Picture.kind);
    s.writeU8(BlobType);
    size_t placeholder = s.position();
    s.writeI32(0);
    if (Picture.kind != gkNone) s.writeBytes(Picture.data);
    s.patchI32(placeholder, static_cast<int32_t>(s.position()));
}

std::optional<Variant> TfrPictureView::ReadProperty(std::string_view name) const {
    if (is(name, "BlobType")) return Variant(int32_t(BlobType));
    return TfrView::ReadProperty(name);
}

bool TfrPictureView::WriteProperty(std::string_view name, const Variant& value) {
    if (is(name, "BlobType")) {
        BlobType = static_cast<uint8_t>(propertyInt(value));
        return true;
    }
    return TfrView::WriteProperty(name, value);
}

} // namespace pv
