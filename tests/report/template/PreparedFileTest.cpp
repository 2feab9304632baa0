#include "tests/support/FrfBytes.h"
#include "tests/support/PreparedPagesSupport.h"

#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/printer/PaperSizes.h"
#include "report/prepared/PreparedObject.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pv {
namespace {

using test::FrfBytes;
using test::kA4Height;
using test::kA4Width;

class PreparedFileTest : public ::testing::Test {
protected:
    PreparedFileTest() { frPrinter().setDevices({}); }

    // Two pages, the second landscape on custom paper without margins, with a
    // text box, a line and a picture.
    void fill(TfrEMFPages& pages) {
        test::addSamplePage(pages, ru("Первая страница"));
        TfrPage custom = test::templatePage(kCustomPaper, 2500, 1800, 1);
        custom.UseMargins = 0;
        custom.LeftMargin = 5, custom.TopMargin = 6, custom.RightMargin = 7;
        custom.BottomMargin = 8;
        pages.AppendPage(custom);
        pages.AddObject(1, test::memo("Memo2", 10, 20, 100, 30, {"a", "b"}));
        TfrPictureView picture;
        picture.Name = "Picture1";
        picture.Width = picture.Height = 40;
        picture.Picture = {gkBitmap, "BM-not-decoded"};
        pages.AddObject(1, picture);
    }

    std::string written(TfrEMFPages& pages) {
        ByteStream s;
        pages.WritePreparedFile(s);
        return s.bytes();
    }

    void read(TfrEMFPages& pages, const std::string& bytes) {
        ByteStream s(bytes);
        pages.ReadPreparedFile(s);
    }

    TfrReport report;
    TfrEMFPages& pages = report.EMFPages();
};

TEST_F(PreparedFileTest, FileHoldsTheHeaderPagesAndGeneratorVersion) {
    fill(pages);
    report.Info.GeneratorVersion = 77;
    const std::string bytes = written(pages);
    FrfBytes head(25);
    head.u8(25).u8(0).text(TfrReport::kVirtualPrinterName).i32(2);
    ASSERT_EQ(bytes.substr(0, head.size()), head.str());

    ByteStream s(bytes);
    s.seek(head.size());
    const int32_t firstEnd = s.readI32();
    EXPECT_EQ(s.readU16(), 9);
    EXPECT_EQ(s.readI32(), 2100);
    EXPECT_EQ(s.readI32(), 2970);
    EXPECT_EQ(s.readU8(), 0);
    EXPECT_EQ(s.readI32(), -1);
    EXPECT_EQ(s.readU8(), 1);
    s.skip(16);
    EXPECT_EQ(s.readBytes(size_t(firstEnd) - s.position()), pages.Page(0).stream.bytes());
    const int32_t secondEnd = s.readI32();
    EXPECT_EQ(size_t(secondEnd), bytes.size() - 1);
    EXPECT_EQ(uint8_t(bytes.back()), 77);
}

TEST_F(PreparedFileTest, WrittenAndReadBackGivesTheSamePagesAndBytes) {
    fill(pages);
    report.Info.GeneratorVersion = 91;
    const std::string bytes = written(pages);

    TfrReport other;
    TfrEMFPages& back = other.EMFPages();
    read(back, bytes);
    ASSERT_EQ(back.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const PreparedPage& a = pages.Page(i);
        const PreparedPage& b = back.Page(i);
        EXPECT_EQ(b.size, a.size);
        EXPECT_EQ(b.width, a.width);
        EXPECT_EQ(b.height, a.height);
        EXPECT_EQ(b.orientation, a.orientation);
        EXPECT_EQ(b.bin, a.bin);
        EXPECT_EQ(b.useMargins, a.useMargins);
        EXPECT_EQ(b.leftMargin, a.leftMargin);
        EXPECT_EQ(b.bottomMargin, a.bottomMargin);
        EXPECT_EQ(b.pageInfo, a.pageInfo) << "page info from the printer on reading";
        EXPECT_EQ(b.stream.bytes(), a.stream.bytes());
    }
    const auto& objects = back.Objects(1).Objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->Memo, (Lines{"a", "b"}));
    EXPECT_EQ(dynamic_cast<TfrPictureView&>(*objects[1]).Picture.data, "BM-not-decoded");
    EXPECT_EQ(other.Info.GeneratorVersion, 91);
    EXPECT_EQ(written(back), bytes);
}

