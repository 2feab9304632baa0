#include "pdf/PDFAnnotation.h"

#include "pdf/PDFActions.h"
#include "pdf/PDFDocument.h"
#include "pdf/PDFFormat.h"
#include "pdf/PDFPage.h"

#include <algorithm>

namespace pv {

TPDFCustomAnnotation::TPDFCustomAnnotation(TPDFPage& page)
    : page_(page), number_(page.Document().NewObjectNumber()) {}

void TPDFCustomAnnotation::SetRect(double x1, double y1, double x2, double y2) {
    Left = static_cast<int>(pdf::roundHalfEven(page_.X(std::min(x1, x2))));
    Right = static_cast<int>(pdf::roundHalfEven(page_.X(std::max(x1, x2))));
    Top = static_cast<int>(pdf::roundHalfEven(page_.Y(std::min(y1, y2))));
    Bottom = static_cast<int>(pdf::roundHalfEven(page_.Y(std::max(y1, y2))));
}

void TPDFCustomAnnotation::writeCommon(TPDFDocument& doc) {
    using pdf::formatReal;
    doc.WriteLine("/Border " + Border);
    doc.WriteLine("/F " + std::to_string(Flags));
    const double red = (Color & 0xFF) / 255.0, green = ((Color >> 8) & 0xFF) / 255.0,
                 blue = ((Color >> 16) & 0xFF) / 255.0;
    doc.WriteLine("/C [" + formatReal(red) + " " + formatReal(green) + " " + formatReal(blue) +
                  " ]");
    doc.WriteLine("/Rect [" + std::to_string(Left) + " " + std::to_string(Bottom) + " " +
                  std::to_string(Right) + " " + std::to_string(Top) + "]");
}

void TPDFActionAnnotation::Write(TPDFDocument& doc) {
    int number = ObjectNumber();
    doc.BeginObject(number);
    doc.WriteLine("/Type /Annot");
    doc.WriteLine("/Subtype /Link");
    writeCommon(doc);
    if (Action) doc.WriteLine("/A " + std::to_string(Action->ObjectNumber()) + " 0 R");
    doc.EndDictionary();
    doc.EndObject();
}

} // namespace pv
