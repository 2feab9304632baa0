#include "report/model/Page.h"

#include "platform/TextCase.h"
#include "report/printer/PaperSizes.h"
#include "report/model/PropertyValue.h"

#include <cmath>

namespace pv {
namespace {

bool is(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

int32_t holdBin(int32_t bin) {
    return isDefaultBin(bin) ? TfrPage::kDefaultBin : bin;
}

} // namespace

TfrPage::TfrPage()
    : Size(frPrinter().PaperSize()), PaperWidth(frPrinter().PaperWidth()),
      PaperHeight(frPrinter().PaperHeight()), PageInfo(frPrinter().GetPageInfo()) {
    // The printer's paper, but portrait.
    const pv::PaperSize* entry = findPaperSize(Size);
    if (entry && Size != kCustomPaper) {
        PaperWidth = entry->width;
        PaperHeight = entry->height;
    } else if (frPrinter().Orientation() == 1) {
        std::swap(PaperWidth, PaperHeight);
    }
}

void TfrPage::ChangePaper(int size, int width, int height, int orientation, int bin) {
    TfrPrinter& printer = frPrinter();
    int wantedBin = isDefaultBin(bin) ? -1 : bin;
    if (printer.SetPaper(size, width, height, orientation, wantedBin, false)) {
        Size = printer.PaperSize();
        PaperWidth = printer.PaperWidth();
        PaperHeight = printer.PaperHeight();
        // The printer takes a custom size a tenth of a millimetre off its own
        // for the same paper; the page keeps the size it was given, or loading
        // and saving a template would change it by what the printer held.
        if (size == kCustomPaper && Size == kCustomPaper) {
            PaperWidth = width;
            PaperHeight = height;
        }
        Orientation = static_cast<uint8_t>(printer.Orientation());
        Bin = holdBin(bin);
    } else {
        printer.SetPaper(kCustomPaper, width, height, orientation, -1, false);
        Size = kCustomPaper;
        PaperWidth = width;
        PaperHeight = height;
        Orientation = static_cast<uint8_t>(orientation);
        Bin = kDefaultBin;
    }
    PageInfo = printer.GetPageInfo();
}

std::optional<Variant> TfrPage::ReadProperty(std::string_view name) const {
    if (is(name, "Left")) return Variant(WindowLeft);
    if (is(name, "Top")) return Variant(WindowTop);
    if (is(name, "Width"))
        return Variant(isDialog() ? WindowWidth : static_cast<int32_t>(PaperWidth * 18 / 50));
    if (is(name, "Height"))
        return Variant(isDialog() ? WindowHeight : static_cast<int32_t>(PaperHeight * 18 / 50));
    if (is(name, "Type")) return Variant(int32_t(Type));
    if (is(name, "BorderStyle")) return Variant(int32_t(BorderStyle));
    if (is(name, "Name")) return Variant(Name);
    if (is(name, "Caption")) return Variant(Caption);
    if (is(name, "Color")) return Variant(Color);
    if (is(name, "Position")) return Variant(int32_t(Position));
    if (is(name, "Size")) return Variant(Size);
    if (is(name, "LeftMargin")) return Variant(LeftMargin);
    if (is(name, "TopMargin")) return Variant(TopMargin);
    if (is(name, "RightMargin")) return Variant(RightMargin);
    if (is(name, "BottomMargin")) return Variant(BottomMargin);
    if (is(name, "Orientation")) return Variant(int32_t(Orientation));
    if (is(name, "PrintToPrevPage")) return Variant(PrintToPrevPage != 0);
    if (is(name, "StretchToPrintable")) return Variant(StretchToPrintable());
    if (is(name, "Columns")) return Variant(Columns);
    if (is(name, "ColumnGap")) return Variant(ColumnGap);
    if (is(name, "ColumnWidth")) {
        int32_t columns = Columns > 0 ? Columns : 1;
        int32_t width = tenthsMmToReportPixels(PaperWidth) - LeftMargin - RightMargin -
                        (columns - 1) * ColumnGap;
        return Variant(width / columns);
    }
    if (is(name, "Visible")) return Variant(Visible);
    return std::nullopt;
}

bool TfrPage::WriteProperty(std::string_view name, const Variant& value) {
    int32_t n = propertyInt(value);
    if (is(name, "Left"))
        WindowLeft = n;
    else if (is(name, "Top"))
        WindowTop = n;
    else if (is(name, "Width") && isDialog())
        WindowWidth = n;
    else if (is(name, "Height") && isDialog())
        WindowHeight = n;
    else if (is(name, "Width"))
        ChangePaper(kCustomPaper, static_cast<int>(std::lround(n * 50.0 / 18)), PaperHeight,
                    Orientation, Bin);
    else if (is(name, "Height"))
        ChangePaper(kCustomPaper, PaperWidth, static_cast<int>(std::lround(n * 50.0 / 18)),
                    Orientation, Bin);
    else if (is(name, "Type"))
        Type = static_cast<uint8_t>(n);
    else if (is(name, "BorderStyle"))
        BorderStyle = static_cast<uint8_t>(n);
    else if (is(name, "Name"))
        Name = propertyText(value);
    else if (is(name, "Caption"))
        Caption = propertyText(value);
    else if (is(name, "Color"))
        Color = n;
    else if (is(name, "Position"))
        Position = static_cast<uint8_t>(n);
    else if (is(name, "Size"))
        ChangePaper(n, PaperWidth, PaperHeight, Orientation, Bin);
    else if (is(name, "LeftMargin"))
        LeftMargin = n;
    else if (is(name, "TopMargin"))
        TopMargin = n;
    else if (is(name, "RightMargin"))
        RightMargin = n;
    else if (is(name, "BottomMargin"))
        BottomMargin = n;
    else if (is(name, "Orientation"))
        ChangePaper(Size, PaperWidth, PaperHeight, propertyInt(value) ? 1 : 0, Bin);
    else if (is(name, "PrintToPrevPage"))
        PrintToPrevPage = propertyBool(value) ? kTrue : 0;
    else if (is(name, "StretchToPrintable"))
        UseMargins = propertyBool(value) ? 0 : kTrue;
    else if (is(name, "Columns"))
        Columns = n;
    else if (is(name, "ColumnGap"))
        ColumnGap = n;
    else if (is(name, "Visible"))
        Visible = propertyBool(value);
    else
        return false;
    return true;
}

} // namespace pv
