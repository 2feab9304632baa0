#pragma once

#include "report/model/Graphic.h"
#include "report/model/View.h"

#include <optional>

namespace pv {

class TfrPictureView;

// What preparation does around printing one object: the object's own script,
// the report's OnBeforePrint handler and the binding of a whole-field object
// to its data field. The defaults do nothing, as for a report that has none
// of them.
class ObjectPrintEvents {
public:
    virtual ~ObjectPrintEvents() = default;

    // Runs the object's script (which may, among other things, hide it).
    virtual void runScript(TfrView& view) {}
    // The report's OnBeforePrint handler, given the lines before expansion.
    // True when it changed them: changed lines are printed as they are.
    virtual bool beforePrint(Lines& lines, TfrView& view) { return false; }
    // The lines of the memo field a text box is bound to; none when unbound.
    virtual std::optional<Lines> boundMemoLines(const TfrView& view) { return std::nullopt; }
    // The image of the blob field a picture is bound to; none when unbound.
    virtual std::optional<Graphic> boundPicture(const TfrPictureView& view) {
        return std::nullopt;
    }
};

// Events that do nothing.
ObjectPrintEvents& noPrintEvents();

} // namespace pv
