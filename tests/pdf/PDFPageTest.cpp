#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "tests/pdf/FakeFonts.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace pv {
namespace {

using test::expectPdfError;
using Lines = std::vector<std::string>;

class PageTest : public ::testing::Test {
protected:
    void open(int resolution = 72) {
        doc.SetResolution(resolution);
        doc.SetOutputStream(&out);
        doc.SetFontProvider(&fonts);
        doc.BeginDoc();
    }
    void SetUp() override { open(); }
    void TearDown() override {
        if (doc.Generating()) doc.Abort();
    }
    TPDFPage& page() { return *doc.CurrentPage(); }
    // The lines drawn so far, without the initial "q".
    Lines drawn() {
        const auto& c = page().Content();
        return Lines(c.begin() + 1, c.end());
    }
    Lines drawnFrom(std::size_t first) {
        const Lines all = drawn();
        return Lines(all.begin() + std::min(first, all.size()), all.end());
    }

    TPDFDocument doc{test::fixedClock()};
    std::ostringstream out;
    test::FakeFontProvider fonts;
};

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(PageTest, NewPageIsA4WithOneSavedState) {
    EXPECT_EQ(page().WidthPt(), 595);
    EXPECT_EQ(page().HeightPt(), 842);
    EXPECT_EQ(page().Content(), Lines{"q"});
    EXPECT_EQ(page().ObjectNumber(), 2);
}

TEST_F(PageTest, PathAndPaintingOperatorLines) {
    const struct {
        std::function<void(TPDFPage&)> draw;
        const char* line;
    } cases[] = {
        {[](TPDFPage& p) { p.MoveTo(10, 20); }, "10 822 m"},
        {[](TPDFPage& p) { p.LineTo(0, 0); }, "0 842 l"},
        {[](TPDFPage& p) { p.CurveTo(1, 2, 3, 4, 5, 6); }, "1 840 3 838 5 836 c"},
        {[](TPDFPage& p) { p.Rectangle(50, 40, 10, 20); }, "10 802 40 20 re"},
        {[](TPDFPage& p) { p.Rectangle(10, 20, 50, 40); }, "10 802 40 20 re"},
        {[](TPDFPage& p) { p.ClosePath(); }, "h"},
        {[](TPDFPage& p) { p.NewPath(); }, "n"},
        {[](TPDFPage& p) { p.Fill(); }, "f"},
        {[](TPDFPage& p) { p.EoFill(); }, "f*"},
        {[](TPDFPage& p) { p.Stroke(); }, "S"},
        {[](TPDFPage& p) { p.FillAndStroke(); }, "B"},
        {[](TPDFPage& p) { p.EoFillAndStroke(); }, "B*"},
        {[](TPDFPage& p) { p.Clip(); }, "W"},
        {[](TPDFPage& p) { p.SetLineWidth(2.5); }, "2.5 w"},
        {[](TPDFPage& p) { p.SetRGBFillColor(1, 0.5, 0); }, "1 0.5 0 rg"},
        {[](TPDFPage& p) { p.SetRGBStrokeColor(0, 0, 1.0 / 3); }, "0 0 0.3333 RG"},
        {[](TPDFPage& p) { p.SetDash("[8 2 2 2] 0"); }, "[8 2 2 2] 0 d"},
        {[](TPDFPage& p) { p.MoveToPt(1.25, 2); }, "1.25 2 m"},
        {[](TPDFPage& p) { p.RectanglePt(1, 2, 3, 4); }, "1 2 3 4 re"},
    };
    for (const auto& c : cases) {
        const std::size_t before = page().Content().size();
        c.draw(page());
        ASSERT_EQ(page().Content().size(), before + 1) << c.line;
        EXPECT_EQ(page().Content().back(), c.line);
    }
}

TEST_F(PageTest, DeviceUnitsAtOtherResolutions) {
    doc.Abort();
    open(96);
    page().SetLineWidth(96);
    page().MoveTo(96, 96);
    page().Rectangle(0, 0, 192, 96);
    EXPECT_EQ(drawn(), (Lines{"72 w", "72 770 m", "0 770 144 72 re"}));
    EXPECT_EQ(page().Width(), 793); // 595 points at 96 dpi
    EXPECT_EQ(page().Height(), 1123);
}

TEST_F(PageTest, SizeIsFixedOnceDrawingStarts) {
    page().SetWidth(300);
    page().SetHeight(421); // 420.5 points rounds to even
    EXPECT_EQ(page().WidthPt(), 300);
    EXPECT_EQ(page().HeightPt(), 421);
    page().MoveTo(0, 0);
    EXPECT_EQ(page().Content().back(), "0 421 m");
    expectPdfError([&] { page().SetWidth(100); }, "Page in progress");
    expectPdfError([&] { page().SetHeight(100); }, "Page in progress");
    EXPECT_EQ(page().WidthPt(), 300);
}

TEST_F(PageTest, DashAndGraphicsStateAreWrittenOnlyWhenTheyChange) {
    page().NoDash();
    page().GStateRestore();
    EXPECT_EQ(drawn(), Lines{});
    page().SetDash("[2 2] 0");
    page().SetDash("[2 2] 0");
    page().NoDash();
    page().GStateSave();
    page().GStateSave();
    page().GStateRestore();
    page().GStateRestore();
    page().GStateRestore();
    EXPECT_EQ(drawn(), (Lines{"[2 2] 0 d", "[] 0 d", "q", "q", "Q", "Q"}));
}

TEST_F(PageTest, PathOperationsAreRefusedInsideText) {
    page().BeginText();
    const std::function<void(TPDFPage&)> refused[] = {
        [](TPDFPage& p) { p.MoveTo(1, 1); },
        [](TPDFPage& p) { p.LineTo(1, 1); },
        [](TPDFPage& p) { p.CurveTo(1, 1, 2, 2, 3, 3); },
        [](TPDFPage& p) { p.Rectangle(0, 0, 1, 1); },
        [](TPDFPage& p) { p.ClosePath(); },
        [](TPDFPage& p) { p.NewPath(); },
        [](TPDFPage& p) { p.Fill(); },
        [](TPDFPage& p) { p.Stroke(); },
        [](TPDFPage& p) { p.EoFillAndStroke(); },
        [](TPDFPage& p) { p.Clip(); },
        [](TPDFPage& p) { p.SetDash("[1 1] 0"); },
        [](TPDFPage& p) { p.Ellipse(0, 0, 10, 10); },
    };
    for (const auto& draw : refused)
        expectPdfError([&] { draw(page()); }, "Text object inited");
    // State and colour operators work inside text.
    page().SetRGBFillColor(0, 0, 0);
    page().SetLineWidth(1);
    page().GStateSave();
    EXPECT_EQ(drawn(), (Lines{"BT", "0 0 0 rg", "1 w", "q"}));
}

TEST_F(PageTest, EllipseIsFourQuarterCurvesFromTheTopMiddle) {
    page().Ellipse(0, 0, 100, 50);
    const Lines lines = drawn();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "50 842 m");
    EXPECT_EQ(lines[1], "22.3858 842 0 830.8071 0 817 c");
    EXPECT_TRUE(endsWith(lines[2], "50 792 c")) << lines[2];
    EXPECT_TRUE(endsWith(lines[4], "50 842 c")) << lines[4];
}

