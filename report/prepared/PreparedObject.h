#pragma once

#include "report/model/View.h"

#include <memory>
#include <vector>

namespace pv {

class ByteStream;

// The edition byte that opens a prepared page's object stream.
constexpr uint8_t kPreparedEdition = 25;

// One object's record on a prepared page: its type code (and class name for
// add-ins), then Name, object version, sub-version, geometry, FillColor, the
// text, Restrictions, Tag, GapX, GapY, BandAlign and the class fields.
// Format, format text, script and visibility belong to the template only:
// a prepared object is shown as it was written.
void WritePrepared(ByteStream& s, const TfrView& view);
// The same record with `text` in place of the view's own lines (a text box
// writes its expanded or cut text).
void WritePrepared(ByteStream& s, const TfrView& view, const Lines& text);

// Reads one record written by WritePrepared. Throws FrfFormatError for an
// unknown type code, an add-in class that is not registered, or a record the
// stream ends inside of.
std::unique_ptr<TfrView> ReadPreparedObject(ByteStream& s);

// A whole object stream: the edition byte, then records up to the end.
void BeginPreparedStream(ByteStream& s);
std::vector<std::unique_ptr<TfrView>> ReadPreparedObjects(ByteStream& s);

} // namespace pv
