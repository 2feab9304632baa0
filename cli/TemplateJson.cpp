#include "cli/TemplateJson.h"

#include "platform/CodePage.h"
#include "report/model/BandView.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/model/PropertyValue.h"
#include "report/template/Report.h"
#include "report/model/SubReportView.h"

namespace pv::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string utf8(const std::string& text) {
    return cp1251ToUtf8(text);
}

Json lines(const Lines& lines) {
    Json out = Json::array();
    for (const auto& l : lines)
        out.push_back(utf8(l));
    return out;
}

Json list(const TfrVariables& vars) {
    Json out = Json::array();
    for (int i = 0; i < vars.Count(); ++i)
        out.push_back(Json::array({utf8(vars.Name(i)), utf8(propertyText(vars.ValueAt(i)))}));
    return out;
}

} // namespace

const char* viewClassName(const TfrView& v) {
    switch (v.typeCode()) {
    case gtMemo:
        return "TfrMemoView";
    case gtPicture:
        return "TfrPictureView";
    case gtBand:
        return "TfrBandView";
    case gtSubReport:
        return "TfrSubReportView";
    case gtLine:
        return "TfrLineView";
    default:
        return "add-in";
    }
}

namespace {

// The fields every view has, under the names of the model.
Json viewFields(const TfrView& v) {
    Json o;
    o["Class"] = viewClassName(v);
    if (v.typeCode() == gtAddIn) o["ClassName"] = utf8(v.className());
    o["Name"] = utf8(v.Name);
    o["ObjectVersion"] = v.ObjectVersion;
    o["ObjectSubVersion"] = v.ObjectSubVersion;
    o["Left"] = v.Left;
    o["Top"] = v.Top;
    o["Width"] = v.Width;
    o["Height"] = v.Height;
    o["Flags"] = v.Flags;
    o["FrameTyp"] = v.FrameTyp;
    o["FrameWidth"] = v.FrameWidth;
    o["FrameColor"] = v.FrameColor;
    o["FrameStyle"] = v.FrameStyle;
    o["FillColor"] = v.FillColor;
    o["Format"] = v.Format;
    o["FormatStr"] = utf8(v.FormatStr);
    o["Memo"] = lines(v.Memo);
    o["Script"] = lines(v.Script);
    o["Visible"] = v.Visible != 0;
    o["Restrictions"] = v.Restrictions;
    o["Tag"] = utf8(v.Tag);
    o["GapX"] = v.GapX;
    o["GapY"] = v.GapY;
    o["BandAlign"] = v.BandAlign;
    return o;
}

// What each view class adds to the fields of every view.
Json classFields(const TfrMemoView& m) {
    return Json{{"Font.Name", utf8(m.FontName)},
                {"Font.Size", m.FontSize},
                {"Font.Style", m.FontStyle},
                {"Font.Color", m.FontColor},
                {"Font.Charset", m.FontCharset},
                {"Alignment", m.Alignment},
                {"Highlight",
                 {{"Font.Style", m.HighlightFontStyle},
                  {"Font.Color", m.HighlightFontColor},
                  {"FillColor", m.HighlightFillColor},
                  {"Condition", utf8(m.HighlightCondition)}}},
                {"LineSpacing", m.LineSpacing},
                {"CharSpacing", m.CharSpacing}};
}

Json classFields(const TfrBandView& b) {
    return Json{{"BandType", bandTypeCaption(b.bandType())},
                {"ChildBand", utf8(b.ChildBand)},
                {"Columns", b.Columns},
                {"ColumnWidth", b.ColumnWidth},
                {"ColumnGap", b.ColumnGap},
                {"RowsPerColumn", b.RowsPerColumn},
                {"Master", utf8(b.Master)}};
}

Json classFields(const TfrPictureView& p) {
    Json picture{{"Kind", p.Picture.kind}, {"Bytes", p.Picture.data.size()}};
    if (auto size = p.Picture.size()) {
        picture["PixelWidth"] = size->width;
        picture["PixelHeight"] = size->height;
    }
    return Json{{"BlobType", p.BlobType}, {"Picture", picture}};
}

Json classFields(const TfrSubReportView& s) {
    return Json{{"SubPage", s.SubPage}};
}

template <class View> void addClassFields(Json& o, const TfrView& v) {
    if (auto* view = dynamic_cast<const View*>(&v)) o.update(classFields(*view));
}

Json view(const TfrView& v) {
    Json o = viewFields(v);
    addClassFields<TfrMemoView>(o, v);
    addClassFields<TfrBandView>(o, v);
    addClassFields<TfrPictureView>(o, v);
    addClassFields<TfrSubReportView>(o, v);
    return o;
}

Json pageInfo(const TfrPageInfo& i) {
    return Json{{"PaperWidthPx", i.paperWidthPx},
                {"PaperHeightPx", i.paperHeightPx},
                {"PaperWidth", i.paperWidth},
                {"PaperHeight", i.paperHeight},
                {"OffsetXPx", i.offsetXPx},
                {"OffsetYPx", i.offsetYPx},
                {"OffsetX", i.offsetX},
                {"OffsetY", i.offsetY},
                {"PrintableWidthPx", i.printableWidthPx},
                {"PrintableHeightPx", i.printableHeightPx},
                {"PrintableWidth", i.printableWidth},
                {"PrintableHeight", i.printableHeight}};
}

Json page(const TfrPage& p) {
    Json o;
    o["Name"] = utf8(p.Name);
    o["Size"] = p.Size;
    o["PaperWidth"] = p.PaperWidth;
    o["PaperHeight"] = p.PaperHeight;
    o["LeftMargin"] = p.LeftMargin;
    o["TopMargin"] = p.TopMargin;
    o["RightMargin"] = p.RightMargin;
    o["BottomMargin"] = p.BottomMargin;
    o["Orientation"] = p.Orientation;
    o["Bin"] = p.Bin;
    o["PrintToPrevPage"] = p.PrintToPrevPage != 0;
    o["UseMargins"] = p.UseMargins != 0;
    o["Columns"] = p.Columns;
    o["ColumnGap"] = p.ColumnGap;
    o["Type"] = p.Type;
    o["BorderStyle"] = p.BorderStyle;
    o["Caption"] = utf8(p.Caption);
    o["Color"] = p.Color;
    o["Left"] = p.WindowLeft;
    o["Top"] = p.WindowTop;
    o["Width"] = p.WindowWidth;
    o["Height"] = p.WindowHeight;
    o["Position"] = p.Position;
    o["Script"] = lines(p.Script);
    o["PageInfo"] = pageInfo(p.PageInfo);
    Json objects = Json::array();
    for (const auto& v : p.Objects)
        objects.push_back(view(*v));
    o["Objects"] = objects;
    return o;
}

} // namespace

