#include "report/template/frf/FrfWriter.h"

#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/model/FrfPrimitives.h"
#include "report/model/PropertyValue.h"
#include "report/template/Report.h"

namespace pv {
namespace {

void writePage(ByteStream& s, const TfrPage& p) {
    s.writeU8(255);
    s.writeI32(-1);
    s.writeI32(p.Size);
    s.writeI32(p.PaperWidth);
    s.writeI32(p.PaperHeight);
    s.writeI32(p.LeftMargin);
    s.writeI32(p.TopMargin);
    s.writeI32(p.RightMargin);
    s.writeI32(p.BottomMargin);
    s.writeU8(p.Orientation);
    s.writeI32(p.Bin);
    s.writeI16(p.PrintToPrevPage);
    s.writeI16(p.UseMargins);
    s.writeI32(p.Columns);
    s.writeI32(p.ColumnGap);
    s.writeU8(p.Type);
    writeFrfText(s, p.Name);
    s.writeU8(p.BorderStyle);
    writeFrfText(s, p.Caption);
    s.writeI32(p.Color);
    s.writeI32(p.WindowLeft);
    s.writeI32(p.WindowTop);
    s.writeI32(p.WindowWidth);
    s.writeI32(p.WindowHeight);
    s.writeU8(p.Position);
    writeFrfLines(s, p.Script);
}

void writeCommonFields(ByteStream& s, const TfrView& v) {
    writeFrfText(s, v.Name);
    s.writeU8(2);
    s.writeU8(writtenSubVersion(v));
    writeViewGeometry(s, v);
    s.writeU32(v.FillColor);
    s.writeI32(v.Format);
    writeFrfText(s, v.FormatStr);
    writeFrfLines(s, v.Memo);
    writeFrfLines(s, v.Script);
    s.writeI16(v.Visible);
    s.writeU16(v.Restrictions);
    writeFrfText(s, v.Tag);
    s.writeI32(v.GapX);
    s.writeI32(v.GapY);
    s.writeU8(v.BandAlign);
}

void writeObject(ByteStream& s, const TfrView& v, int pageIndex) {
    s.writeU8(v.typeCode());
    if (v.typeCode() == gtAddIn) writeFrfText(s, v.className());
    s.writeU8(static_cast<uint8_t>(pageIndex));
    size_t placeholder = s.position();
    s.writeI32(0);
    writeCommonFields(s, v);
    v.writeClassFields(s);
    s.patchI32(placeholder, static_cast<int32_t>(s.position()));
}

void writeList(ByteStream& s, const TfrVariables& list) {
    s.writeI32(list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        writeFrfText(s, list.Name(i));
        writeFrfText(s, propertyText(list.ValueAt(i)));
    }
}

void writeCounted(ByteStream& s, const std::string& text) {
    if (text.size() > 0xFFFF)
        throw FrfWriteError("a report information text is longer than 65535 bytes");
    s.writeU16(static_cast<uint16_t>(text.size()));
    s.writeBytes(text);
}

std::string passwordHex(const std::string& password) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : password) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 15]);
    }
    return hex;
}

} // namespace

void writeFrf(TfrReport& report, ByteStream& s, const std::string& printerName, double lastChange) {
    if (report.Pages.size() > 256)
        throw FrfWriteError("a template holds at most 256 pages, this one has " +
                            std::to_string(report.Pages.size()));
    s.writeU8(kFrfEdition);
    s.writeI16(report.PrintToDefault);
    s.writeI16(report.DoublePass);
    writeFrfText(s, printerName);
    for (const auto& page : report.Pages)
        writePage(s, *page);
    for (size_t i = 0; i < report.Pages.size(); ++i)
        for (const auto& object : report.Pages[i]->Objects)
            writeObject(s, *object, static_cast<int>(i));
    s.writeU8(254);
    s.writeI16(-2);
    writeList(s, report.Dictionary.Variables);
    writeList(s, report.Dictionary.FieldAliases);
    writeList(s, report.Dictionary.SourceAliases);
    s.writeU8(252);

    TfrReportInfo& info = report.Info;
    for (const std::string* text : {&info.ReportComment, &info.ReportName, &info.ReportAutor,
                                    &info.VMajor, &info.VMinor, &info.VRelease, &info.VBuild})
        writeCounted(s, *text);
    writeCounted(s, passwordHex(info.Password));
    info.GeneratorVersion = 88;
    s.writeU8(info.GeneratorVersion);
    s.writeU8(info.PasswordSet);
    s.writeF64(info.CreationDate);
    info.LastChangeDate = lastChange;
    s.writeF64(lastChange);
}

} // namespace pv
