#pragma once

#include "pdf/PDFDocument.h"

namespace pv::test {

// Small drawings the document tests write and check with the real tools.

inline void drawShapes(TPDFDocument& doc) {
    TPDFPage& p = *doc.CurrentPage();
    p.SetLineWidth(2);
    p.SetRGBStrokeColor(0.2, 0.4, 0.6);
    p.MoveTo(10, 10);
    p.LineTo(200, 100);
    p.Stroke();
    p.SetDash("[8 2 2 2] 0");
    p.Rectangle(300, 50, 100, 150);
    p.Stroke();
    p.NoDash();
    p.SetRGBFillColor(1, 0, 0);
    p.Ellipse(50, 300, 250, 400);
    p.FillAndStroke();
    p.RoundRect(300, 300, 500, 400, 30, 20);
    p.EoFillAndStroke();
    p.Pie(50, 450, 250, 650, 250, 550, 150, 450);
    p.Fill();
    p.GStateSave();
    p.Rectangle(0, 700, 100, 800);
    p.Clip();
    p.NewPath();
    p.Arc(0, 700, 200, 800, 200, 750, 0, 750);
    p.Stroke();
    p.GStateSave(); // left open: the page closes it
}

inline void drawText(TPDFDocument& doc, const std::string& text = "Hello, PDF (writer) \\ test") {
    TPDFPage& p = *doc.CurrentPage();
    p.SetActiveFont("Helvetica", 0, 0, 12);
    p.BeginText();
    p.TextOut(72, 72, 0, text);
    p.SetActiveFont("Times New Roman", fsBold | fsUnderline, 0, 14);
    p.TextOut(72, 120, 0, "Bold and underlined");
    p.TextOut(300, 400, 45, "Turned");
    p.EndText();
}

inline void drawLinks(TPDFDocument& doc) {
    TPDFPage& p = *doc.CurrentPage();
    p.SetActiveFont("Helvetica", 0, 0, 10);
    p.BeginText();
    p.TextOut(100, 200, 0, "go http://example.com/a?b=1 and mailto:someone@example.org");
    p.TextOut(100, 250, 0, "ftp://files.example.net/pub");
    p.EndText();
}

inline Bitmap24 checkerBitmap(int width, int height) {
    Bitmap24 b{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool dark = (x / 4 + y / 4) % 2;
            b.bgr.push_back(dark ? 40 : 255); // blue
            b.bgr.push_back(dark ? 40 : 200); // green
            b.bgr.push_back(dark ? 160 : 0);  // red
        }
    return b;
}

inline void drawImage(TPDFDocument& doc) {
    const int index = doc.AddImage(checkerBitmap(16, 8));
    doc.CurrentPage()->ShowImage(index, 0, 100, 100, 160, 80);
    doc.CurrentPage()->ShowImage(index, 30, 300, 100, 160, 80);
}

// Three pages of everything above.
inline void drawAll(TPDFDocument& doc) {
    drawShapes(doc);
    doc.NewPage();
    drawText(doc);
    drawImage(doc);
    doc.NewPage();
    doc.CurrentPage()->SetWidth(842);
    doc.CurrentPage()->SetHeight(595);
    drawLinks(doc);
    drawImage(doc);
}

} // namespace pv::test