TEST_F(PreparedFileTest, ReportSavesAndLoadsFilesAndCannotBePreparedAgain) {
    test::ScratchDir dir;
    fill(pages);
    const std::string path = dir.file("report.frp");
    ASSERT_TRUE(report.SavePreparedFile(path));

    TfrReport loaded;
    loaded.Info.ReportName = "from the template";
    EXPECT_TRUE(loaded.CanRebuild());
    EXPECT_FALSE(loaded.LoadPreparedFile(dir.file("missing.frp")));
    EXPECT_TRUE(loaded.CanRebuild());
    ASSERT_TRUE(loaded.LoadPreparedFile(path));
    EXPECT_FALSE(loaded.CanRebuild());
    EXPECT_EQ(loaded.Info.ReportName, "");
    EXPECT_EQ(loaded.EMFPages().Count(), 2);
    EXPECT_EQ(written(loaded.EMFPages()), written(pages));

    EXPECT_FALSE(report.SavePreparedFile(dir.file("no-such-dir/report.frp")));
}

// The paper fields of one page in the layout of an edition, with its end
// offset patched in.
void page(FrfBytes& b, bool withBinAndMargins, const std::string& objects, int bin = 2) {
    const size_t at = b.size();
    b.i32(0).u16(11).i32(1480).i32(2100).u8(0);
    if (withBinAndMargins) b.i32(bin);
    b.u8(1);
    if (withBinAndMargins) b.i32(1).i32(2).i32(3).i32(4);
    b.raw(objects);
    b.patchI32(at, int64_t(b.size()));
}

std::string emptyObjects() {
    return std::string(1, char(25));
}

TEST_F(PreparedFileTest, OlderEditionsReadWithoutBinsAndMargins) {
    struct Case {
        const char* name;
        int editionByte; // −1: none
        int compression;
        bool binsAndMargins;
    };
    const Case cases[] = {
        {"edition 25", 25, 0, true},       {"edition 24", 24, 0, true},
        {"edition 31", 31, 0, true},       {"flag 255 reads as uncompressed", 25, 255, true},
        {"no edition byte", -1, 0, false},
    };
    for (const Case& c : cases) {
        const int edition = c.editionByte < 0 ? 0 : c.editionByte;
        FrfBytes b(edition);
        if (c.editionByte >= 0) b.u8(c.editionByte);
        b.u8(c.compression).text("Printer").i32(1);
        page(b, c.binsAndMargins, emptyObjects());
        b.u8(42);

        TfrReport r;
        ByteStream s(b.str());
        ASSERT_NO_THROW(r.EMFPages().ReadPreparedFile(s)) << c.name;
        ASSERT_EQ(r.EMFPages().Count(), 1) << c.name;
        const PreparedPage& p = r.EMFPages().Page(0);
        EXPECT_EQ(p.size, 11) << c.name;
        EXPECT_EQ(p.width, 1480) << c.name;
        EXPECT_EQ(p.bin, c.binsAndMargins ? 2 : -1) << c.name;
        EXPECT_EQ(p.leftMargin, c.binsAndMargins ? 1 : 0) << c.name;
        EXPECT_EQ(p.bottomMargin, c.binsAndMargins ? 4 : 0) << c.name;
        EXPECT_EQ(r.PrinterName, "Printer") << c.name;
        EXPECT_EQ(r.Info.GeneratorVersion, 42) << c.name;
        EXPECT_EQ(p.pageInfo.paperWidth, tenthsMmToReportPixels(1480)) << c.name;
    }
}

