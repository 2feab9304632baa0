// The program's own form templates, prepared over the tables a real batch
// fills: every person and every period must reach the printed pages, and the
// first page is drawn to a picture beside the test binaries for the eye.
#include "report/data/DataSet.h"
#include "report/data/DataSourceRegistry.h"
#include "report/model/Page.h"
#include "report/model/View.h"
#include "report/prepare/ReportPreparation.h"
#include "report/prepared/PreparedPages.h"
#include "report/qt/QtPainterCanvas.h"
#include "report/template/Report.h"
#include "tests/support/BatchRun.h"

#include "platform/FontService.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace pv {
namespace {

using testing::BatchRun;

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "form_templates";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

std::vector<std::string> fixtureLines(const std::string& relative) {
    std::ifstream in(std::string(PV_SOURCE_DIR) + "/tests/fixtures/" + relative);
    EXPECT_TRUE(in) << relative;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The texts printed on one prepared page, in UTF-8.
std::vector<std::string> pageTexts(TfrReport& report, int page) {
    std::vector<std::string> out;
    for (const auto& view : report.EMFPages().Objects(page).Objects)
        for (const std::string& line : view->Memo)
            out.push_back(cp1251ToUtf8(line));
    return out;
}

// The texts printed level with the first box that shows `text`, left to right.
std::vector<std::string> rowWith(TfrReport& report, int page, const std::string& text) {
    const auto& views = report.EMFPages().Objects(page).Objects;
    const std::string wanted = utf8ToCp1251(text);
    for (const auto& view : views) {
        if (view->Memo.empty() || view->Memo.front() != wanted) continue;
        std::vector<std::pair<int, std::string>> row;
        for (const auto& other : views)
            if (other->Top == view->Top && !other->Memo.empty())
                row.emplace_back(other->Left, cp1251ToUtf8(other->Memo.front()));
        std::sort(row.begin(), row.end());
        std::vector<std::string> out;
        for (auto& [left, t] : row)
            out.push_back(t);
        return out;
    }
    return {};
}

// The texts of `count` printed rows, starting with the row of the first box
// that shows `text`: each row left to right, empty boxes left out.
std::vector<std::vector<std::string>> rowsFrom(TfrReport& report, int page, const std::string& text,
                                               size_t count) {
    const auto& views = report.EMFPages().Objects(page).Objects;
    const std::string wanted = utf8ToCp1251(text);
    auto first = std::find_if(views.begin(), views.end(), [&](const auto& v) {
        return !v->Memo.empty() && v->Memo.front() == wanted;
    });
    if (first == views.end()) return {};
    std::map<int, std::vector<std::pair<int, std::string>>> byTop;
    for (const auto& v : views)
        if (v->Top >= (*first)->Top && !v->Memo.empty() && !v->Memo.front().empty())
            byTop[v->Top].emplace_back(v->Left, cp1251ToUtf8(v->Memo.front()));
    std::vector<std::vector<std::string>> out;
    for (auto& [top, row] : byTop) {
        if (out.size() == count) break;
        std::sort(row.begin(), row.end());
        out.emplace_back();
        for (auto& [left, t] : row)
            out.back().push_back(t);
    }
    return out;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const auto& t : texts)
        all += t + "\n";
    return all;
}

// A batch run whose shown report is the compiled template the driver asked
// for, prepared over the run's tables under their data-source names.
class FormRun {
public:
    FormRun() {
        application();
        run_.context.ProgramDir = std::string(PV_BINARY_DIR) + "/bin/";
        for (const auto& entry : run_.tables.all()) {
            auto source = std::make_unique<TfrDBDataSet>(entry.dataSource);
            source->SetDataSet(entry.table);
            sources_.add(*source);
            datasets_.push_back(std::move(source));
        }
        run_.reports.onShow = [this] { prepare(); };
    }

    // Runs a whole batch file (header included) given as UTF-8 lines.
    void runLines(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& l : lines)
            bytes += codepage::fromUtf16(codepage::utf8ToUtf16(l), 866) + "\r\n";
        run_.parsers.emptyRunTables();
        run_.driver.batchFile().openBytes(std::move(bytes));
        run_.driver.processOpenedFile();
        ASSERT_TRUE(run_.shown()) << run_.message();
    }

    // Prepares a template directly, over whatever the tables hold now.
    void prepareTemplate(const std::string& name) {
        templatePath_ = std::string(PV_BINARY_DIR) + "/bin/TempPlay/" + name;
        prepareLoaded();
    }

