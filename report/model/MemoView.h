#pragma once

#include "report/model/View.h"

namespace pv {

// Memo `Flags` bits.
constexpr uint16_t flWordWrap = 2, flWordBreak = 4, flAutoWidth = 8, flTextOnly = 16,
                   flSuppress = 32, flHideZeros = 64, flUnderlines = 128, flRTLReading = 256;

// Font style bits as stored.
constexpr uint16_t fsItalic = 1, fsBold = 2, fsUnderline = 4, fsStrikeOut = 8;

// `Alignment` bits.
constexpr uint32_t frtaLeft = 0, frtaRight = 1, frtaCenter = 2, frtaJustify = 3, frtaVertical = 4,
                   frtaMiddle = 8, frtaDown = 16;

// A text box: lines of text with [expressions], a font and a highlight.
class TfrMemoView : public TfrStretcheable {
public:
    TfrMemoView() { Flags = flStretched | flWordWrap; }

    uint8_t typeCode() const override { return gtMemo; }
    const char* namePrefix() const override { return "Memo"; }
    std::unique_ptr<TfrView> clone() const override { return std::make_unique<TfrMemoView>(*this); }
    void readClassFields(ByteStream& s, const FrfContext& ctx) override;
    void writeClassFields(ByteStream& s) const override;
    // A prepared box was written with its highlight already applied: it keeps
    // neither the highlight attributes nor the condition.
    void readPreparedClassFields(ByteStream& s) override;
    void writePreparedClassFields(ByteStream& s) const override;

    std::optional<Variant> ReadProperty(std::string_view name) const override;
    bool WriteProperty(std::string_view name, const Variant& value) override;
    std::optional<Variant> CallMethod(std::string_view name, const Variant& p1, const Variant& p2,
                                      const Variant& p3) override;

    std::string FontName = "Arial";
    int32_t FontSize = 10;
    uint16_t FontStyle = 0;
    int32_t FontColor = 0;
    uint32_t Alignment = frtaLeft;
    uint16_t FontCharset = 204;
    // The highlight attributes that replace the normal ones while
    // HighlightCondition is true.
    uint16_t HighlightFontStyle = fsBold;
    uint32_t HighlightFontColor = 0;
    uint32_t HighlightFillColor = clWhite;
    std::string HighlightCondition;
    int32_t LineSpacing = 2;
    int32_t CharSpacing = 0;

protected:
    std::vector<FlagName> flagNames() const override;
};

} // namespace pv
