#pragma once

#include "report/model/View.h"

namespace pv {

// Band type codes, stored in `FrameTyp` of a band.
enum BandType : uint16_t {
    btReportTitle,
    btReportSummary,
    btPageHeader,
    btPageFooter,
    btMasterHeader,
    btMasterData,
    btMasterFooter,
    btDetailHeader,
    btDetailData,
    btDetailFooter,
    btSubDetailHeader,
    btSubDetailData,
    btSubDetailFooter,
    btOverlay,
    btColumnHeader,
    btColumnFooter,
    btGroupHeader,
    btGroupFooter,
    btCrossHeader,
    btCrossData,
    btCrossFooter,
    btChild,
    btNone,
};
constexpr int kBandSlots = btNone + 1;

// The band's name as users see it ("Master data"); empty for unknown codes.
const char* bandTypeCaption(int type);

// Band `Flags` bits.
constexpr uint16_t flBandNewPageAfter = 2, flBandPrintIfSubsetEmpty = 4, flBandBreaked = 8,
                   flBandOnFirstPage = 16, flBandOnLastPage = 32, flBandRepeatHeader = 64,
                   flBandPrintChildIfInvisible = 128;

// A band: a horizontal strip printed once or per data row; its `FormatStr`
// names the data source (data bands) or the group condition (group headers).
class TfrBandView : public TfrView {
public:
    TfrBandView();

    uint8_t typeCode() const override { return gtBand; }
    const char* namePrefix() const override { return "Band"; }
    std::unique_ptr<TfrView> clone() const override { return std::make_unique<TfrBandView>(*this); }
    void readClassFields(ByteStream& s, const FrfContext& ctx) override;
    void writeClassFields(ByteStream& s) const override;

    std::optional<Variant> ReadProperty(std::string_view name) const override;
    bool WriteProperty(std::string_view name, const Variant& value) override;
    std::optional<Variant> CallMethod(std::string_view name, const Variant& p1, const Variant& p2,
                                      const Variant& p3) override;

    int bandType() const { return FrameTyp; }

    std::string ChildBand;
    int32_t Columns = 1;
    int32_t ColumnWidth = 200;
    int32_t ColumnGap = 20;
    int32_t RowsPerColumn = 1;
    std::string Master;

protected:
    std::vector<FlagName> flagNames() const override;
};

} // namespace pv
