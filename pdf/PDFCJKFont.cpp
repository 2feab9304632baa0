#include "pdf/PDFCJKFont.h"

#include "pdf/PDFDocument.h"
#include "pdf/PDFTypes.h"
#include "platform/Charset.h"

namespace pv {

namespace {

struct CJKFace {
    const char* face;     // the name the font list knows it by
    const char* resource; // before the style letters
    const char* fontName;
    const char* encodingEnd; // ends the Type 0 font's descendant line
    const char* systemInfo;
    const char* widths;
    const char* ascent;
    const char* capHeight;
    const char* descent;
    const char* box;
    const char* xHeight;
    const char* avgWidth;
};

// By kind: Chinese traditional, Chinese simplified, Japanese, Korean.
const CJKFace kFaces[4] = {
    {"ChineseTraditionalFont", "CIDCT", "MSung-Light", " 0 R ] /Encoding /ETenms-B5-H",
     "/CIDSystemInfo << /Registry (Adobe) /Ordering (CNS1) /Supplement 0 >>",
     "/DW 1000 /W [ 1 95 500 13648 13742 500 ]", "/Ascent 880", "/CapHeight 880", "/Descent -120",
     "/FontBBox [-160 -249 1015 888]", "/XHeight 616", "/AvgWidth 1000"},
    {"ChineseSimplifiedFont", "CIDCS", "STSong-Light", " 0 R ] /Encoding /GB-EUC-H",
     "/CIDSystemInfo << /Registry (Adobe) /Ordering (GB1) /Supplement 2 >>",
     "/DW 1000 /W [ 1 95 500 814 939 500 7712 [ 500 ] 7716 [ 500 ] ]", "/Ascent 880",
     "/CapHeight 880", "/Descent -120", "/FontBBox [-25 -254 1000 880]", "/XHeight 616",
     "/AvgWidth 1000"},
    {"JapanFont", "CIDJ", "HeiseiMin-W3", " 0 R ] /Encoding /90msp-RKSJ-H",
     "/CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >>",
     "/DW 1000 /W [ 1 95 500 231 632 500 ]", "/Ascent 857", "/CapHeight 718", "/Descent -143",
     "/FontBBox [-123 -257 1001 910]", "/XHeight 500", "/AvgWidth 702"},
    {"KoreanFont", "CIDK", "HYSMyeongJo-Medium", " 0 R ] /Encoding /KSCms-UHC-H",
     "/CIDSystemInfo << /Registry (Adobe) /Ordering (Korea1) /Supplement 1 >>",
     "/DW 1000 /W [ 1 95 500 8094 8190 500 ]", "/Ascent 880", "/CapHeight 800", "/Descent -120",
     "/FontBBox [-0 -148 1001 880]", "/XHeight 616", "/AvgWidth 1000"},
};

PdfCjkFont::Kind kindOf(int cs) {
    switch (cs) {
    case charset::ShiftJis:
        return PdfCjkFont::Japanese;
    case charset::Hangul:
        return PdfCjkFont::Korean;
    case charset::Gb2312:
        return PdfCjkFont::ChineseSimplified;
    default:
        return PdfCjkFont::ChineseTraditional;
    }
}

std::string styleLetters(int style) {
    return std::string(style & fsBold ? "B" : "") + (style & fsItalic ? "I" : "");
}

std::string styleSuffix(int style) {
    switch (style & (fsBold | fsItalic)) {
    case fsBold:
        return ",Bold";
    case fsItalic:
        return ",Italic";
    case fsBold | fsItalic:
        return ",BoldItalic";
    default:
        return "";
    }
}

} // namespace

bool isCJKCharset(int cs) {
    return cs == charset::ShiftJis || cs == charset::Hangul || cs == charset::Gb2312 ||
           cs == charset::ChineseBig5;
}

PdfCjkFont::PdfCjkFont(TPDFDocument& doc, Kind kind, int style, int charset)
    : TPDFFont(doc,
               Identity{kFaces[kind].face, kFaces[kind].face,
                        kFaces[kind].resource + styleLetters(style), style, charset, true, true}),
      kind_(kind) {}

void PdfCjkFont::WriteDictionaries(TPDFDocument& doc) {
    const CJKFace& f = kFaces[kind_];
    const std::string name = f.fontName + styleSuffix(Style());
    int type0 = ObjectNumber();
    int cidFont = doc.NewObjectNumber();
    int descriptor = doc.NewObjectNumber();

    doc.BeginObject(type0);
    doc.WriteLine("/Type /Font /Subtype /Type0  /BaseFont /" + name);
    doc.WriteLine("/DescendantFonts  [ " + std::to_string(cidFont) + f.encodingEnd);
    doc.EndDictionary();
    doc.EndObject();

    doc.BeginObject(cidFont);
    doc.WriteLine("/Type /Font /Subtype /CIDFontType2 /BaseFont /" + name);
    doc.WriteLine("/WinCharSet 128 /FontDescriptor " + std::to_string(descriptor) + " 0 R");
    doc.WriteLine(f.systemInfo);
    doc.WriteLine(f.widths);
    doc.EndDictionary();
    doc.EndObject();

    doc.BeginObject(descriptor);
    for (const char* line :
         {"/Type /FontDescriptor", f.ascent, f.capHeight, f.descent, "/Flags 6", f.box})
        doc.WriteLine(line);
    doc.WriteLine("/FontName /" + name);
    for (const char* line : {"/ItalicAngle 0", "/MissingWidth 500", "/StemV 93", "/StemH 31",
                             f.xHeight, "/Leading 250", "/MaxWidth 1000", f.avgWidth,
                             "/Style << /Panose <010502020400000000000000> >>"})
        doc.WriteLine(line);
    doc.EndDictionary();
    doc.EndObject();
}

int selectCJKFont(TPDFFonts& fonts, int style, int charset) {
    const PdfCjkFont::Kind kind = kindOf(charset);
    // Underline and strike-out are drawn by the page; keeping them in the font
    // would give one page two fonts of the same resource name.
    style &= fsBold | fsItalic;
    const int found = fonts.Find(kFaces[kind].face, style, charset);
    if (found >= 0) return found;
    return fonts.Add(std::make_unique<PdfCjkFont>(fonts.Document(), kind, style, charset));
}

} // namespace pv
