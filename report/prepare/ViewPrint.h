#pragma once

#include "report/prepare/BandAlignPlacement.h"
#include "report/model/View.h"

#include <vector>

namespace pv {

class ByteStream;
class ExpressionEngine;
class ObjectPrintEvents;

// Where a view is placed by its BandAlign when it is written.
struct PreparedPlacement {
    std::vector<const TfrView*> neighbours; // non-band objects of the page with the same top
    PlacementLimits limits;
};

// Keeps what writing one object changes for that print only: Tag (expanded),
// BandAlign and the geometry placement moves. Restores them when it goes.
class PrintRestorer {
public:
    explicit PrintRestorer(TfrView& view);
    ~PrintRestorer();
    PrintRestorer(const PrintRestorer&) = delete;
    PrintRestorer& operator=(const PrintRestorer&) = delete;

private:
    TfrView& view_;
    std::string tag_;
    uint8_t bandAlign_;
    int32_t left_, top_, width_, height_;
};

// Places a view being written by its BandAlign. The record then holds no
// BandAlign, so the prepared page does not place it a second time among
// neighbours it never had. Without a placement nothing changes.
void PlaceForRecord(TfrView& view, const PreparedPlacement* placement);

// Expands the brackets of Tag, with no display format.
void ExpandTag(TfrView& view, ExpressionEngine& engine);

// Writes a view other than a text box to a prepared page: its script runs, a
// picture bound to a blob field takes the field's image, OnBeforePrint is
// called; an invisible view writes nothing. Returns true when it was written.
bool WritePreparedView(ByteStream& page, TfrView& view, ExpressionEngine& engine,
                       ObjectPrintEvents& events, const PreparedPlacement* placement = nullptr);

} // namespace pv