TEST_F(PreparedFileTest, AFileReadsAtLeastOnePage) {
    for (int count : {0, -3}) {
        FrfBytes b(25);
        b.u8(25).u8(0).text("").i32(count);
        page(b, true, emptyObjects());
        b.u8(1);
        read(pages, b.str());
        EXPECT_EQ(pages.Count(), 1) << "count " << count;
    }
}

TEST_F(PreparedFileTest, OldestLayoutGivesOnePictureCoveringThePaper) {
    FrfBytes b(0);
    b.lines({"HP LaserJet", "second line"}).i32(2);
    for (const std::string metafile : {"first-metafile", "second"}) {
        const size_t at = b.size();
        b.i32(0).u16(9).i32(2100).i32(2970).u8(0).u8(1).raw(metafile);
        b.patchI32(at, int64_t(b.size()));
    }
    read(pages, b.str());
    ASSERT_EQ(pages.Count(), 2);
    EXPECT_EQ(report.PrinterName, "HP LaserJet");
    EXPECT_EQ(pages.Page(0).bin, -1);
    const auto& objects = pages.Objects(1).Objects;
    ASSERT_EQ(objects.size(), 1u);
    const auto& picture = dynamic_cast<const TfrPictureView&>(*objects[0]);
    EXPECT_EQ(picture.Picture.kind, gkMetafile);
    EXPECT_EQ(picture.Picture.data, "second");
    EXPECT_EQ((Rect{picture.Left, picture.Top, picture.Width, picture.Height}),
              (Rect{0, 0, kA4Width, kA4Height}));
}

TEST_F(PreparedFileTest, EveryTruncationIsRefusedAndLeavesNoPages) {
    fill(pages);
    const std::string bytes = written(pages);
    for (size_t length = 0; length < bytes.size(); ++length) {
        TfrReport r;
        test::addSamplePage(r.EMFPages(), "held before");
        ByteStream s(bytes.substr(0, length));
        EXPECT_THROW(r.EMFPages().ReadPreparedFile(s), FrfFormatError) << "length " << length;
        EXPECT_EQ(r.EMFPages().Count(), 0) << "length " << length;
    }
}

TEST_F(PreparedFileTest, MalformedPagesAreRefused) {
    struct Case {
        const char* name;
        int compression;
        int64_t endOffset; // −1: the true end
        std::string objects;
    };
    const Case cases[] = {
        {"end offset beyond the file", 0, 100000, emptyObjects()},
        {"negative end offset", 0, -5, emptyObjects()},
        {"end offset inside the paper fields", 0, 20, emptyObjects()},
        {"compressed pages", 1, -1, emptyObjects()},
        {"unknown object type", 0, -1, emptyObjects() + char(7)},
        {"page without its edition byte", 0, -1, ""},
        {"object stream of another edition", 0, -1, std::string(1, char(24))},
    };
    for (const Case& c : cases) {
        FrfBytes b(25);
        b.u8(25).u8(c.compression).text("").i32(1);
        const size_t at = b.size();
        page(b, true, c.objects);
        if (c.endOffset != -1) b.patchI32(at, c.endOffset);
        b.u8(1);
        ByteStream s(b.str());
        EXPECT_THROW(pages.ReadPreparedFile(s), FrfFormatError) << c.name;
        EXPECT_EQ(pages.Count(), 0) << c.name;
    }
}

TEST_F(PreparedFileTest, LoadingAMalformedFileIsToldAndLeavesNoPages) {
    test::ScratchDir dir;
    const std::string path = dir.file("bad.frp");
    std::ofstream(path, std::ios::binary) << std::string("\x19\x00\x01", 3);
    test::addSamplePage(pages, "held before");
    EXPECT_TRUE(report.LoadPreparedFile(path));
    EXPECT_EQ(report.lastLoad(), LoadResult::Unreadable);
    EXPECT_FALSE(report.lastLoadDetail().empty());
    EXPECT_EQ(report.EMFPages().Count(), 0);
}

} // namespace
} // namespace pv
