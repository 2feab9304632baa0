#include "report/prepared/PreparedObject.h"

#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/model/FrfPrimitives.h"
#include "report/model/ViewFactory.h"

namespace pv {
namespace {

std::unique_ptr<TfrView> createPrepared(ByteStream& s, size_t at) {
    const uint8_t code = s.readU8();
    if (code == gtAddIn) {
        const std::string className = readFrfText(s, kFrfEdition);
        auto view = createAddIn(className);
        // Prepared records carry no end offset: an unknown class cannot be
        // skipped, and what follows it cannot be found.
        if (!view)
            throw FrfFormatError("prepared object at offset " + std::to_string(at) +
                                 " is of the class " + className + ", which is not registered");
        return view;
    }
    auto view = createView(code);
    if (!view)
        throw FrfFormatError("unknown object type code " + std::to_string(code) +
                             " in a prepared page at offset " + std::to_string(at));
    return view;
}

} // namespace

void WritePrepared(ByteStream& s, const TfrView& view) {
    WritePrepared(s, view, view.Memo);
}

void WritePrepared(ByteStream& s, const TfrView& v, const Lines& text) {
    s.writeU8(v.typeCode());
    if (v.typeCode() == gtAddIn) writeFrfText(s, v.className());
    writeFrfText(s, v.Name);
    s.writeU8(2);
    s.writeU8(writtenSubVersion(v));
    writeViewGeometry(s, v);
    s.writeU32(v.FillColor);
    writeFrfLines(s, text);
    s.writeU16(v.Restrictions);
    writeFrfText(s, v.Tag);
    s.writeI32(v.GapX);
    s.writeI32(v.GapY);
    s.writeU8(v.BandAlign);
    v.writePreparedClassFields(s);
}

std::unique_ptr<TfrView> ReadPreparedObject(ByteStream& s) {
    const size_t at = s.position();
    std::unique_ptr<TfrView> v = createPrepared(s, at);
    v->Name = readFrfText(s, kFrfEdition);
    v->ObjectVersion = s.readU8();
    v->ObjectSubVersion = s.readU8();
    readViewGeometry(s, *v);
    v->FillColor = s.readU32();
    v->Memo = readFrfLines(s, kFrfEdition);
    v->Restrictions = s.readU16();
    v->Tag = readFrfText(s, kFrfEdition);
    v->GapX = s.readI32();
    v->GapY = s.readI32();
    v->BandAlign = s.readU8();
    v->readPreparedClassFields(s);
    return v;
}

void BeginPreparedStream(ByteStream& s) {
    s.writeU8(kPreparedEdition);
}

std::vector<std::unique_ptr<TfrView>> ReadPreparedObjects(ByteStream& s) {
    if (s.atEnd()) throw FrfFormatError("a prepared page without its edition byte");
    const uint8_t edition = s.readU8();
    // Records of other editions have a layout this reader does not know.
    if (edition != kPreparedEdition)
        throw FrfFormatError("prepared page of edition " + std::to_string(edition) + ", expected " +
                             std::to_string(kPreparedEdition));
    std::vector<std::unique_ptr<TfrView>> objects;
    while (!s.atEnd())
        objects.push_back(ReadPreparedObject(s));
    return objects;
}

} // namespace pv
