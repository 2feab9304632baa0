#include "report/template/source/TemplateSource.h"
#include "platform/CodePage.h"
#include "report/model/BandView.h"
#include "report/model/ByteStream.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/model/SubReportView.h"
#include "report/template/Report.h"
#include "report/template/frf/FrfWriter.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

// Every object kind, every band type, every kind of dictionary entry, with
// values away from their defaults, written as the decompiler writes it.
const char* const kFullSource = R"src(report
  print-to-default no
  double-pass yes
  printer "Kyocera FS-1020"
  name "Анкета"
  comment "Проба \"всего\""
  author "pachkaview"
  version "1" "2" "3" "45"
  password "секрет"
  created 2006-01-15 10:30:00

dictionary
  category Шапка
  variable reg_nom "[reg_nom]"
  variable "Итог за год" "SUM([frDBDataSet1.\"F_Sum\"])"
  category Прочее "note"
  field-alias frDBDataSet1.F_Fam "Фамилия"
  source-alias frDBDataSet1 "Люди"

page Page1
  paper A3
  orientation landscape
  margins 36 18 36 18
  bin 7
  use-margins no
  columns 2
  column-gap 10
  script "begin"
  script "  x := 1;"
  script "end"

  band ReportTitle1 ReportTitle
    rect 0 36 1400 40
    flags stretched newpage breaked onfirstpage

  memo Title
    rect 0 40 718 30
    flags wordwrap autowidth suppress
    frame all
    frame-width 0.5
    frame-color #FF0000
    frame-style double
    fill #FFFF80
    format number 1 2 ","
    format-text "#,##0.00"
    text "Анкета [reg_nom]"
    text ""
    text "tab\x09and \\ backslash \x98"
    script "if [x] > 1 then Visible := False"
    visible no
    restrictions 5
    tag "[tag]"
    gap 4 3
    band-align width
    subversion 1
    font "Times New Roman" 14 italic bold
    font-color #0000FF
    align center middle
    charset 0
    highlight-style underline
    highlight-color #00FF00
    highlight-fill none
    highlight-condition "Value < 0"
    line-spacing 4
    char-spacing 1

  band MasterData1 MasterData
    rect 0 100 1400 20
    data frDBDataSet1
    child Child1
    columns 2
    column-width 300
    column-gap 15
    rows-per-column 3

  band Child1 Child
    rect 0 120 1400 20

  band GroupHeader1 GroupHeader
    rect 0 140 1400 20
    data "[frDBDataSet1.\"F_Dep\"]"
    master MasterData1

  picture Logo
    rect 10 10 50 50
    flags center
    text "frDBDataSet1.\"Photo\""
    blob-type jpeg
    image bmp
    image-data Qk0AAQID

  picture Empty
    rect 70 10 50 50

  line Line1
    rect 0 130 1400 0
    direction horizontal
    frame-width 2

  line Line2
    rect 100 0 0 200
    direction vertical

  subreport SubReport1
    rect 0 200 300 40
    sub-page 1

page Page2
  paper custom 1000 1500
  type dialog
  border-style 2
  caption "Вопрос"
  color #C0C0C0
  window 10 20 300 200
  position 0

page Page3
  paper Letter
)src";

std::string allBandTypes() {
    std::string s = "report\n\npage Page1\n";
    const char* types[] = {"ReportTitle",     "ReportSummary", "PageHeader",      "PageFooter",
                           "MasterHeader",    "MasterData",    "MasterFooter",    "DetailHeader",
                           "DetailData",      "DetailFooter",  "SubdetailHeader", "SubdetailData",
                           "SubdetailFooter", "Overlay",       "ColumnHeader",    "ColumnFooter",
                           "GroupHeader",     "GroupFooter",   "CrossHeader",     "CrossData",
                           "CrossFooter",     "Child"};
    int n = 0;
    for (const char* t : types) {
        ++n;
        s += "\n  band B" + std::to_string(n) + " " + t + "\n    rect 0 " + std::to_string(n * 10) +
             " 700 10\n";
    }
    return s;
}

