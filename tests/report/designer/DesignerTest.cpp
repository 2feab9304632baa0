#include "report/designer/Designer.h"
#include "report/designer/DesignerDocument.h"
#include "report/designer/DesignerPage.h"
#include "report/designer/ObjectInspector.h"

#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/model/BandView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/template/Report.h"
#include "report/template/source/TemplateSource.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace pv {
namespace {

using test::readBytes;
using test::TempDir;
namespace fs = std::filesystem;

std::string titleSource() {
    std::ifstream in(PV_SOURCE_DIR "/templates/Titl.pvt", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The title template compiled into `dir`/Titl.frf, as the program ships it.
std::string writeTitleTemplate(const TempDir& dir) {
    TfrReport report;
    report.setClock([] { return 46000.0; });
    readTemplateSource(titleSource(), report);
    const std::string path = dir.file("Titl.frf");
    EXPECT_TRUE(report.SaveToFile(path));
    return path;
}

std::string sourceOfFile(const std::string& path) {
    TfrReport report;
    EXPECT_TRUE(report.LoadFromFile(path));
    EXPECT_EQ(report.lastLoad(), LoadResult::Ok);
    return writeTemplateSource(report);
}

// Typed key by key; QTest's own typing knows only Latin letters.
void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class DesignerTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = writeTitleTemplate(dir);
        ASSERT_TRUE(report.LoadFromFile(path));
        designer = std::make_unique<TfrDesigner>(report, path, ui);
        designer->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(designer.get()));
        page = designer->pageView();
    }

    QPoint centre(const char* name) {
        TfrView* v = report.FindObject(name);
        EXPECT_NE(v, nullptr) << name;
        return page->screenRect(*v).center().toPoint();
    }
    void trigger(const char* action) {
        auto* a = designer->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }
    template <class T> T* field(const char* name) {
        return designer->inspector()->findChild<T*>(QString::fromLatin1(name));
    }
    // A mouse drag on the page, in screen pixels.
    void drag(QPoint from, QPoint by, Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(page, Qt::LeftButton, mods, from);
        QTest::mouseMove(page, from + by / 2);
        QTest::mouseMove(page, from + by);
        QTest::mouseRelease(page, Qt::LeftButton, mods, from + by);
    }

    TempDir dir;
    std::string path;
    TfrReport report;
    ScriptedUi ui;
    std::unique_ptr<TfrDesigner> designer;
    DesignerPage* page = nullptr;
};

TEST_F(DesignerTest, MovedTextBoxWithNewTextAndFontIsSavedWithNothingElseChanged) {
    // What the same edits give when made on the model directly.
    TfrReport expected;
    ASSERT_TRUE(expected.LoadFromFile(path));
    auto& want = dynamic_cast<TfrMemoView&>(*expected.FindObject("Title"));
    want.Left = DesignerDocument::fromMm(20 + 10 + 1);
    want.Top = DesignerDocument::fromMm(60 + 5);
    want.Memo = {ru("ОПИСЬ ПАЧКИ")};
    want.FontName = "Arial";
    want.FontSize = 16;
    want.FontStyle &= ~fsBold;

    // Ten millimetres right and five down with the mouse, one more to the right by key.
    const double zoom = page->zoom();
    drag(centre("Title"), QPoint(int(10 * DesignerDocument::kPixelsPerMm * zoom),
                                 int(5 * DesignerDocument::kPixelsPerMm * zoom)));
    ASSERT_EQ(designer->document().selection().size(), 1u);
    EXPECT_EQ(designer->document().current()->Name, "Title");
    QTest::keyClick(page, Qt::Key_Right);

    auto* text = field<QPlainTextEdit>("text");
    text->setFocus();
    text->selectAll();
    type(text, QStringLiteral("ОПИСЬ ПАЧКИ"));
    auto* fontName = field<QLineEdit>("fontName");
    fontName->setFocus();
    fontName->selectAll();
    QTest::keyClicks(fontName, QStringLiteral("Arial"));
    QTest::keyClick(fontName, Qt::Key_Return);
    auto* size = field<QSpinBox>("fontSize");
    size->setValue(16);
    QTest::mouseClick(field<QWidget>("bold"), Qt::LeftButton);

    EXPECT_TRUE(designer->document().modified());
    ASSERT_TRUE(designer->save());
    EXPECT_FALSE(designer->document().modified());
    EXPECT_EQ(sourceOfFile(path), writeTemplateSource(expected));
    EXPECT_FALSE(fs::exists(path + ".saving"));
    // The file is the current edition of the format.
    EXPECT_EQ(readBytes(path).at(0), char(25));
}

