#include "tests/support/PreparedPagesSupport.h"

#include "platform/Canvas.h"
#include "platform/FontService.h"
#include "report/export/ExportFilter.h"
#include "report/printer/PaperSizes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pv {
namespace {

using test::kA4Height;
using test::kA4Width;

// Keeps the lines and texts that reach the device.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(int ppi = 96) : Canvas(FontService::shared(), ppi) {}
    struct Text {
        Point origin;
        std::string text;
        int fontHeight = 0;
    };
    std::vector<std::pair<Point, Point>> lines;
    std::vector<Text> texts;

protected:
    void drawLine(Point from, Point to) override { lines.push_back({from, to}); }
    void drawText(Point origin, std::uint32_t, const Rect*, std::string_view text,
                  const std::vector<int>&) override {
        texts.push_back({origin, std::string(text), state().font.height});
    }
};

class EMFPagesTest : public ::testing::Test {
protected:
    EMFPagesTest() { frPrinter().setDevices({}); }
    TfrReport report;
    TfrEMFPages& pages = report.EMFPages();
};

TEST_F(EMFPagesTest, NewPageTakesTheTemplatePaperAndStartsItsStream) {
    TfrPage landscape = test::templatePage(kCustomPaper, 2000, 1500, 1);
    landscape.UseMargins = 0;
    landscape.LeftMargin = 11, landscape.TopMargin = 12;
    landscape.RightMargin = 13, landscape.BottomMargin = 14;
    landscape.Bin = 3;

    PreparedPage& page = pages.AppendPage(landscape);
    EXPECT_EQ(page.size, kCustomPaper);
    EXPECT_EQ(page.width, 2000);
    EXPECT_EQ(page.height, 1500);
    EXPECT_EQ(page.orientation, 1);
    EXPECT_EQ(page.bin, 3);
    EXPECT_EQ(page.useMargins, 0);
    EXPECT_EQ(page.leftMargin, 11);
    EXPECT_EQ(page.bottomMargin, 14);
    EXPECT_EQ(page.pageInfo, landscape.PageInfo);
    EXPECT_EQ(page.stream.bytes(), std::string(1, char(25)));
    EXPECT_FALSE(page.visible);

    // The template's own default bin is the list's −1.
    EXPECT_EQ(pages.AppendPage(test::templatePage()).bin, -1);
}

TEST_F(EMFPagesTest, PagesGoWhereTheyAreInsertedAndLeaveByIndex) {
    auto sized = [](int size) { return test::templatePage(size, 0, 0, 0); };
    pages.AppendPage(sized(9));
    pages.InsertPage(0, sized(11));
    pages.InsertPage(1, sized(8));
    pages.InsertPage(99, sized(1)); // beyond the end: appended
    std::vector<int> sizes;
    for (int i = 0; i < pages.Count(); ++i)
        sizes.push_back(pages.Page(i).size);
    EXPECT_EQ(sizes, (std::vector<int>{11, 8, 9, 1}));

    pages.RemovePage(1);
    EXPECT_EQ(pages.Page(1).size, 9);
    EXPECT_THROW(pages.RemovePage(3), std::out_of_range);
    EXPECT_THROW(pages.Page(-1), std::out_of_range);
    pages.ClearPages();
    EXPECT_EQ(pages.Count(), 0);
}

TEST_F(EMFPagesTest, ObjectsWrittenToAPageReadBackInOrder) {
    test::addSamplePage(pages, "first");
    test::addSamplePage(pages, "second");
    // Records appended after the page was read go to the end of its stream.
    pages.Objects(1);
    pages.AddObject(1, test::line("Line2", 10, 10, 50));
    pages.DropObjects(1);

    TfrPage& second = pages.Objects(1);
    ASSERT_EQ(second.Objects.size(), 3u);
    EXPECT_EQ(second.Objects[0]->Memo, Lines{"second"});
    EXPECT_EQ(second.Objects[2]->Name, "Line2");
    EXPECT_EQ(second.PaperWidth, 2100);
    EXPECT_EQ(pages.Objects(0).Objects[0]->Memo, Lines{"first"});
}

