#include "report/model/BandView.h"

#include "platform/TextCase.h"
#include "report/model/ByteStream.h"
#include "report/model/FrfPrimitives.h"
#include "report/model/PropertyValue.h"

namespace pv {
namespace {

bool is(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

const char* const kCaptions[] = {
    "Report title",     "Report summary", "Page header",      "Page footer",  "Master header",
    "Master data",      "Master footer",  "Detail header",    "Detail data",  "Detail footer",
    "Subdetail header", "Subdetail data", "Subdetail footer", "Overlay",      "Column header",
    "Column footer",    "Group header",   "Group footer",     "Cross header", "Cross data",
    "Cross footer",     "Child",
};

} // namespace

const char* bandTypeCaption(int type) {
    if (type < 0 || type >= btNone) return "";
    return kCaptions[type];
}

TfrBandView::TfrBandView() {
    Flags = flBandOnFirstPage | flBandOnLastPage;
    Format = 0;
}

std::vector<TfrView::FlagName> TfrBandView::flagNames() const {
    return {{"Stretched", flStretched},
            {"FormNewPage", flBandNewPageAfter},
            {"PrintIfSubsetEmpty", flBandPrintIfSubsetEmpty},
            {"Breaked", flBandBreaked},
            {"OnFirstPage", flBandOnFirstPage},
            {"OnLastPage", flBandOnLastPage},
            {"RepeatHeader", flBandRepeatHeader},
            {"PrintChildIfInvisible", flBandPrintChildIfInvisible}};
}

void TfrBandView::readClassFields(ByteStream& s, const FrfContext& ctx) {
    if (ctx.edition < 24) return;
    ChildBand = readFrfText(s, ctx.edition);
    Columns = s.readI32();
    ColumnWidth = s.readI32();
    ColumnGap = s.readI32();
    RowsPerColumn = s.readI32();
    if (ObjectVersion * 10 + ObjectSubVersion > 20) Master = readFrfText(s, ctx.edition);
}

void TfrBandView::writeClassFields(ByteStream& s) const {
    writeFrfText(s, ChildBand);
    s.writeI32(Columns);
    s.writeI32(ColumnWidth);
    s.writeI32(ColumnGap);
    s.writeI32(RowsPerColumn);
    writeFrfText(s, Master);
}

std::optional<Variant> TfrBandView::ReadProperty(std::string_view name) const {
    if (is(name, "ChildBand")) return Variant(ChildBand);
    if (is(name, "Master")) return Variant(Master);
    if (is(name, "Condition")) return Variant(FormatStr);
    if (is(name, "Columns")) return Variant(Columns);
    if (is(name, "ColumnGap")) return Variant(ColumnGap);
    if (is(name, "ColumnWidth")) return Variant(ColumnWidth);
    // Outside a preparation no data source is open: it stands at its end.
    if (is(name, "EOF")) return Variant(true);
    if (is(name, "DataSource")) return Variant(FormatStr);
    return TfrView::ReadProperty(name);
}

std::optional<Variant> TfrBandView::CallMethod(std::string_view name, const Variant& p1,
                                               const Variant& p2, const Variant& p3) {
    // Moving the data source means something only to a running band.
    if (is(name, "NEXT") || is(name, "PRIOR") || is(name, "FIRST")) return Variant();
    return TfrView::CallMethod(name, p1, p2, p3);
}

bool TfrBandView::WriteProperty(std::string_view name, const Variant& value) {
    if (is(name, "ChildBand"))
        ChildBand = propertyText(value);
    else if (is(name, "Master"))
        Master = propertyText(value);
    else if (is(name, "Condition"))
        FormatStr = propertyText(value);
    else if (is(name, "Columns"))
        Columns = propertyInt(value);
    else if (is(name, "ColumnGap"))
        ColumnGap = propertyInt(value);
    else if (is(name, "ColumnWidth"))
        ColumnWidth = propertyInt(value);
    else
        return TfrView::WriteProperty(name, value);
    return true;
}

} // namespace pv