TEST_F(DesignerTest, UndoTakesBackOneActionAtATimeAndRedoReplaysIt) {
    const std::string before = writeTemplateSource(report);
    drag(centre("Fund"), QPoint(40, 0));
    QTest::keyClick(page, Qt::Key_Down, Qt::ShiftModifier); // a millimetre taller
    const std::string after = writeTemplateSource(report);
    ASSERT_NE(after, before);

    trigger("undo");
    trigger("undo");
    EXPECT_EQ(writeTemplateSource(report), before);
    EXPECT_FALSE(designer->document().canUndo());
    trigger("redo");
    trigger("redo");
    EXPECT_EQ(writeTemplateSource(report), after);
    // The selection survives the round trip.
    ASSERT_EQ(designer->document().selection().size(), 1u);
    EXPECT_EQ(designer->document().current()->Name, "Fund");
}

TEST_F(DesignerTest, ShiftClickSelectsSeveralAndTheyAlignToTheFirst) {
    QTest::mouseClick(page, Qt::LeftButton, {}, centre("LRegNom"));
    QTest::mouseClick(page, Qt::LeftButton, Qt::ShiftModifier, centre("Subtitle"));
    ASSERT_EQ(designer->document().selection().size(), 2u);
    drag(centre("Subtitle"), QPoint(0, 0)); // a click on a selected one keeps both
    ASSERT_EQ(designer->document().selection().size(), 2u);
    trigger("alignRight");
    const TfrView& ref = *report.FindObject("LRegNom");
    const TfrView& other = *report.FindObject("Subtitle");
    EXPECT_EQ(other.Left + other.Width, ref.Left + ref.Width);
    // Both move together by key.
    const int refLeft = ref.Left, otherLeft = other.Left;
    QTest::keyClick(page, Qt::Key_Left);
    EXPECT_LT(ref.Left, refLeft);
    EXPECT_LT(other.Left, otherLeft);
    // A click on empty paper drops the selection.
    QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(25, page->height() - 25));
    EXPECT_TRUE(designer->document().selection().empty());
}

TEST_F(DesignerTest, AddedCopiedAndDeletedObjectsHaveNamesOfTheirOwn) {
    TfrPage& p = report.Page(0);
    const size_t count = p.Objects.size();
    trigger("addMemo");
    trigger("addLine");
    trigger("addBand");
    ASSERT_EQ(p.Objects.size(), count + 3);
    EXPECT_EQ(p.Objects[count]->typeCode(), gtMemo);
    EXPECT_EQ(p.Objects[count + 1]->typeCode(), gtLine);
    EXPECT_EQ(p.Objects[count + 1]->Height, 0);
    EXPECT_EQ(p.Objects[count + 2]->typeCode(), gtBand);

    QTest::mouseClick(page, Qt::LeftButton, {}, centre("VInn"));
    trigger("copy");
    trigger("paste");
    ASSERT_EQ(p.Objects.size(), count + 4);
    const TfrView& pasted = *p.Objects.back();
    EXPECT_NE(pasted.Name, "VInn");
    EXPECT_EQ(report.FindObject(pasted.Name), &pasted);
    EXPECT_EQ(pasted.Memo, report.FindObject("VInn")->Memo);

    trigger("delete");
    EXPECT_EQ(p.Objects.size(), count + 3);
    trigger("undo"); // reloads the template: its pages are new
    EXPECT_EQ(report.Page(0).Objects.size(), count + 4);
}

TEST_F(DesignerTest, BandInspectorChangesTypeHeightAndDataSource) {
    QTest::mouseClick(page, Qt::LeftButton, {},
                      page->toScreen(5, report.FindObject("ReportTitle1")->Top + 5).toPoint());
    ASSERT_NE(designer->document().current(), nullptr);
    EXPECT_EQ(designer->document().current()->Name, "ReportTitle1");
    auto* source = field<QLineEdit>("dataSource");
    source->setFocus();
    QTest::keyClicks(source, QStringLiteral("frDBDataSet1"));
    QTest::keyClick(source, Qt::Key_Return);
    EXPECT_EQ(report.FindObject("ReportTitle1")->FormatStr, "frDBDataSet1");

    auto* type = field<QComboBox>("bandType");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down); // from "Report title" to the next type
    EXPECT_EQ(report.FindObject("ReportTitle1")->FrameTyp, btReportSummary);
    field<QDoubleSpinBox>("height")->setValue(100);
    EXPECT_EQ(report.FindObject("ReportTitle1")->Height, DesignerDocument::fromMm(100));
}