TEST_F(PageTest, RoundRectRunsRoundTheCornersAndCloses) {
    page().RoundRect(100, 50, 0, 0, 20, 10);
    const Lines lines = drawn();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "10 842 m");
    EXPECT_EQ(lines[1], "90 842 l");
    EXPECT_EQ(lines[2], "95.5228 842 100 839.7614 100 837 c");
    EXPECT_EQ(lines[3], "100 797 l");
    EXPECT_EQ(lines[9], "h");
}

TEST_F(PageTest, ArcsAreCutIntoQuarterPieces) {
    // A quarter from the right radial up to the top one: one curve.
    const PdfPoint first = page().Arc(0, 0, 101, 101, 101, 50.5, 50.5, 0);
    EXPECT_DOUBLE_EQ(first.x, 100.5);
    EXPECT_DOUBLE_EQ(first.y, 791.5);
    EXPECT_EQ(drawn(),
              (Lines{"100.5 791.5 m", "100.4999 819.1141 78.1141 841.4999 50.4999 841.4999 c"}));

    // From the right radial round to the bottom one, counter-clockwise: three pieces.
    const std::size_t before = drawn().size();
    page().Arc(0, 0, 101, 101, 101, 50.5, 50.5, 101);
    EXPECT_EQ(drawn().size(), before + 4);
    EXPECT_TRUE(endsWith(drawn().back(), "50.4999 741.4999 c")) << drawn().back();

    const std::size_t beforePie = drawn().size();
    page().Pie(0, 0, 101, 101, 101, 50.5, 50.5, 0);
    const Lines pie = drawnFrom(beforePie);
    ASSERT_EQ(pie.size(), 5u);
    EXPECT_EQ(pie[2], "50.5 791.5 l");
    EXPECT_EQ(pie[3], "100.5 791.5 m");
    EXPECT_EQ(pie[4], "50.5 791.5 l");

    const std::size_t beforeAngles = drawn().size();
    page().ArcByAngles(0, 0, 101, 101, 0, -180); // negated: half a turn upwards
    const Lines half = drawnFrom(beforeAngles);
    ASSERT_EQ(half.size(), 3u);
    EXPECT_EQ(half[0], "100.5 791.5 m");
    EXPECT_TRUE(endsWith(half[2], "0.4999 791.4999 c")) << half[2];
}

