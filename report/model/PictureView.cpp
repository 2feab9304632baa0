#include "report/model/PictureView.h"

#include "platform/TextCase.h"
#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/model/PropertyValue.h"
#include "report/value/Constants.h"

namespace pv {
namespace {

bool is(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

// A script hands a picture over as the bytes of its file; its kind is in its header.
uint8_t kindOfFile(const std::string& bytes) {
    if (bytes.empty()) return gkNone;
    if (bytes.starts_with("BM")) return gkBitmap;
    if (bytes.starts_with("\xFF\xD8")) return gkJpeg;
    if (bytes.starts_with(std::string_view("\0\0\1\0", 4))) return gkIcon;
    return gkMetafile;
}

} // namespace

TfrPictureView::TfrPictureView() {
    Flags = flStretched | flPictRatio;
    addPictureConstants();
}

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
    if (is(name, "Picture")) return Variant(Picture.empty() ? std::string() : Picture.data);
    return TfrView::ReadProperty(name);
}

bool TfrPictureView::WriteProperty(std::string_view name, const Variant& value) {
    if (is(name, "BlobType")) {
        BlobType = static_cast<uint8_t>(propertyInt(value));
        return true;
    }
    if (is(name, "Picture")) {
        Picture.data = value.toText();
        Picture.kind = kindOfFile(Picture.data);
        return true;
    }
    return TfrView::WriteProperty(name, value);
}

} // namespace pv
