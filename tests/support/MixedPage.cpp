#include "tests/support/MixedPage.h"

#include "platform/Charset.h"
#include "platform/CodePage.h"

namespace pv::test {

LogFont arial10(const Canvas& canvas) {
    LogFont f;
    f.height = canvas.fontHeightForPoints(10);
    f.charSet = charset::Russian;
    f.faceName = "Arial";
    return f;
}

LogFont timesBold12(const Canvas& canvas) {
    LogFont f;
    f.height = canvas.fontHeightForPoints(12);
    f.weight = kFontWeightBold;
    f.charSet = charset::Russian;
    f.faceName = "Times New Roman";
    return f;
}

Dib mixedPageBitmap() {
    Dib dib(16, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            dib.setPixel(x, y, std::uint8_t(x * 16), std::uint8_t(y * 32),
                         std::uint8_t(255 - x * 16));
    return dib;
}

std::vector<MixedPageLine> drawMixedPage(Canvas& canvas) {
    std::vector<MixedPageLine> lines;
    auto text = [&](const LogFont& font, int x, int y, const std::string& s) {
        canvas.SetFont(font);
        canvas.TextOut(x, y, s);
        lines.push_back({font, {x, y}, s});
    };
    canvas.SetBkMode(BkMode::Transparent);
    canvas.SetTextColor(rgb(0, 0, 0));
    text(arial10(canvas), 40, 20, ru("Страховой стаж: Arial 10, Latin and Кириллица 0123456789"));
    canvas.SetTextColor(rgb(0, 0, 160));
    text(timesBold12(canvas), 40, 44, ru("Times New Roman 12 bold: Ведомость уплаты АДВ-11"));

    LogFont rotated = arial10(canvas);
    rotated.escapement = rotated.orientation = 900;
    canvas.SetTextColor(rgb(160, 0, 0));
    text(rotated, 12, 420, ru("Повёрнутая строка, rotated"));

    // Frames in every pen style, hollow inside.
    canvas.SetBrush(Brush{BrushStyle::Hollow, 0, 0});
    const PenStyle styles[] = {PenStyle::Solid,      PenStyle::Dash,       PenStyle::Dot,
                               PenStyle::DashDot,    PenStyle::DashDotDot, PenStyle::Null,
                               PenStyle::InsideFrame};
    int x = 40;
    for (PenStyle style : styles) {
        canvas.SetPen(Pen{style, style == PenStyle::InsideFrame ? 3 : 1, rgb(0, 0, 0)});
        canvas.Rectangle(x, 80, x + 70, 130);
        x += 78;
    }

    // Filled shapes.
    canvas.FillRect({40, 150, 200, 190}, Brush{BrushStyle::Solid, rgb(180, 210, 255), 0});
    canvas.SetPen(Pen{PenStyle::Solid, 2, rgb(0, 120, 0)});
    canvas.SetBrush(Brush{BrushStyle::Solid, rgb(255, 230, 150), 0});
    canvas.Rectangle(220, 150, 330, 190);
    const Point triangle[] = {{350, 190}, {400, 150}, {450, 190}};
    canvas.Polygon(triangle);
    canvas.SetPen(Pen{PenStyle::Solid, 1, rgb(0, 0, 0)});
    const Point zigzag[] = {{470, 190}, {490, 150}, {510, 190}, {530, 150}, {550, 190}};
    canvas.Polyline(zigzag);
    canvas.MoveTo(40, 200);
    canvas.LineTo(560, 200);

    canvas.StretchDIBits({40, 215, 200, 295}, mixedPageBitmap());

    // Opaque text on a coloured box.
    canvas.SetFont(arial10(canvas));
    canvas.SetTextColor(rgb(255, 255, 255));
    canvas.SetBkColor(rgb(60, 60, 60));
    const Rect box{220, 215, 560, 240};
    const std::string boxed = ru("Непрозрачный фон / opaque");
    canvas.ExtTextOut(226, 219, eto::Opaque, &box, boxed);
    lines.push_back({arial10(canvas), {226, 219}, boxed});

    // Text cut by a clip rectangle, inside a saved state.
    canvas.SaveDC();
    canvas.IntersectClipRect({220, 250, 380, 280});
    canvas.SetTextColor(rgb(0, 0, 0));
    canvas.SetFont(timesBold12(canvas));
    const std::string clipped = ru("Обрезанная строка: clipped by a rectangle");
    canvas.TextOut(222, 255, clipped);
    lines.push_back({timesBold12(canvas), {222, 255}, clipped});
    canvas.RestoreDC(-1);
    canvas.SetPen(Pen{PenStyle::Dot, 1, rgb(200, 0, 0)});
    canvas.SetBrush(Brush{BrushStyle::Hollow, 0, 0});
    canvas.Rectangle(219, 249, 381, 281);
    return lines;
}

} // namespace pv::test