TEST_F(PageTest, StandardFontTextLines) {
    page().SetActiveFont("Helvetica", 0, 0, 12);
    page().BeginText();
    page().TextOut(100, 50, 0, "Hi (x)\\");
    page().TextOut(100, 50, 90, "A");
    page().TextOut(10, 20, 90, "B");
    page().EndText();
    EXPECT_EQ(drawn(), (Lines{"BT", "/F0 12 Tf", "ET", "BT", "1 0 0 1 100 780 Tm",
                              "(Hi \\(x\\)\\\\) Tj", "1 0 0 1 100 780 Tm", "0 1 -1 0 100 780 Tm",
                              "(A) Tj", "0 1 -1 0 10 810 Tm", "(B) Tj", "ET"}));
}

TEST_F(PageTest, FontSelectionUsesTheStandardFontsAndReusesResources) {
    const struct {
        const char* face;
        int style;
        int charset;
        const char* resource;
    } cases[] = {
        {"Helvetica", 0, 0, "F0"},    {"Arial", fsBold, 0, "F1"},
        {"arial", fsItalic, 1, "F2"}, {"Times New Roman", fsBold | fsItalic, 0, "F7"},
        {"Courier", 3, 0, "F11"},     {"Courier New", fsUnderline, 0, "F8"},
        {"Symbol", fsBold, 0, "F12"}, {"ZapfDingbats", 0, 0, "F13"},
        {"Arial", 0, 204, "TT1"},     {"Times", fsStrikeOut | fsBold, 0, "F5"},
    };
    for (const auto& c : cases) {
        page().SetActiveFont(c.face, c.style, c.charset, 10);
        EXPECT_EQ(doc.Fonts().Active()->ResourceName(), c.resource) << c.face;
    }
    const int count = doc.Fonts().Count();
    page().SetActiveFont("HELVETICA", fsUnderline, 0, 8);
    page().SetActiveFont("Symbol", 0, 0, 8);
    EXPECT_EQ(doc.Fonts().Count(), count);
    EXPECT_EQ(doc.Fonts().Item(doc.Fonts().Find("Courier-BoldOblique", 3, 0)).BaseFont(),
              "Courier-BoldOblique");
}

TEST_F(PageTest, UnknownFaceWithoutAFontServiceIsRefused) {
    doc.SetFontProvider(nullptr);
    expectPdfError([&] { page().SetActiveFont("Verdana", 0, 0, 10); }, "Not valid true type font.");
    expectPdfError([&] { page().SetActiveFont("Arial", 0, 128, 10); }, "Not valid true type font.");
}