    int pageCount() { return report_.EMFPages().Count(); }
    std::vector<std::string> texts(int page) { return pageTexts(report_, page); }
    std::string allText() {
        std::string all;
        for (int p = 0; p < pageCount(); ++p)
            all += joined(texts(p));
        return all;
    }

    // Draws the page on a white A4 sheet at 96 pixels per inch and saves it.
    QImage render(int page, const std::string& pngName) {
        QImage image(794, 1123, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            QtPainterCanvas canvas(painter, FontService::shared(), 96);
            // Only a page the preview shows is drawn.
            report_.EMFPages().Page(page).visible = true;
            report_.EMFPages().PaintPage(page, canvas, {0, 0, image.width(), image.height()});
        }
        image.save(QString::fromStdString(std::string(PV_BINARY_DIR) + "/" + pngName));
        return image;
    }

    std::vector<std::string> row(int page, const std::string& text) {
        return rowWith(report_, page, text);
    }
    std::vector<std::vector<std::string>> rows(int page, const std::string& text, size_t count) {
        return rowsFrom(report_, page, text, count);
    }

    BatchRun& batch() { return run_; }
    TfrReport& report() { return report_; }

private:
    void prepare() {
        ASSERT_FALSE(run_.reports.loads.empty());
        templatePath_ = run_.reports.loads.back().second;
        prepareLoaded();
    }
    void prepareLoaded() {
        ASSERT_TRUE(report_.LoadFromFile(templatePath_)) << templatePath_;
        report_.setUi(&run_.ui);
        ReportPreparation preparation(report_, sources_);
        ASSERT_TRUE(preparation.Prepare());
        ASSERT_FALSE(preparation.errorMessage()) << *preparation.errorMessage();
    }

    BatchRun run_;
    DataSourceRegistry sources_;
    std::vector<std::unique_ptr<TfrDBDataSet>> datasets_;
    TfrReport report_;
    std::string templatePath_;
};

// Share of the sheet that is not white: a blank or black page both fail.
double inkShare(const QImage& image) {
    long inked = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (qGray(image.pixel(x, y)) < 128) ++inked;
    return double(inked) / ((image.width() / 2) * (image.height() / 2));
}

TEST(Szv41Form, EveryPersonGetsASheetWithHisOwnPeriods) {
    FormRun form;
    form.runLines(fixtureLines("szv4/in41_periods.utf8"));
    ASSERT_EQ(form.pageCount(), 3) << form.allText();

    struct Expected {
        int page;
        std::vector<std::string> present;
        std::vector<std::string> absent; // another person's periods
    };
    const std::vector<Expected> cases = {
        {0,
         {"111-111-111 11",
          "АНДРЕЕВ",
          "АНДРЕЙ",
          "АНДРЕЕВИЧ",
          "г. Уфа, ул. Ленина, д. 1",
          "01.01.2005",
          "31.03.2005",
          "01.04.2005",
          "31.12.2005",
          "У1",
          "К1",
          "О1",
          "Т1",
          "У2",
          "ДУ",
          "ДК",
          "2-15",
          "36-0",
          "0.5",
          "100,00",
          "20,00",
          "3 мес. 12 дн."},
         {"ТЕКСТ"}},
        {1, {"222-222-222 22", "БОРИСОВА", "ВЕРА", "0 мес. 5 дн."}, {"У1", "01.01.2005"}},
        {2, {"333-333-333 33", "ВАСИЛЬЕВ", "01.01.2005", "31.12.2005", "ТЕКСТ"}, {"У1", "У2"}},
    };
    for (const auto& c : cases) {
        const std::string page = joined(form.texts(c.page));
        for (const auto& text : c.present)
            EXPECT_NE(page.find(text), std::string::npos) << "page " << c.page << ": " << text;
        for (const auto& text : c.absent)
            EXPECT_EQ(page.find(text), std::string::npos) << "page " << c.page << ": " << text;
    }
    // The employer's header values are on every sheet.
    for (int p = 0; p < form.pageCount(); ++p) {
        const std::string page = joined(form.texts(p));
        EXPECT_NE(page.find("016-001-000123"), std::string::npos) << p;
        EXPECT_NE(page.find("12345678"), std::string::npos) << p;
    }
    const double ink = inkShare(form.render(0, "szv_4_1_page1.png"));
    EXPECT_GT(ink, 0.005);
    EXPECT_LT(ink, 0.3);
}