TEST_F(DesignerTest, ASourceErrorIsShownAtItsLineAndTheModelIsKept) {
    const std::string before = writeTemplateSource(report);
    designer->findChild<QTabWidget*>()->setCurrentIndex(1);
    QPlainTextEdit* source = designer->sourceView();
    ASSERT_FALSE(source->toPlainText().isEmpty());
    QTextCursor c(source->document()->findBlockByNumber(4));
    c.insertText(QStringLiteral("  nonsense here\n"));
    source->setTextCursor(c);
    QTest::mouseClick(designer->findChild<QWidget*>(QStringLiteral("applySource")), Qt::LeftButton);
    EXPECT_TRUE(designer->sourceError()->text().startsWith(QStringLiteral("Строка 5")))
        << designer->sourceError()->text().toStdString();
    EXPECT_EQ(source->textCursor().blockNumber(), 4);
    EXPECT_EQ(writeTemplateSource(report), before);
    EXPECT_FALSE(designer->document().canUndo());

    // A good edit goes into the model as one undoable step.
    source->setPlainText(QString::fromStdString(before).replace(QStringLiteral("ТИТУЛЬНЫЙ ЛИСТ"),
                                                                QStringLiteral("ТИТУЛ")));
    ASSERT_TRUE(designer->applySource());
    EXPECT_TRUE(designer->sourceError()->text().isEmpty());
    EXPECT_EQ(report.FindObject("Title")->Memo, Lines{ru("ТИТУЛ")});
    trigger("undo");
    EXPECT_EQ(writeTemplateSource(report), before);
}

TEST_F(DesignerTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    const std::string old = readBytes(path);
    // A directory that cannot be made: a file stands where it would be.
    test::writeBytes(dir.file("plain"), "x");
    designer->setSavePath(dir.file("plain/Titl.frf"));
    QTest::keyClick(page, Qt::Key_Down);
    QTest::mouseClick(page, Qt::LeftButton, {}, centre("Fund"));
    QTest::keyClick(page, Qt::Key_Down);
    EXPECT_FALSE(designer->save());
    ASSERT_EQ(ui.messages().size(), 1u);
    const std::string text = cp1251ToUtf8(ui.messages()[0].text);
    EXPECT_NE(text.find("plain/Titl.frf"), std::string::npos) << text;
    EXPECT_NE(text.find("Not a directory"), std::string::npos) << text;
    EXPECT_EQ(readBytes(path), old);
    EXPECT_TRUE(designer->document().modified());
}

TEST_F(DesignerTest, ClosingWithChangesAsksAndCancelKeepsTheDesignerOpen) {
    const std::string old = readBytes(path);
    QTest::mouseClick(page, Qt::LeftButton, {}, centre("Fund"));
    QTest::keyClick(page, Qt::Key_Up);
    ui.queueAnswer(MsgResult::Cancel);
    designer->close();
    EXPECT_TRUE(designer->isVisible());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].buttons, MsgButtons::YesNoCancel);
    ui.queueAnswer(MsgResult::No);
    designer->close();
    EXPECT_FALSE(designer->isVisible());
    EXPECT_EQ(readBytes(path), old);
}

TEST_F(DesignerTest, PreviewIsHandedTheTemplateAsItStandsUnsaved) {
    std::vector<int> topsSeen;
    designer->setPreview([&](TfrReport& r) { topsSeen.push_back(r.FindObject("Fund")->Top); });
    QTest::mouseClick(page, Qt::LeftButton, {}, centre("Fund"));
    QTest::keyClick(page, Qt::Key_Down);
    const std::string old = readBytes(path);
    trigger("preview");
    EXPECT_EQ(topsSeen, std::vector<int>{report.FindObject("Fund")->Top});
    EXPECT_EQ(readBytes(path), old);
}

TEST_F(DesignerTest, ZoomScalesThePageAndKeepsPickingRight) {
    const int width = page->width();
    trigger("zoomIn");
    EXPECT_GT(page->width(), width);
    QTest::mouseClick(page, Qt::LeftButton, {}, centre("VRegNom"));
    ASSERT_NE(designer->document().current(), nullptr);
    EXPECT_EQ(designer->document().current()->Name, "VRegNom");
}

// Saving into a directory the user may not write: the old file stays, and
// no temporary file is left behind.
TEST(DesignerDocumentTest, SaveIntoAReadOnlyDirectoryKeepsTheOldFile) {
    TempDir dir;
    const std::string path = writeTitleTemplate(dir);
    const std::string old = readBytes(path);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(path, fs::perms::owner_read | fs::perms::others_read);
    test::runUnprivileged([&] {
        TfrReport report;
        ASSERT_TRUE(report.LoadFromFile(path));
        DesignerDocument document(report, path);
        document.change([&] { report.FindObject("Title")->Top += 36; });
        const std::string why = document.save();
        EXPECT_NE(why.find("Permission denied"), std::string::npos) << why;
        EXPECT_EQ(readBytes(path), old);
        EXPECT_FALSE(fs::exists(path + ".saving"));
        EXPECT_TRUE(document.modified());
    });
}

} // namespace
} // namespace pv