nlohmann::ordered_json templateToJson(const TfrReport& r) {
    Json o;
    o["FileName"] = r.FileName;
    o["PrintToDefault"] = r.PrintToDefault != 0;
    o["DoublePass"] = r.DoublePass != 0;
    o["PrinterName"] = r.PrinterName == TfrReport::kVirtualPrinterName ? std::string("virtual")
                                                                       : utf8(r.PrinterName);
    const auto& i = r.Info;
    o["ReportInfo"] = {{"ReportComment", utf8(i.ReportComment)},
                       {"ReportName", utf8(i.ReportName)},
                       {"ReportAutor", utf8(i.ReportAutor)},
                       {"VMajor", utf8(i.VMajor)},
                       {"VMinor", utf8(i.VMinor)},
                       {"VRelease", utf8(i.VRelease)},
                       {"VBuild", utf8(i.VBuild)},
                       {"PasswordSet", i.PasswordSet},
                       {"GeneratorVersion", i.GeneratorVersion},
                       {"ReportDate", i.CreationDate},
                       {"ReportLastChange", i.LastChangeDate}};
    o["Dictionary"] = {{"Variables", list(r.Dictionary.Variables)},
                       {"FieldAliases", list(r.Dictionary.FieldAliases)},
                       {"SourceAliases", list(r.Dictionary.SourceAliases)}};
    Json pages = Json::array();
    for (const auto& p : r.Pages)
        pages.push_back(page(*p));
    o["Pages"] = pages;
    return o;
}

} // namespace pv::cli