TEST_F(EMFPagesTest, PaintScalesTheObjectsIntoTheRectangle) {
    test::addSamplePage(pages, "text");
    pages.Page(0).visible = true;
    RecordingCanvas canvas;
    // Twice the paper, 10 and 20 pixels in.
    const Rect rect{10, 20, 10 + 2 * kA4Width, 20 + 2 * kA4Height};
    pages.PaintPage(0, canvas, rect, PaintTarget::Recording);

    ASSERT_EQ(canvas.lines.size(), 1u);
    const auto [from, to] = canvas.lines[0];
    EXPECT_NEAR(from.x, 10 + 2 * 100, 2);
    EXPECT_NEAR(from.y, 20 + 2 * 200, 2);
    EXPECT_NEAR(to.x, 10 + 2 * 400, 2);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, "text");
    EXPECT_NEAR(canvas.texts[0].origin.x, 10 + 2 * 50, 10);
    EXPECT_NEAR(canvas.texts[0].origin.y, 20 + 2 * 60, 10);
}

TEST_F(EMFPagesTest, AnInvisiblePageDrawsNothingAndDropsItsObjects) {
    test::addSamplePage(pages, "text");
    pages.Objects(0);
    RecordingCanvas canvas;
    pages.PaintPage(0, canvas, {0, 0, kA4Width, kA4Height});
    EXPECT_TRUE(canvas.lines.empty() && canvas.texts.empty());
    EXPECT_EQ(pages.Page(0).page, nullptr);
}

TEST_F(EMFPagesTest, OnlyTheScreenSkipsObjectsOutsideItsClip) {
    struct Case {
        PaintTarget target;
        int clipRight;
        bool lineDrawn;
    };
    // The line starts at x = 100; objects within 10 pixels of the clip count.
    const Case cases[] = {
        {PaintTarget::Screen, 50, false},   {PaintTarget::Screen, 95, true},
        {PaintTarget::Screen, 400, true},   {PaintTarget::Printer, 50, true},
        {PaintTarget::Recording, 50, true},
    };
    test::addSamplePage(pages, "text");
    pages.Page(0).visible = true;
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        canvas.IntersectClipRect({0, 150, c.clipRight, 300});
        pages.PaintPage(0, canvas, {0, 0, kA4Width, kA4Height}, c.target);
        EXPECT_EQ(canvas.lines.size(), c.lineDrawn ? 1u : 0u)
            << "target " << int(c.target) << ", clip right " << c.clipRight;
    }
    // A canvas without a clip draws everything.
    RecordingCanvas unclipped;
    pages.PaintPage(0, unclipped, {0, 0, kA4Width, kA4Height});
    EXPECT_EQ(unclipped.lines.size(), 1u);
    EXPECT_EQ(unclipped.texts.size(), 1u);
}

TEST_F(EMFPagesTest, OnlyThePrintersCanvasDrawsAsPrintingDuringAJob) {
    test::addSamplePage(pages, "text");
    pages.Page(0).visible = true;
    struct Case {
        PaintTarget target;
        bool jobRunning;
        bool asPrinting;
    };
    const Case cases[] = {{PaintTarget::Printer, true, true},
                          {PaintTarget::Printer, false, false},
                          {PaintTarget::Screen, true, false},
                          {PaintTarget::Recording, true, false}};
    for (const Case& c : cases) {
        RecordingCanvas canvas(300);
        frPrinter().setPrinting(c.jobRunning);
        pages.PaintPage(0, canvas, {0, 0, kA4Width, kA4Height}, c.target);
        frPrinter().setPrinting(false);
        ASSERT_EQ(canvas.texts.size(), 1u);
        // A printing box takes its point size in the device's own pixels.
        EXPECT_EQ(canvas.texts[0].fontHeight == canvas.fontHeightForPoints(10), c.asPrinting)
            << "target " << int(c.target) << ", job " << c.jobRunning;
    }
}

TEST_F(EMFPagesTest, AutoWidthBoxTakesItsWidthOnceWhenThePageIsRead) {
    pages.AppendPage(test::templatePage());
    TfrMemoView box = test::memo("Memo1", 300, 10, 10, 20, {ru("Довольно длинный текст")});
    box.Flags |= flAutoWidth;
    box.Alignment = frtaRight;
    pages.AddObject(0, box);

    TfrView& read = *pages.Objects(0).Objects[0];
    EXPECT_GT(read.Width, 60);
    EXPECT_EQ(read.Left + read.Width, 310); // right-aligned: the right edge stays
}

TEST_F(EMFPagesTest, ExportHandsEveryObjectToTheFilterAndDropsThem) {
    class Collecting : public TfrExportFilter {
    public:
        std::vector<std::string> seen;
        void ObjectData(int x, int y, TfrView& v) override {
            seen.push_back(v.Name + "@" + std::to_string(x) + "," + std::to_string(y));
        }
    } filter;
    test::addSamplePage(pages, "text");
    pages.ExportPage(0, filter);
    EXPECT_EQ(filter.seen, (std::vector<std::string>{"Memo1@50,60", "Line1@100,200"}));
    EXPECT_EQ(pages.Page(0).page, nullptr);
}

