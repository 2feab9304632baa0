#include "pdf/PDFTrueTypeFont.h"

#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/PDFTypes.h"
#include "pdf/TrueTypeEncoding.h"
#include "platform/Charset.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <cstdio>
#include <zlib.h>

namespace pv {

namespace {

bool isNameDelimiter(unsigned char c) {
    return std::string_view("()<>[]{}/%#").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string deflateWhole(const std::vector<std::uint8_t>& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, data.data(), data.size(),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        throw TPDFException("Cannot compress font file");
    out.resize(size);
    return out;
}

} // namespace

std::string trueTypeBaseFont(const std::string& face, int style) {
    std::string plain = face;
    if (style & fsBold) plain += " Bold";
    if (style & fsItalic) plain += " Italic";
    std::string out;
    for (char ch : plain) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 0x20 && c < 0x7F && !isNameDelimiter(c)) {
            out.push_back(ch);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "#%02X", unsigned(c));
            out += hex;
        }
    }
    return out;
}

std::string charsetSuffix(int cs) {
    switch (cs) {
    case charset::Symbol:
        return "-Symbol";
    case charset::Mac:
        return "-MAC";
    case charset::Greek:
        return "-Greek";
    case charset::Turkish:
        return "-Turkish";
    case charset::Baltic:
        return "-Baltic";
    case charset::Russian:
        return "-Russian";
    case charset::EastEurope:
        return "-EastEurope";
    case charset::Oem:
        return "-OEM";
    default:
        return "";
    }
}

PdfTrueTypeFont::PdfTrueTypeFont(TPDFDocument& doc, const std::string& face, int style,
                                   int charset, int count, TrueTypeFaceData data)
    : TPDFFont(doc, Identity{trueTypeBaseFont(face, style), face, "TT" + std::to_string(count),
                             style, charset, false, false}),
      metrics_(data.metrics), file_(std::move(data.file)) {
    for (int code = 0; code < 256; ++code)
        widths_[code] = static_cast<std::uint16_t>(std::clamp(data.widths[code], 0, 0xFFFF));
}

bool PdfTrueTypeFont::embeddingRefused(const TPDFDocument& doc) const {
    for (const std::string& name : doc.NonEmbeddedFont())
        if (equalsNoCase(name, FaceName())) return true;
    return false;
}

int PdfTrueTypeFont::sharedFileNumber(TPDFDocument& doc) const {
    TPDFFonts& fonts = doc.Fonts();
    for (int i = 0; i < fonts.Count(); ++i) {
        const auto* other = dynamic_cast<const PdfTrueTypeFont*>(&fonts.Item(i));
        if (other == this) break;
        if (other && other->fileNumber_ >= 0 && other->BaseFont() == BaseFont())
            return other->fileNumber_;
    }
    return -1;
}

void PdfTrueTypeFont::WriteFontFile(TPDFDocument& doc) {
    fileNumber_ = -1;
    if (embeddingRefused(doc)) return;
    if ((fileNumber_ = sharedFileNumber(doc)) >= 0) return;
    const std::vector<std::uint8_t> file = file_ ? file_() : std::vector<std::uint8_t>();
    if (file.empty()) throw TPDFException("Cannot receive data for font " + BaseFont());
    // Always deflated, whatever the document's compression: a face file is large.
    const std::string packed = deflateWhole(file);
    int number = 0;
    doc.BeginObject(number);
    doc.WriteLine("/Filter /FlateDecode /Length " + std::to_string(packed.size()) + " /Length1 " +
                  std::to_string(file.size()));
    doc.WriteStreamData(doc.Encrypt(number, packed));
    fileNumber_ = number;
}

int PdfTrueTypeFont::writeDescriptor(TPDFDocument& doc) {
    const FontMetrics& m = metrics_;
    int number = 0;
    doc.BeginObject(number);
    doc.WriteLine("/Type /FontDescriptor");
    doc.WriteLine("/Ascent " + std::to_string(m.ascent));
    doc.WriteLine("/CapHeight 666");
    doc.WriteLine("/Descent " + std::to_string(m.descent));
    doc.WriteLine("/Flags 32");
    doc.WriteLine("/FontBBox [" + std::to_string(m.boxLeft) + " " + std::to_string(m.boxBottom) +
                  " " + std::to_string(m.boxRight) + " " + std::to_string(m.boxTop) + "]");
    doc.WriteLine("/FontName /" + BaseFont() + charsetSuffix(Charset()));
    doc.WriteLine("/ItalicAngle " + std::to_string(m.italicAngle / 10));
    doc.WriteLine("/StemV 87");
    if (fileNumber_ >= 0) doc.WriteLine("/FontFile2 " + std::to_string(fileNumber_) + " 0 R");
    doc.EndDictionary();
    doc.EndObject();
    return number;
}

void PdfTrueTypeFont::WriteDictionaries(TPDFDocument& doc) {
    const int descriptor = writeDescriptor(doc);
    int number = ObjectNumber();
    doc.BeginObject(number);
    doc.WriteLine("/Type /Font");
    doc.WriteLine("/Subtype /TrueType");
    doc.WriteLine("/BaseFont /" + BaseFont());
    doc.WriteLine("/FirstChar 0");
    doc.WriteLine("/LastChar 255");
    doc.WriteBytes(trueTypeEncoding(Charset()));
    doc.WriteLine("/FontDescriptor " + std::to_string(descriptor) + " 0 R");
    std::string widths = "/Widths [";
    for (int code = 0; code < 256; ++code) {
        if (code % 16 == 0) widths += "\r\n";
        widths += std::to_string(widths_[code]) + " ";
    }
    doc.WriteLine(widths + "]");
    doc.EndDictionary();
    doc.EndObject();
}

} // namespace pv
