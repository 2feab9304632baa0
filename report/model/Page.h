#pragma once

#include "report/printer/Printer.h"
#include "report/model/View.h"

#include <memory>
#include <vector>

namespace pv {

// A page of a template: its paper, margins, columns, the dialog-window
// properties of a dialog page, and its objects in stored order.
class TfrPage : public TfrObject {
public:
    // A new page on the printer's current paper.
    TfrPage();

    std::optional<Variant> ReadProperty(std::string_view name) const override;
    bool WriteProperty(std::string_view name, const Variant& value) override;

    // Applies the paper to the printer model and keeps what it accepted, with
    // the page info it gives; a paper the printer refuses becomes a custom
    // size of the same width, height and orientation on the default bin.
    void ChangePaper(int size, int width, int height, int orientation, int bin);

    bool isDialog() const { return Type == 1; }
    bool StretchToPrintable() const { return UseMargins == 0; }

    std::vector<std::unique_ptr<TfrView>> Objects;

    int32_t Size = 9;
    int32_t PaperWidth = 2100, PaperHeight = 2970; // tenths of a millimetre
    int32_t LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    uint8_t Orientation = 0;
    int32_t Bin = kDefaultBin;
    WordBool PrintToPrevPage = 0;
    WordBool UseMargins = kTrue;
    int32_t Columns = 1;
    int32_t ColumnGap = 0;
    uint8_t Type = 0;
    std::string Name;
    uint8_t BorderStyle = 3;
    std::string Caption = "Form";
    int32_t Color = static_cast<int32_t>(0x8000000F);
    int32_t WindowLeft = 220, WindowTop = 120, WindowWidth = 380, WindowHeight = 300;
    uint8_t Position = 4;
    Lines Script;
    bool Visible = true;
    // The printer's page info when the paper was last applied.
    TfrPageInfo PageInfo;

    // The default bin as a page holds it.
    static constexpr int32_t kDefaultBin = 65535;
};

} // namespace pv