// Each person takes three rows, as on the blank: the contributions stacked in
// one column beside the period and its two durations, the address under the
// insurance number; the batch totals are stacked the same way.
TEST(Szv42Form, EachPersonTakesThreeRowsAndTheBatchTotalsFollow) {
    FormRun form;
    auto lines = fixtureLines("header/in42.utf8");
    lines.push_back(
        "\"ИН42\",1,\"111-111-111 11\",\"АНДРЕЕВ\",\"АНДРЕЙ\",\"АНДРЕЕВИЧ\",\"\","
        "\"г. Уфа, ул. Ленина, д. 1\",\"10.50\",\"2.25\",0,\"01/01/2005\",\"30.06.2005\","
        "2,3,0,5");
    lines.push_back("\"ИН42\",2,\"222-222-222 22\",\"БОРИСОВА\",\"ВЕРА\",\"\",\"\",\"\",\"7\",0,0,"
                    "\"01.07.2005\",\"31.12.2005\",0,0,0,0");
    form.runLines(lines);
    ASSERT_EQ(form.pageCount(), 1);

    using Rows = std::vector<std::vector<std::string>>;
    const std::vector<std::pair<std::string, Rows>> people = {
        {"111-111-111 11",
         {{"1", "111-111-111 11", "АНДРЕЕВ АНДРЕЙ АНДРЕЕВИЧ", "10,50", "01.01.2005", "30.06.2005"},
          {"г. Уфа, ул. Ленина, д. 1", "2,25", "2 мес. 3 дн."},
          {"0,00", "0 мес. 5 дн."}}},
        {"222-222-222 22",
         {{"2", "222-222-222 22", "БОРИСОВА ВЕРА ", "7,00", "01.07.2005", "31.12.2005"},
          {"0,00"},
          {"0,00"}}},
        // The totals are the batch header's, not a sum of the rows.
        {"Итого по пачке", {{"Итого по пачке", "12345,67"}, {"234,50"}, {"0,00"}}},
    };
    for (const auto& [anchor, expected] : people)
        EXPECT_EQ(form.rows(0, anchor, 3), expected) << anchor;
    const std::string page = joined(form.texts(0));
    for (const char* text : {"016-001-000123", "12345678", "17", "2005"})
        EXPECT_NE(page.find(text), std::string::npos) << text;

    const double ink = inkShare(form.render(0, "szv_4_2_page1.png"));
    EXPECT_GT(ink, 0.005);
    EXPECT_LT(ink, 0.3);
}

// The title page takes its values from report variables only; before any
// batch they are all empty and the page still prints its captions.
TEST(TitlePage, PrintsTheBatchHeaderValuesItIsGiven) {
    struct Case {
        const char* name;
        const char* png;
        std::vector<std::pair<const char*, const char*>> variables;
    };
    const std::vector<Case> cases = {
        {"after a batch",
         "titl_page1.png",
         {{"reg_nom", "016-001-000123"},
          {"inn", "12345678"},
          {"kpp", "160101001"},
          {"nazvan", "ООО \"Ромашка\""},
          {"nom_pach", "17"}}},
        {"before any batch",
         "titl_empty.png",
         {{"reg_nom", ""}, {"inn", ""}, {"kpp", ""}, {"nazvan", ""}, {"nom_pach", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormRun form;
        for (const auto& [name, value] : c.variables)
            frVariables().SetValue(name, Variant(utf8ToCp1251(value)));
        form.prepareTemplate("Titl.frf");
        ASSERT_EQ(form.pageCount(), 1);
        const std::string page = joined(form.texts(0));
        for (const char* caption : {"ТИТУЛЬНЫЙ ЛИСТ", "Регистрационный номер в ПФР", "Номер пачки"})
            EXPECT_NE(page.find(caption), std::string::npos) << caption;
        EXPECT_EQ(form.row(0, "Регистрационный номер в ПФР"),
                  (std::vector<std::string>{"Регистрационный номер в ПФР", c.variables[0].second}));
        for (const auto& [name, value] : c.variables)
            if (*value) EXPECT_NE(page.find(value), std::string::npos) << name;
        const double ink = inkShare(form.render(0, c.png));
        EXPECT_GT(ink, 0.002);
        frVariables().Clear();
    }
}

} // namespace
} // namespace pv