class TemplateSourceTest : public ::testing::Test {
protected:
    TemplateSourceTest() { frPrinter().setDevices({}); }

    static std::string compile(const std::string& source) {
        TfrReport r;
        readTemplateSource(source, r);
        return frf(r);
    }
    static std::string frf(TfrReport& r) {
        ByteStream s;
        writeFrf(r, s, r.PrinterName, 46000.5);
        return s.bytes();
    }
    static std::string decompile(const std::string& bytes) {
        TfrReport r;
        ByteStream s(bytes);
        r.LoadFromStream(s);
        EXPECT_EQ(r.lastLoad(), LoadResult::Ok) << r.lastLoadDetail();
        return writeTemplateSource(r);
    }
};

TEST_F(TemplateSourceTest, FullSourceCompilesDecompilesAndLoadsBackIdentically) {
    for (const std::string& source : {std::string(kFullSource), allBandTypes()}) {
        std::string bytes = compile(source);
        EXPECT_EQ(decompile(bytes), source);
        EXPECT_EQ(compile(decompile(bytes)), bytes);
    }
}

TEST_F(TemplateSourceTest, SourceFillsTheModel) {
    TfrReport r;
    readTemplateSource(kFullSource, r);
    EXPECT_EQ(r.PrintToDefault, 0);
    EXPECT_EQ(r.PrinterName, "Kyocera FS-1020");
    EXPECT_EQ(r.Info.ReportComment, ru("Проба \"всего\""));
    EXPECT_EQ(r.Info.VBuild, "45");
    EXPECT_DOUBLE_EQ(r.Info.CreationDate, 38732.4375);
    ASSERT_EQ(r.Dictionary.Variables.Count(), 4);
    EXPECT_EQ(r.Dictionary.Variables.Name(0), ru(" Шапка"));
    EXPECT_EQ(r.Dictionary.Variables.Name(2), ru("Итог за год"));
    EXPECT_EQ(r.Dictionary.Variables.ValueAt(3), Variant("note"));

    ASSERT_EQ(r.PageCount(), 3);
    const TfrPage& p = *r.Pages[0];
    EXPECT_EQ(p.Size, 8);
    EXPECT_EQ(p.PaperWidth, 4200);
    EXPECT_EQ(p.PaperHeight, 2970);
    EXPECT_EQ(p.Bin, 7);
    EXPECT_EQ(p.UseMargins, 0);
    EXPECT_EQ(p.Script.size(), 3u);
    EXPECT_EQ(r.Pages[1]->Size, 256);
    EXPECT_EQ(r.Pages[1]->PaperHeight, 1500);
    EXPECT_EQ(r.Pages[2]->PaperWidth, 2159);

    auto& title = dynamic_cast<TfrMemoView&>(*r.FindObject("Title"));
    EXPECT_EQ(title.Flags, flWordWrap | flAutoWidth | flSuppress);
    EXPECT_EQ(title.FrameTyp, 15);
    EXPECT_EQ(title.FrameColor, 0x0000FFu); // #FF0000 is red, the lowest byte
    EXPECT_EQ(title.Format, 0x01010200 | ',');
    EXPECT_EQ(title.Memo[2], "tab\tand \\ backslash \x98");
    EXPECT_EQ(title.FontStyle, fsItalic | fsBold);
    EXPECT_EQ(title.Alignment, frtaCenter | frtaMiddle);
    EXPECT_EQ(title.HighlightFillColor, clNone);
    EXPECT_EQ(title.ObjectSubVersion, 1);
    auto& master = dynamic_cast<TfrBandView&>(*r.FindObject("MasterData1"));
    EXPECT_EQ(master.bandType(), btMasterData);
    EXPECT_EQ(master.Flags, 48);
    EXPECT_EQ(master.FormatStr, "frDBDataSet1");
    auto& logo = dynamic_cast<TfrPictureView&>(*r.FindObject("Logo"));
    EXPECT_EQ(logo.Picture.kind, gkBitmap);
    EXPECT_EQ(logo.Picture.data, std::string("BM\0\1\2\3", 6));
    EXPECT_EQ(logo.Flags, flPictCenter);
    EXPECT_EQ(r.FindObject("Line2")->FrameTyp, kLineVertical);
    EXPECT_EQ(dynamic_cast<TfrSubReportView&>(*r.FindObject("SubReport1")).SubPage, 1);
    EXPECT_EQ(r.FindObject("Empty")->Format, 2 * 256 + ',');
}

