#include "tests/support/FrfBytes.h"

#include "platform/CodePage.h"
#include "report/model/BandView.h"
#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/model/FrfPrimitives.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/prepared/PreparedObject.h"
#include "report/model/SubReportView.h"
#include "report/model/ViewFactory.h"

#include <gtest/gtest.h>

#include <functional>

namespace pv {
namespace {

using test::FrfBytes;

// An add-in class with one field of its own.
class TestAddIn : public TfrView {
public:
    uint8_t typeCode() const override { return gtAddIn; }
    const char* namePrefix() const override { return "View"; }
    std::string className() const override { return "TfrTestAddIn"; }
    std::unique_ptr<TfrView> clone() const override { return std::make_unique<TestAddIn>(*this); }
    void readClassFields(ByteStream& s, const FrfContext&) override { Extra = s.readI32(); }
    void writeClassFields(ByteStream& s) const override { s.writeI32(Extra); }
    int32_t Extra = 0;
};

struct AddInRegistered {
    AddInRegistered() {
        registerAddIn("TfrTestAddIn", [] { return std::make_unique<TestAddIn>(); });
    }
    ~AddInRegistered() { unregisterAddIn("TfrTestAddIn"); }
};

// Every common field away from its default, the template-only ones included.
void fillCommon(TfrView& v) {
    v.Name = ru("Объект1");
    v.ObjectSubVersion = 3;
    v.Left = -5, v.Top = 6, v.Width = 170, v.Height = 18;
    v.Flags = 0x1234;
    v.FrameTyp = frftLeft | frftTop;
    v.FrameWidth = 0.5;
    v.FrameColor = 0x00112233;
    v.FrameStyle = uint16_t(FrameStyle::DashDot);
    v.FillColor = 0x00445566;
    v.Format = 0x01020300 + ',';
    v.FormatStr = "#,##0.00";
    v.Memo = {ru("первая"), "", "third"};
    v.Script = {"begin Visible := 0 end"};
    v.Visible = 0;
    v.Restrictions = 0x0055;
    v.Tag = "tag";
    v.GapX = 7, v.GapY = 8;
    v.BandAlign = baRest;
}

std::unique_ptr<TfrView> memoView() {
    auto m = std::make_unique<TfrMemoView>();
    fillCommon(*m);
    m->FontName = "Times New Roman";
    m->FontSize = 14;
    m->FontStyle = fsItalic | fsUnderline;
    m->FontColor = 0x000000FF;
    m->Alignment = frtaJustify | frtaMiddle;
    m->FontCharset = 0;
    m->HighlightFontStyle = fsStrikeOut;
    m->HighlightFontColor = 0x00ABCDEF;
    m->HighlightFillColor = 0x00FEDCBA;
    m->HighlightCondition = "[Value] > 100";
    m->LineSpacing = 5;
    m->CharSpacing = 1;
    return m;
}

std::unique_ptr<TfrView> pictureView() {
    auto p = std::make_unique<TfrPictureView>();
    fillCommon(*p);
    p->BlobType = btJPG;
    p->Picture = {gkBitmap, std::string("BM\x10\0\0\0\0\0", 8) + "pixels"};
    return p;
}

std::unique_ptr<TfrView> bandView() {
    auto b = std::make_unique<TfrBandView>();
    fillCommon(*b);
    b->FrameTyp = btGroupHeader;
    b->ChildBand = "Band7";
    b->Columns = 3, b->ColumnWidth = 120, b->ColumnGap = 4, b->RowsPerColumn = 2;
    b->Master = "Band2";
    return b;
}

std::unique_ptr<TfrView> subReportView() {
    auto s = std::make_unique<TfrSubReportView>();
    fillCommon(*s);
    s->SubPage = 3;
    return s;
}

std::unique_ptr<TfrView> lineView() {
    auto l = std::make_unique<TfrLineView>();
    fillCommon(*l);
    l->FrameTyp = kLineHorizontal;
    return l;
}

std::unique_ptr<TfrView> addInView() {
    auto a = std::make_unique<TestAddIn>();
    fillCommon(*a);
    a->Extra = -77;
    return a;
}

std::string recordOf(const TfrView& v) {
    ByteStream s;
    WritePrepared(s, v);
    return s.bytes();
}

std::unique_ptr<TfrView> readBack(const std::string& bytes) {
    ByteStream s(bytes);
    auto v = ReadPreparedObject(s);
    EXPECT_TRUE(s.atEnd()) << "record not read to its end";
    return v;
}

// The class fields in their template form, for comparing two views.
std::string classFieldsOf(const TfrView& v) {
    ByteStream s;
    v.writeClassFields(s);
    return s.bytes();
}

struct ClassCase {
    const char* name;
    std::function<std::unique_ptr<TfrView>()> make;
};

class PreparedRecordTest : public testing::TestWithParam<ClassCase> {
protected:
    AddInRegistered addIn_;
};

TEST_P(PreparedRecordTest, KeepsWhatIsShownAndDropsWhatOnlyTheTemplateNeeds) {
    const auto original = GetParam().make();
    const auto back = readBack(recordOf(*original));
    ASSERT_EQ(back->typeCode(), original->typeCode());
    EXPECT_EQ(back->className(), original->className());

    EXPECT_EQ(back->Name, original->Name);
    EXPECT_EQ(back->ObjectVersion, 2);
    EXPECT_EQ(back->ObjectSubVersion, original->typeCode() == gtBand ? 1 : 3);
    EXPECT_EQ(back->Left, original->Left);
    EXPECT_EQ(back->Top, original->Top);
    EXPECT_EQ(back->Width, original->Width);
    EXPECT_EQ(back->Height, original->Height);
    EXPECT_EQ(back->Flags, original->Flags);
    EXPECT_EQ(back->FrameTyp, original->FrameTyp);
    EXPECT_EQ(back->FrameWidth, original->FrameWidth);
    EXPECT_EQ(back->FrameColor, original->FrameColor);
    EXPECT_EQ(back->FrameStyle, original->FrameStyle);
    EXPECT_EQ(back->FillColor, original->FillColor);
    EXPECT_EQ(back->Memo, original->Memo);
    EXPECT_EQ(back->Restrictions, original->Restrictions);
    EXPECT_EQ(back->Tag, original->Tag);
    EXPECT_EQ(back->GapX, original->GapX);
    EXPECT_EQ(back->GapY, original->GapY);
    EXPECT_EQ(back->BandAlign, original->BandAlign);

    // Not stored: what a fresh object of the class has.
    const auto fresh = original->typeCode() == gtAddIn ? std::make_unique<TestAddIn>()
                                                       : createView(original->typeCode());
    EXPECT_EQ(back->Format, fresh->Format);
    EXPECT_EQ(back->FormatStr, "");
    EXPECT_TRUE(back->Script.empty());
    EXPECT_NE(back->Visible, 0);
    const std::string record = recordOf(*original);
    EXPECT_EQ(record.find(original->FormatStr), std::string::npos);
    EXPECT_EQ(record.find(original->Script.front()), std::string::npos);

    if (original->typeCode() != gtMemo) {
        EXPECT_EQ(classFieldsOf(*back), classFieldsOf(*original));
    }
    // Written again, the record is the same bytes.
    EXPECT_EQ(recordOf(*back), record);
}

INSTANTIATE_TEST_SUITE_P(
    EveryViewClass, PreparedRecordTest,
    testing::Values(ClassCase{"Memo", memoView}, ClassCase{"Picture", pictureView},
                    ClassCase{"Band", bandView}, ClassCase{"SubReport", subReportView},
                    ClassCase{"Line", lineView}, ClassCase{"AddIn", addInView}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreparedMemoRecordTest, StoresTheFontButNoHighlight) {
    const auto original = memoView();
    const auto& m = static_cast<const TfrMemoView&>(*original);
    const std::string record = recordOf(m);
    EXPECT_EQ(record.find(m.HighlightCondition), std::string::npos);

    const auto back = readBack(record);
    const auto& b = static_cast<const TfrMemoView&>(*back);
    EXPECT_EQ(b.FontName, m.FontName);
    EXPECT_EQ(b.FontSize, m.FontSize);
    EXPECT_EQ(b.FontStyle, m.FontStyle);
    EXPECT_EQ(b.FontColor, m.FontColor);
    EXPECT_EQ(b.Alignment, m.Alignment);
    EXPECT_EQ(b.FontCharset, m.FontCharset);
    EXPECT_EQ(b.LineSpacing, m.LineSpacing);
    EXPECT_EQ(b.CharSpacing, m.CharSpacing);
    const TfrMemoView fresh;
    EXPECT_EQ(b.HighlightFontStyle, fresh.HighlightFontStyle);
    EXPECT_EQ(b.HighlightFontColor, fresh.HighlightFontColor);
    EXPECT_EQ(b.HighlightFillColor, fresh.HighlightFillColor);
    EXPECT_EQ(b.HighlightCondition, "");
}

// The layout byte by byte, so a field out of place shows here.
TEST(PreparedMemoRecordTest, Layout) {
    TfrMemoView m;
    m.Name = "Memo1";
    m.Left = 5, m.Top = 6, m.Width = 70, m.Height = 18;
    m.FrameWidth = 1.5;
    m.Memo = {"a", "bc"};
    m.Tag = "t";
    m.BandAlign = baBottom;
    m.FontStyle = fsBold;
    m.HighlightCondition = "1";

    FrfBytes expected(25);
    expected.u8(0).text("Memo1").u8(2).u8(0);
    expected.i32(5).i32(6).i32(70).i32(18).u16(3).u16(0).i32(1500).i32(0).u16(0);
    expected.i32(0x1FFFFFFF).lines({"a", "bc"}).u16(0).text("t").i32(2).i32(1).u8(baBottom);
    expected.text("Arial").i32(10).u16(fsBold).i32(0).i32(0).u16(204).i32(2).i32(0);
    EXPECT_EQ(recordOf(m), expected.str());
}

// A stream of one object of every class, and where each record ends.
struct PageStream {
    std::string bytes;
    std::vector<size_t> recordEnds;
};

PageStream pageOfEveryClass() {
    PageStream page;
    ByteStream s;
    BeginPreparedStream(s);
    for (auto make : {memoView, pictureView, bandView, subReportView, lineView, addInView}) {
        WritePrepared(s, *make());
        page.recordEnds.push_back(s.position());
    }
    page.bytes = s.bytes();
    return page;
}

TEST(PreparedStreamTest, ReadsEveryRecordInOrder) {
    AddInRegistered addIn;
    const PageStream page = pageOfEveryClass();
    ByteStream s(page.bytes);
    const auto objects = ReadPreparedObjects(s);
    ASSERT_EQ(objects.size(), 6u);
    const uint8_t codes[] = {gtMemo, gtPicture, gtBand, gtSubReport, gtLine, gtAddIn};
    for (size_t i = 0; i < objects.size(); ++i)
        EXPECT_EQ(objects[i]->typeCode(), codes[i]) << i;
    EXPECT_EQ(static_cast<const TestAddIn&>(*objects[5]).Extra, -77);

    ByteStream empty(std::string(1, char(kPreparedEdition)));
    EXPECT_TRUE(ReadPreparedObjects(empty).empty());
}

TEST(PreparedStreamTest, EveryTruncationIsRejectedOrEndsAtARecord) {
    AddInRegistered addIn;
    const PageStream page = pageOfEveryClass();
    for (size_t length = 0; length < page.bytes.size(); ++length) {
        ByteStream s(page.bytes.substr(0, length));
        const auto end = std::find(page.recordEnds.begin(), page.recordEnds.end(), length);
        if (length == 1 || end != page.recordEnds.end()) {
            const size_t whole = length == 1 ? 0 : size_t(end - page.recordEnds.begin()) + 1;
            EXPECT_EQ(ReadPreparedObjects(s).size(), whole) << length;
        } else {
            EXPECT_THROW(ReadPreparedObjects(s), FrfFormatError) << length;
        }
    }
}

TEST(PreparedStreamTest, MalformedStreamsAreRejected) {
    const std::string memo = recordOf(*memoView());
    ByteStream picture;
    BeginPreparedStream(picture);
    WritePrepared(picture, *pictureView());
    // The picture's end offset sits just before its data.
    const size_t dataSize = static_cast<TfrPictureView&>(*pictureView()).Picture.data.size();
    const size_t endAt = picture.size() - dataSize - 4;

    struct Case {
        const char* what;
        std::string bytes;
    };
    std::vector<Case> cases = {
        {"edition 24", "\x18" + memo},
        {"edition 26", "\x1A" + memo},
        {"type code 5", "\x19\x05" + memo.substr(1)},
        {"type code 255", "\x19\xFF"},
        {"class not registered", "\x19" + recordOf(*addInView())},
    };
    for (int32_t end : {int32_t(endAt), int32_t(picture.size() + 1), -1}) {
        std::string bytes = picture.bytes();
        for (int i = 0; i < 4; ++i)
            bytes[endAt + i] = char((uint32_t(end) >> (8 * i)) & 0xFF);
        cases.push_back({"picture end offset outside its data", bytes});
    }
    for (const Case& c : cases) {
        ByteStream s(c.bytes);
        EXPECT_THROW(ReadPreparedObjects(s), FrfFormatError) << c.what;
    }
}

} // namespace
} // namespace pv