TEST_F(PageTest, SimulatedBoldAndItalicForAFaceWithoutThoseStyles) {
    page().SetActiveFont("Fake Sans", fsBold | fsItalic, 0, 10);
    page().BeginText();
    page().TextOut(0, 0, 0, "x");
    EXPECT_EQ(drawn(), (Lines{"BT", "/TT1 10 Tf", "ET", "BT", "1 0 0.1228 1 0 0 Tm",
                              "1 0 0.1228 1 0 832 Tm", "(x) Tj", "-0.3333 -0.3333 TD", "(x) Tj",
                              "0.3333 0 TD", "(x) Tj", "-0.3333 0.3333 TD", "(x) Tj"}));
    // Inside a text object a plain selection ends the skew: the next lines stand upright.
    const std::size_t before = drawn().size();
    page().SetActiveFont("Fake Sans", 0, 0, 10);
    EXPECT_EQ(drawnFrom(before), (Lines{"/TT1 10 Tf", "1 0 0 1 0 832 Tm"}));
    page().TextOut(0, 10, 0, "y");
    EXPECT_EQ(drawn().back(), "(y) Tj");
    EXPECT_EQ(drawn()[drawn().size() - 2], "1 0 0 1 0 822 Tm");
    // A standard font after the italic is upright too.
    page().SetActiveFont("Fake Sans", fsItalic, 0, 10);
    page().SetActiveFont("Helvetica", 0, 0, 10);
    EXPECT_EQ(drawn().back(), "1 0 0 1 0 822 Tm");
}

TEST_F(PageTest, SimulatedBoldCopiesAreApartInProportionToTheSize) {
    for (const auto& [size, offset] : {std::pair{30.0, "1"}, {6.0, "0.2"}, {1.5, "0.1"}}) {
        page().SetActiveFont("Fake Sans", fsBold, 0, size);
        page().BeginText();
        const std::size_t before = drawn().size();
        page().TextOut(0, 0, 0, "x");
        const Lines lines = drawnFrom(before);
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines[2], std::string("-") + offset + " -" + offset + " TD") << size;
        page().EndText();
    }
}

TEST_F(PageTest, ATextRunBeyondTheStringLimitGoesAsSeveralStrings) {
    page().SetActiveFont("Helvetica", 0, 0, 10);
    page().BeginText();
    const std::string run = std::string(65535, 'a') + std::string(10, 'b');
    page().TextOut(0, 0, 0, run);
    EXPECT_EQ(drawn().back(), "[(" + std::string(65535, 'a') + ")(bbbbbbbbbb)] TJ");
    page().TextOut(0, 0, 0, std::string(65535, 'c'));
    EXPECT_EQ(drawn().back(), "(" + std::string(65535, 'c') + ") Tj");
}

TEST_F(PageTest, UnderlineAndStrikeOutBars) {
    page().SetActiveFont("Helvetica", fsUnderline | fsStrikeOut, 0, 10);
    page().BeginText();
    page().TextOut(0, 0, 0, "AB");
    EXPECT_EQ(drawnFrom(3),
              (Lines{"BT", "1 0 0 1 0 832 Tm", "(AB) Tj", "ET", "0 829 m", "13.34 829 l",
                     "13.34 828.5 l", "0 828.5 l", "f", "0 834.5 m", "13.34 834.5 l", "13.34 835 l",
                     "0 835 l", "f", "BT", "1 0 0 1 0 832 Tm"}));
    EXPECT_TRUE(page().TextObjectOpen());
}

TEST_F(PageTest, TextWidthCountsGlyphsAndSpacing) {
    expectPdfError([&] { page().TextWidth("x"); }, "Active font not setting");
    page().SetActiveFont("Helvetica", 0, 0, 10);
    EXPECT_DOUBLE_EQ(page().TextWidth("AB"), 13.34);
    EXPECT_DOUBLE_EQ(page().TextWidth("A\x81"
                                      "B"),
                     13.34); // no glyph, no width, no spacing
    page().SetCharacterSpacing(1);
    EXPECT_EQ(drawn().back(), "ET");
    EXPECT_DOUBLE_EQ(page().TextWidth("AB"), 14.34);
    EXPECT_DOUBLE_EQ(page().TextWidth(""), 0);
    page().SetActiveFont("Courier", 0, 0, 20);
    EXPECT_DOUBLE_EQ(page().TextWidth("abc"), 38);
}

