#pragma once

#include "report/model/View.h"

namespace pv {

// `FrameTyp` of a line: its direction.
constexpr uint16_t kLineVertical = 4, kLineHorizontal = 8;

// A straight line along the left edge (vertical, width 0) or the top edge
// (horizontal, height 0) of its rectangle.
class TfrLineView : public TfrStretcheable {
public:
    TfrLineView() { FillColor = clWhite; }

    uint8_t typeCode() const override { return gtLine; }
    const char* namePrefix() const override { return "Line"; }
    std::unique_ptr<TfrView> clone() const override { return std::make_unique<TfrLineView>(*this); }

    // What the designer does when a line is drawn: the longer side decides.
    void directionFromSize() { FrameTyp = Width >= Height ? kLineHorizontal : kLineVertical; }
};

} // namespace pv