TEST_F(TemplateSourceTest, FrfToSourceToFrfGivesTheSameBytes) {
    // A template whose fields are all away from the source's defaults, in
    // binary form first.
    std::string bytes = compile(kFullSource);
    std::string source = decompile(bytes);
    EXPECT_EQ(compile(source), bytes);
}

TEST_F(TemplateSourceTest, HandWrittenShortcuts) {
    TfrReport r;
    readTemplateSource("# comment\n"
                       "report\n"
                       "page\n"
                       "  paper A4\n"
                       "  margins 10mm 5mm 0 1px\n"
                       "  memo\n"
                       "    rect 10mm 0 5.5mm 1mm\n"
                       "    text \"x\"\n"
                       "  memo\n"
                       "  line\n"
                       "    rect 0 0 10 200\n"
                       "  line\n"
                       "    rect 0 0 200 10\n",
                       r);
    ASSERT_EQ(r.PageCount(), 1);
    const TfrPage& p = *r.Pages[0];
    EXPECT_EQ(p.Name, "Page1");
    EXPECT_EQ(p.LeftMargin, 36);
    EXPECT_EQ(p.TopMargin, 18);
    EXPECT_EQ(p.BottomMargin, 1);
    const TfrView& m = *p.Objects[0];
    EXPECT_EQ(m.Name, "Memo1");
    EXPECT_EQ(m.Left, 36);
    EXPECT_EQ(m.Width, 20);
    EXPECT_EQ(m.Height, 4);
    EXPECT_EQ(p.Objects[1]->Name, "Memo2");
    EXPECT_EQ(p.Objects[2]->FrameTyp, kLineVertical);
    EXPECT_EQ(p.Objects[3]->FrameTyp, kLineHorizontal);
    EXPECT_EQ(p.Objects[3]->Name, "Line2");
}

// A row of boxes laid out in millimetres, each starting where the one before
// ends, and a column of them: the shared edges must land on the same pixel,
// or the two frame lines are drawn side by side.
TEST_F(TemplateSourceTest, BoxesThatMeetInMillimetresMeetInPixels) {
    const double widths[] = {7.5, 22, 22, 19, 15.5, 19, 28, 22, 29, 4.3, 0.7};
    std::string source = "page\n";
    double at = 15;
    for (double w : widths) {
        source += "  memo\n    rect " + std::to_string(at) + "mm " + std::to_string(at - 10) +
                  "mm " + std::to_string(w) + "mm " + std::to_string(w) + "mm\n";
        at += w;
    }
    TfrReport r;
    readTemplateSource(source, r);
    const auto& objects = r.Pages[0]->Objects;
    ASSERT_EQ(objects.size(), std::size(widths));
    for (size_t i = 0; i + 1 < objects.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(objects[i]->Left + objects[i]->Width, objects[i + 1]->Left);
        EXPECT_EQ(objects[i]->Top + objects[i]->Height, objects[i + 1]->Top);
    }
    // The edges are the rounded millimetres: 15 mm is 54 px, 22.5 mm is 81 px.
    EXPECT_EQ(objects[0]->Left, 54);
    EXPECT_EQ(objects[0]->Width, 27);
    EXPECT_EQ(objects[1]->Left, 81);

    TfrReport pixels;
    readTemplateSource("page\n  memo\n    rect 3 4 100 7px\n  memo\n    rect 1mm 0 10 1mm\n",
                       pixels);
    const TfrView& p0 = *pixels.Pages[0]->Objects[0];
    EXPECT_EQ(std::vector<int>({p0.Left, p0.Top, p0.Width, p0.Height}),
              std::vector<int>({3, 4, 100, 7}));
    const TfrView& p1 = *pixels.Pages[0]->Objects[1];
    EXPECT_EQ(std::vector<int>({p1.Left, p1.Width, p1.Height}), std::vector<int>({4, 10, 4}));
}

