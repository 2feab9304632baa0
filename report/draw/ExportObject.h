#pragma once

namespace pv {

class TfrExportFilter;
class TfrView;

// Hands one object of a prepared page to an export filter: its position and
// the object itself, and for a text box each line as the box lays it out at
// scale 1, in place of drawing it.
void ExportObject(TfrView& view, TfrExportFilter& filter);

} // namespace pv
