#pragma once

#include "report/value/Variables.h"

namespace pv {

// The read-only named constants of expressions: colours, modal results, font
// styles, frame and alignment flags, band alignments, pen styles, message-box
// buttons and icons, CRLF and Null.
const TfrVariables& frConstants();

// The picture-type constants (btBMP …) join the list when the first picture
// object is created.
void addPictureConstants();
// Takes them out again, as before the first picture: the list is global, so a
// test of the plain list starts from there.
void removePictureConstants();

} // namespace pv