TEST_F(TemplateSourceTest, MistakesAreReportedWithTheirLine) {
    struct Case {
        const char* source;
        int line;
        const char* message;
    } cases[] = {
        {"report\n  colour red\n", 2, "unknown key \"colour\" in report"},
        {"  memo M\n", 1, "outside a page"},
        {"page P\n  memo M\n    font-size 3\n", 3, "unknown key \"font-size\" in memo"},
        {"page P\n  band B Masterdata2\n", 2, "is not one of ReportTitle"},
        {"page P\n  memo M\n    text \"open\n", 3, "closing quote"},
        {"page P\n  memo M\n    text \"\\q\"\n", 3, "unknown escape"},
        {"page P\n  memo M\n    text \"日本\"\n", 3, "no place in the 1251 code page"},
        {"page P\n  memo M\n    rect 1 2 3\n", 3, "takes 4 value(s), found 3"},
        {"page P\n  memo M\n    rect 1 2 3 x\n", 3, "\"x\" is not a whole number"},
        {"page P\n  memo M\n    rect 1e300mm 2 3 4\n", 3, "is not a length"},
        {"page P\n  memo M\n  memo M\n", 3, "a second object named \"M\""},
        {"page P\n  paper custom\n", 2, "needs its width and height"},
        {"page P\n  paper 49\n", 2, "not in the paper table"},
        {"dictionary\n  variable a \"1\"\n", 2, "must follow a category"},
        {"page P\n  memo M\n    fill blue\n", 3, "is not a colour"},
        {"page P\n  picture P1\n    image-data QUJD\n", 3, "needs an \"image\" kind"},
        {"page P\n  picture P1\n    image bmp\n    image-data !!\n", 2, "not base64"},
        {"page P\n  memo M\n    restrictions 70000\n", 3, "outside 0..65535"},
        {"report\n  created 2006-13-01 10:00:00\n", 2, "\"created\" takes a date"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        TfrReport r;
        try {
            readTemplateSource(c.source, r);
            ADD_FAILURE() << "accepted";
        } catch (const TemplateSourceError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

// Values without a word are written as numbers beside the words, and read back.
TEST_F(TemplateSourceTest, BitsAndCodesWithoutWordsSurvive) {
    TfrReport r;
    TfrPage& p = r.AddPage();
    p.ChangePaper(9, 0, 0, 0, -1);
    auto memo = std::make_unique<TfrMemoView>();
    memo->Name = "M";
    memo->FontStyle = 0xFFFF;
    memo->HighlightFontStyle = 0x30;
    memo->Flags = 0xF003;
    memo->FrameTyp = 0x1F;
    memo->Alignment = 0x1B;
    memo->Format = 0x7F000000;
    memo->FrameStyle = 9;
    memo->BandAlign = 200;
    auto band = std::make_unique<TfrBandView>();
    band->Name = "B";
    band->FrameTyp = 40;
    auto line = std::make_unique<TfrLineView>();
    line->Name = "L";
    line->FrameTyp = 0;
    p.Objects.push_back(std::move(memo));
    p.Objects.push_back(std::move(band));
    p.Objects.push_back(std::move(line));
    std::string bytes = frf(r);
    std::string source = decompile(bytes);
    EXPECT_EQ(compile(source), bytes) << source;
}

TEST_F(TemplateSourceTest, DatesThatAreNotWholeMillisecondsStayExact) {
    TfrReport r;
    r.Info.CreationDate = 38732.123456789;
    std::string source = writeTemplateSource(r);
    TfrReport back;
    readTemplateSource(source, back);
    EXPECT_EQ(back.Info.CreationDate, 38732.123456789);
    r.Info.CreationDate = 38732.5;
    EXPECT_NE(writeTemplateSource(r).find("created 2006-01-15 12:00:00\n"), std::string::npos);
}

} // namespace
} // namespace pv