class ObjectAtPointTest : public EMFPagesTest {
protected:
    ObjectAtPointTest() {
        for (int i = 0; i < 5; ++i)
            pages.AppendPage(test::templatePage());
        pages.Page(0).screenRect = {10, 10, 10 + kA4Width, 10 + kA4Height};
    }
    void put(const std::string& name, const std::string& tag) {
        TfrMemoView m = test::memo(name, 100, 100, 200, 50, {"x"});
        m.Tag = tag;
        pages.AddObject(0, m);
    }
    ObjectHit at(int x, int y) { return pages.ObjectAtPoint(0, {10 + x, 10 + y}); }
};

TEST_F(ObjectAtPointTest, TheLastObjectUnderThePointIsHit) {
    pages.AddObject(0, test::memo("Below", 100, 100, 200, 50, {"x"}));
    pages.AddObject(0, test::memo("Above", 150, 120, 20, 20, {"x"}));
    EXPECT_EQ(at(155, 125).object->Name, "Above");
    EXPECT_EQ(at(101, 101).object->Name, "Below");
    EXPECT_EQ(at(99, 101).object, nullptr);
    EXPECT_EQ(at(300, 101).object, nullptr); // right edge excluded
    EXPECT_EQ(at(155, 125).link, ObjectHit::Link::None);
}

TEST_F(ObjectAtPointTest, LinkObjectsOpenTheirTagOrGoToAPage) {
    struct Case {
        std::string name, tag;
        ObjectHit::Link link;
        int page;
        std::string target;
    };
    const Case cases[] = {
        {"URL1", "@3", ObjectHit::Link::GoToPage, 3, ""},
        {"URL1", "@0", ObjectHit::Link::GoToPage, 1, ""},
        {"URL1", "@-4", ObjectHit::Link::GoToPage, 1, ""},
        {"URL1", "@5", ObjectHit::Link::GoToPage, 5, ""},
        {"URL1", "@6", ObjectHit::Link::None, 0, ""}, // beyond the last page
        {"URL1", "@page", ObjectHit::Link::None, 0, ""},
        {"URL2", "http://example.org/", ObjectHit::Link::OpenShell, 0, "http://example.org/"},
        {"URL", "report.pdf", ObjectHit::Link::OpenShell, 0, "report.pdf"},
        {"Memo1", "@3", ObjectHit::Link::None, 0, ""},
        {"url1", "@3", ObjectHit::Link::None, 0, ""},
    };
    for (const Case& c : cases) {
        pages.Page(0).stream = ByteStream(std::string(1, char(25)));
        pages.DropObjects(0);
        put(c.name, c.tag);
        const ObjectHit hit = at(150, 120);
        ASSERT_NE(hit.object, nullptr);
        EXPECT_EQ(hit.link, c.link) << c.name << " " << c.tag;
        EXPECT_EQ(hit.page, c.page) << c.name << " " << c.tag;
        EXPECT_EQ(hit.target, c.target) << c.name << " " << c.tag;
    }
}

TEST_F(ObjectAtPointTest, LinksNameWhereTheyLeadInTheHint) {
    put("URL1", "@3");
    EXPECT_EQ(at(150, 120).hint, ru("Стр. 3"));
}

TEST_F(ObjectAtPointTest, PageWithoutMarginsIsHitThroughItsPrintableArea) {
    PreparedPage& page = pages.Page(0);
    page.useMargins = 0;
    page.leftMargin = 10, page.topMargin = 20;
    // Printable area of the virtual printer: 18 pixels in, 36 less wide.
    EXPECT_EQ(PaintRectangle(page, {0, 0, kA4Width, kA4Height}),
              (Rect{28, 38, 28 + kA4Width - 36 - 10, 38 + kA4Height - 36 - 20}));
    EXPECT_EQ(PaintRectangle(pages.Page(1), {5, 6, 70, 80}), (Rect{5, 6, 70, 80}));

    page.screenRect = {0, 0, kA4Width, kA4Height};
    pages.AddObject(0, test::memo("Memo1", 0, 0, 20, 20, {"x"}));
    EXPECT_EQ(pages.ObjectAtPoint(0, {20, 30}).object, nullptr);
    EXPECT_NE(pages.ObjectAtPoint(0, {32, 42}).object, nullptr);
}

} // namespace
} // namespace pv