TEST_F(PageTest, TextWidthIsInDeviceUnits) {
    doc.Abort();
    open(144);
    page().SetActiveFont("Courier", 0, 0, 10);
    EXPECT_DOUBLE_EQ(page().TextWidth("ab"), 24);
    page().SetCharacterSpacing(4);
    EXPECT_EQ(drawnFrom(3), (Lines{"BT", "2 Tc", "ET"}));
    EXPECT_DOUBLE_EQ(page().TextWidth("ab"), 28);
}

TEST_F(PageTest, TextStateErrors) {
    expectPdfError([&] { page().TextOut(0, 0, 0, "x"); }, "Text object not inited");
    page().BeginText();
    expectPdfError([&] { page().TextOut(0, 0, 0, "x"); }, "Active font not setting");
    expectPdfError([&] { page().BeginText(); }, "Cannot begin text object twice");
    EXPECT_EQ(drawn(), Lines{"BT"});
}

TEST_F(PageTest, ShowImagePlacesTheImageByItsTopLeft) {
    expectPdfError([&] { page().ShowImage(0, 0, 0, 0, 1, 1); }, "Out of range");
    Bitmap24 red{1, 1, {0, 0, 255}};
    ASSERT_EQ(doc.AddImage(red), 0);
    page().ShowImage(0, 0, 10, 20, 30, 40);
    page().ShowImage(0, 90, 10, 20, 30, 40);
    EXPECT_EQ(drawn(),
              (Lines{"q", "1 0 0 1 10 782 cm", "30 0 0 40 0 0 cm", "/Im0 Do", "Q", "q",
                     "1 0 0 1 10 782 cm", "0 1 -1 0 0 0 cm", "30 0 0 40 0 0 cm", "/Im0 Do", "Q"}));
    expectPdfError([&] { page().ShowImage(1, 0, 0, 0, 1, 1); }, "Out of range");
}

// A recorder that hands back a fixed "metafile"; its translator draws a mark.
struct FakeRecording : PageRecording {
    void Resize(int w, int h) override { size = {w, h}; }
    std::string Finish() override { return "EMF"; }
    std::pair<int, int> size;
};
struct FakeFactory : PageRecordingFactory {
    std::unique_ptr<PageRecording> Create(int w, int h) override {
        auto r = std::make_unique<FakeRecording>();
        r->Resize(w, h);
        last = r.get();
        return r;
    }
    FakeRecording* last = nullptr;
};
struct FakeTranslator : MetafileTranslator {
    FrameSize Frame(const std::string& metafile, const TPDFPage&) override { return frame; }
    void Translate(const std::string& metafile, TPDFPage& page) override {
        EXPECT_EQ(metafile, "EMF");
        page.MoveTo(0, 0);
        page.Stroke();
    }
    FrameSize frame{10, 10};
};

TEST_F(PageTest, RecordedDrawingGoesBeforeDirectDrawingWhenThePageCloses) {
    doc.Abort();
    FakeFactory factory;
    FakeTranslator translator;
    doc.SetRecordingFactory(&factory);
    doc.SetTranslator(&translator);
    open(96);
    ASSERT_NE(doc.Canvas(), nullptr);
    EXPECT_EQ(factory.last->size, (std::pair<int, int>{793, 1123}));
    page().SetWidth(960);
    EXPECT_EQ(factory.last->size.first, 960);
    expectPdfError([&] { page().CreateCanvas(); }, "Canvas for this page already created");
    page().LineTo(96, 96);
    TPDFPage& first = page();
    doc.NewPage();
    EXPECT_EQ(first.Content(), (Lines{"0 842 m", "S", "", "q", "72 770 l"}));
    EXPECT_EQ(first.Canvas(), nullptr);

    translator.frame = {0, 10}; // nothing was drawn on the recording
    page().LineTo(0, 0);
    TPDFPage& second = page();
    doc.NewPage();
    EXPECT_EQ(second.Content(), (Lines{"q", "0 842 l"}));
}

} // namespace
} // namespace pv
