#include "report/qt/PreviewForm.h"
#include "report/qt/PreviewPaintBox.h"
#include "report/qt/ShowPreview.h"

#include "platform/CodePage.h"
#include "report/export/ExportFilter.h"
#include "report/export/ExportFilterRegistry.h"
#include "report/prepared/PreparedPages.h"
#include "report/printer/Printer.h"
#include "report/template/Report.h"
#include "tests/support/PreparedPagesSupport.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace pv {
namespace {

using test::kA4Width;
using test::memo;
using test::templatePage;

// A page of text boxes; the first line is a heading in capitals.
void addTextPage(TfrEMFPages& pages, const std::vector<std::string>& lines) {
    pages.AppendPage(templatePage());
    const int index = pages.Count() - 1;
    int top = 60;
    int n = 0;
    for (const std::string& line : lines) {
        pages.AddObject(index, memo("Memo" + std::to_string(++n), 50, top, 500, 30, {line}));
        top += 40;
    }
}

void addLink(TfrEMFPages& pages, int index, const std::string& tag) {
    TfrMemoView link = memo("URL1", 50, 400, 300, 30, {ru("Перейти")});
    link.Tag = tag;
    pages.AddObject(index, link);
}

// Counts what an export hands the filter.
class CountingFilter : public TfrExportFilter {
public:
    void BeginPage() override { ++pages; }
    int pages = 0;
};

class PreviewFormTest : public ::testing::Test {
protected:
    PreviewFormTest() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(scratch.file("settings")));
        rememberedZoom() = ZoomState{};
    }

    // Pages 1..count, each saying which page it is.
    void preparePages(int count) {
        for (int i = 1; i <= count; ++i)
            addTextPage(report.EMFPages(), {ru("СТРАНИЦА ") + std::to_string(i), ru("Текст")});
    }

    std::unique_ptr<TfrPreviewForm> openForm(QSize size = {900, 700}) {
        auto form = std::make_unique<TfrPreviewForm>(report);
        form->resize(size);
        form->takePages();
        form->show();
        QCoreApplication::processEvents();
        return form;
    }

    // Where a point of a page in report pixels appears in the page area.
    static QPoint onPage(const TfrPreviewForm& form, int page, int x, int y) {
        const Rect& r = form.pages()->Page(page - 1).screenRect;
        const double f = form.zoom().factor;
        return QPoint(r.left + int(x * f) - form.horizontalBar()->value(),
                      r.top + int(y * f) - form.verticalBar()->value());
    }

    test::ScratchDir scratch;
    TfrReport report;
};

TEST_F(PreviewFormTest, CaptionAddsTheTitle) {
    const struct {
        const char* title;
        const char* caption;
    } cases[] = {
        {"", "Предварительный просмотр"},
        {"Опись", "Предварительный просмотр - Опись"},
    };
    for (const auto& c : cases) {
        report.Title = ru(c.title);
        TfrPreviewForm form(report);
        EXPECT_EQ(form.windowTitle(), QString::fromUtf8(c.caption)) << c.title;
    }
}

TEST_F(PreviewFormTest, ToolbarShowsTheButtonsAskedForWithTheirHints) {
    const TfrPreviewButton all[] = {pbZoom, pbLoad, pbSave, pbPrint,
                                    pbFind, pbHelp, pbExit, pbPageSetup};
    const TfrPreviewButtons cases[] = {kDefaultPreviewButtons, pbZoom | pbSave | pbPrint | pbExit,
                                       pbFind, 0};
    for (TfrPreviewButtons shown : cases) {
        report.PreviewButtons = shown;
        TfrPreviewForm form(report);
        form.show();
        for (TfrPreviewButton b : all) {
            const bool expected = (shown & b) && b != pbPageSetup;
            EXPECT_EQ(form.button(b)->isVisibleTo(&form), expected)
                << "buttons " << shown << ", button " << b;
        }
    }
    TfrPreviewForm form(report);
    const std::pair<TfrPreviewButton, const char*> hints[] = {
        {pbZoom, "Масштаб"},        {pbLoad, "Открыть отчет"}, {pbSave, "Сохранить отчет в файле"},
        {pbPrint, "Печать отчета"}, {pbFind, "Поиск"},         {pbHelp, "Показать справку"},
        {pbExit, "Выход"}};
    for (const auto& [b, hint] : hints)
        EXPECT_EQ(form.button(b)->toolTip(), QString::fromUtf8(hint));
}

// Installs one printer in the engine's printer model for a test.
class InstalledPrinterScope {
public:
    InstalledPrinterScope() { frPrinter().setDevices({std::make_shared<AnyPaperPrinter>()}); }
    ~InstalledPrinterScope() { frPrinter().setDevices({}); }

private:
    class AnyPaperPrinter : public InstalledPrinter {
    public:
        std::string name() const override { return "Laser"; }
        bool applyPaper(const PaperSettings&) override { return true; }
        PrinterCapabilities capabilities() const override {
            PrinterCapabilities caps;
            caps.physicalWidth = 2480, caps.physicalHeight = 3508;
            caps.printableWidth = 2400, caps.printableHeight = 3400;
            return caps;
        }
    };
};

TEST_F(PreviewFormTest, PrintButtonNeedsAnInstalledPrinter) {
    ASSERT_EQ(frPrinter().VirtualIndex(), 0);
    preparePages(1);
    auto form = openForm();
    form->setPrintHook([](TfrReport&, int) {});
    EXPECT_FALSE(form->button(pbPrint)->isEnabled());
}

TEST_F(PreviewFormTest, PrintButtonNeedsAHookAndLendsThePagesToIt) {
    InstalledPrinterScope printer;
    preparePages(3);
    auto form = openForm();
    EXPECT_FALSE(form->button(pbPrint)->isEnabled());
    form->print(); // no hook: nothing happens
    EXPECT_EQ(form->pageCount(), 3);

    int seenPages = -1, seenCurrent = -1;
    form->setPrintHook([&](TfrReport& r, int current) {
        seenPages = r.EMFPages().Count();
        seenCurrent = current;
    });
    EXPECT_TRUE(form->button(pbPrint)->isEnabled());
    form->goToPage(2);
    QTest::keyClick(form->pageArea(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(seenPages, 3);
    EXPECT_EQ(seenCurrent, 2);
    // The pages came back to the window.
    EXPECT_EQ(form->pageCount(), 3);
    EXPECT_EQ(report.EMFPages().Count(), 0);
}

TEST_F(PreviewFormTest, KeysMoveBetweenPages) {
    preparePages(4);
    auto form = openForm();
    EXPECT_EQ(form->pageLabelText(), QString::fromUtf8("Стр. 1/4"));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* label;
    } steps[] = {
        {Qt::Key_End, Qt::ControlModifier, "Стр. 4/4"},
        {Qt::Key_PageDown, Qt::ControlModifier, "Стр. 4/4"}, // no page after the last
        {Qt::Key_PageUp, Qt::ControlModifier, "Стр. 3/4"},
        {Qt::Key_Home, Qt::ControlModifier, "Стр. 1/4"},
        {Qt::Key_PageUp, Qt::ControlModifier, "Стр. 1/4"},
        {Qt::Key_PageDown, Qt::ControlModifier, "Стр. 2/4"},
        {Qt::Key_PageDown, Qt::ControlModifier, "Стр. 3/4"},
    };
    for (const auto& s : steps) {
        QTest::keyClick(form->pageArea(), s.key, s.modifiers);
        EXPECT_EQ(form->pageLabelText(), QString::fromUtf8(s.label)) << s.label;
    }
}

TEST_F(PreviewFormTest, ScrollingMakesThePageAtTheTopCurrent) {
    preparePages(3);
    auto form = openForm();
    QScrollBar* bar = form->verticalBar();
    const Rect& second = form->pages()->Page(1).screenRect;
    bar->setValue(second.top - 5);
    EXPECT_EQ(form->currentPage(), 2);
    // Down scrolls by the small step, Page Down by the area's height.
    const int before = bar->value();
    QTest::keyClick(form->pageArea(), Qt::Key_Down);
    EXPECT_EQ(bar->value(), before + bar->singleStep());
    QTest::keyClick(form->pageArea(), Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), before + bar->singleStep() + bar->pageStep());
}

TEST_F(PreviewFormTest, WheelAndDragScrollTheView) {
    preparePages(3);
    auto form = openForm();
    QScrollBar* bar = form->verticalBar();
    const int start = bar->value();
    QWheelEvent down(QPointF(100, 100), QPointF(form->pageArea()->mapToGlobal(QPoint(100, 100))),
                     QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(form->pageArea(), &down);
    EXPECT_EQ(bar->value(), start + bar->singleStep());

    // Dragging with the left button moves the pages with the mouse.
    const int before = bar->value();
    QTest::mousePress(form->pageArea(), Qt::LeftButton, {}, QPoint(200, 300));
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 200),
                     QPointF(form->pageArea()->mapToGlobal(QPoint(200, 200))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->pageArea(), &move);
    QTest::mouseRelease(form->pageArea(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(bar->value(), before + 100);
}

TEST_F(PreviewFormTest, SpaceAndTheRightButtonOpenTheZoomMenu) {
    preparePages(1);
    auto form = openForm();
    QTest::keyClick(form->pageArea(), Qt::Key_Space);
    EXPECT_TRUE(form->zoomMenu()->isVisible());
    form->zoomMenu()->hide();
    QTest::mouseClick(form->pageArea(), Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_TRUE(form->zoomMenu()->isVisible());
    form->zoomMenu()->hide();
    QStringList texts;
    for (QAction* a : form->zoomMenu()->actions())
        texts << a->text();
    EXPECT_EQ(texts.join('|'),
              QString::fromUtf8("200%|150%|100%|75%|50%|25%|10%|"
                                "По ширине страницы|Страница целиком|Две страницы"));
}

TEST_F(PreviewFormTest, AnAreaTooSmallForThePageKeepsAUsableZoom) {
    preparePages(2);
    report.InitialZoom = TfrPreviewZoom::pzPageWidth;
    auto form = std::make_unique<TfrPreviewForm>(report);
    form->pageArea()->setFixedSize(12, 12);
    form->takePages();
    form->show();
    QCoreApplication::processEvents();
    EXPECT_GT(form->zoom().factor, 0);
    for (int i = 0; i < form->pageCount(); ++i) {
        const Rect& r = form->pages()->Page(i).screenRect;
        EXPECT_GT(r.width(), 0);
        EXPECT_GT(r.height(), 0);
    }
    form->pageArea()->grab(); // paints without trouble
}

TEST_F(PreviewFormTest, ZoomMenuChoicesSetTheLabelAndAreRemembered) {
    preparePages(2);
    auto form = std::make_unique<TfrPreviewForm>(report);
    form->pageArea()->setFixedSize(1000, 600);
    form->takePages();
    form->show();
    QCoreApplication::processEvents();
    ASSERT_EQ(form->pageArea()->width(), 1000);

    const struct {
        int choice;
        const char* label;
    } cases[] = {
        {7, "129%"},                          // page width: (1000 - 20) / 758
        {4, "50%"},  {0, "200%"}, {8, "54%"}, // whole page: (600 - 20) / 1071
        {9, "64%"},                           // two pages: (1000 - 30) / (2 × 758)
    };
    for (const auto& c : cases) {
        form->chooseZoom(c.choice);
        EXPECT_EQ(form->zoomText(), QString::fromUtf8(c.label)) << c.choice;
        EXPECT_TRUE(form->zoomMenu()->actions()[c.choice]->isChecked()) << c.choice;
        EXPECT_EQ(form->horizontalBar()->value(), 0);
    }
    EXPECT_EQ(form->zoomMenu()->actions()[8]->text(), QString::fromUtf8("Страница целиком"));

    // The menu's choice, not the mode a report opens with, stays for the next preview.
    form->chooseZoom(4);
    form.reset();
    preparePages(1);
    report.InitialZoom = TfrPreviewZoom::pzDefault;
    form = openForm();
    EXPECT_EQ(form->zoomText(), QString::fromUtf8("50%"));
    form.reset();
    preparePages(1);
    report.InitialZoom = TfrPreviewZoom::pzPageWidth;
    form = std::make_unique<TfrPreviewForm>(report);
    form->pageArea()->setFixedSize(1000, 600);
    form->takePages();
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->zoomText(), QString::fromUtf8("129%"));
    EXPECT_EQ(form->zoom().mode, ZoomMode::PageWidth);
}

TEST_F(PreviewFormTest, ClickingLinkObjects) {
    const struct {
        const char* tag;
        int page;          // the page the preview shows afterwards
        const char* shell; // what was opened with the desktop
        const char* hint;
    } cases[] = {
        {"@3", 3, "", "Стр. 3"},
        {"@0", 1, "", "Стр. 1"},
        {"@9", 1, "", ""}, // beyond the last page: no link
        {"http://www.pfrf.ru/", 1, "http://www.pfrf.ru/", "http://www.pfrf.ru/"},
    };
    for (const auto& c : cases) {
        preparePages(4);
        addLink(report.EMFPages(), 0, c.tag);
        auto form = openForm();
        std::string opened;
        form->setShellOpener([&](const std::string& target) { opened = target; });
        const QPoint at = onPage(*form, 1, 100, 410);
        QTest::mouseMove(form->pageArea(), at);
        form->mouseMoved(at, Qt::NoButton);
        EXPECT_EQ(form->hintText(), QString::fromUtf8(c.hint)) << c.tag;
        QTest::mouseClick(form->pageArea(), Qt::LeftButton, {}, at);
        EXPECT_EQ(form->currentPage(), c.page) << c.tag;
        EXPECT_EQ(opened, c.shell) << c.tag;
        form.reset();
        report.EMFPages().ClearPages();
    }
}

TEST_F(PreviewFormTest, ClickingAPageMakesItCurrent) {
    preparePages(3);
    report.InitialZoom = TfrPreviewZoom::pzTwoPages;
    auto form = openForm({1000, 700});
    ASSERT_GT(form->pages()->Page(1).screenRect.left, form->pages()->Page(0).screenRect.right);
    QTest::mouseClick(form->pageArea(), Qt::LeftButton, {}, onPage(*form, 2, 700, 1000));
    EXPECT_EQ(form->currentPage(), 2);
}

TEST_F(PreviewFormTest, FindIgnoresCaseAndGoesOnWithF3) {
    addTextPage(report.EMFPages(), {ru("Анкета"), ru("Текст")});
    addTextPage(report.EMFPages(), {ru("ИТОГО ПО СТРАНИЦЕ"), ru("ВСЕГО"), ru("ИТОГО ЗА ГОД")});
    addTextPage(report.EMFPages(), {ru("Итого по пачке")});
    auto form = openForm();
    EXPECT_FALSE(form->hitRect());

    ASSERT_TRUE(form->findText(ru("итого"), false, true));
    EXPECT_EQ(form->currentPage(), 2);
    const QRect first = *form->hitRect();
    QTest::keyClick(form->pageArea(), Qt::Key_F3);
    EXPECT_EQ(form->currentPage(), 2);
    const QRect second = *form->hitRect();
    EXPECT_GT(second.top(), first.bottom());
    QTest::keyClick(form->pageArea(), Qt::Key_F3);
    EXPECT_EQ(form->currentPage(), 3);
    // After the last page nothing more is found and the view stays.
    QTest::keyClick(form->pageArea(), Qt::Key_F3);
    EXPECT_EQ(form->currentPage(), 3);

    // The case box on: only the exact spelling matches.
    EXPECT_FALSE(form->findText(ru("итого"), true, true));
    ASSERT_TRUE(form->findText(ru("Итого"), true, true));
    EXPECT_EQ(form->currentPage(), 3);
    // Going on from the current page does not go back.
    form->goToPage(3);
    EXPECT_FALSE(form->findText(ru("ВСЕГО"), false, false));
    ASSERT_TRUE(form->findText(ru("ВСЕГО"), false, true));
    EXPECT_EQ(form->currentPage(), 2);
}

TEST_F(PreviewFormTest, TheHitIsPaintedInverted) {
    addTextPage(report.EMFPages(), {ru("ИТОГО"), ru("ВСЕГО")});
    auto form = openForm();
    const QImage before = form->pageArea()->grab().toImage();
    ASSERT_TRUE(form->findText(ru("всего"), false, true));
    const QRect hit = *form->hitRect();
    ASSERT_TRUE(QRect(QPoint(0, 0), before.size()).contains(hit));
    const QImage after = form->pageArea()->grab().toImage();
    int inverted = 0, total = 0;
    for (int y = hit.top(); y <= hit.bottom(); ++y)
        for (int x = hit.left(); x <= hit.right(); ++x, ++total)
            if ((after.pixel(x, y) & 0xFFFFFF) == (~before.pixel(x, y) & 0xFFFFFF)) ++inverted;
    EXPECT_EQ(inverted, total);
    // Outside the hit nothing changed.
    const QPoint outside(hit.left(), hit.bottom() + 30);
    EXPECT_EQ(after.pixel(outside), before.pixel(outside));
}

TEST_F(PreviewFormTest, FindDialogCaptions) {
    preparePages(1);
    auto form = openForm();
    QStringList seen;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        seen << dialog->windowTitle();
        for (auto* w : dialog->findChildren<QWidget*>()) {
            const QVariant text = w->property("text");
            const QVariant title = w->property("title");
            if (text.isValid() && !text.toString().isEmpty()) seen << text.toString();
            if (title.isValid() && !title.toString().isEmpty()) seen << title.toString();
        }
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("SearchText")))
            edit->setText(QString::fromUtf8("текст"));
        if (auto* ok = dialog->findChild<QWidget*>(QStringLiteral("OkButton")))
            QTest::mouseClick(ok, Qt::LeftButton);
    });
    QTest::keyClick(form->pageArea(), Qt::Key_F, Qt::ControlModifier);
    for (const char* caption : {"Поиск", "Искать &текст", "Опции поиска", "Различать &регистр",
                                "Искать", "С &начала", "&Продолжить", "ОК", "Отмена"})
        EXPECT_TRUE(seen.contains(QString::fromUtf8(caption))) << caption;
    // The dialog's search ran: "Текст" is on the page.
    EXPECT_TRUE(form->hitRect());
}

TEST_F(PreviewFormTest, SaveExportsThroughTheFilterAndAddsTheExtensionOnce) {
    CountingFilter filter;
    ASSERT_TRUE(RegisterExportFilter(filter, ru("Тестовый документ(*.tst)"), "*.tst"));
    preparePages(2);
    auto form = openForm();
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {
        {"out", "out.tst"},
        {"same.tst", "same.tst"},
        {"upper.TST", "upper.TST"},
    };
    for (const auto& c : cases) {
        QStringList offered;
        form->setFileChooser(
            [&](TfrPreviewForm::FileDialogKind kind,
                const QStringList& filters) -> std::optional<TfrPreviewForm::FileChoice> {
                EXPECT_EQ(kind, TfrPreviewForm::FileDialogKind::Save);
                offered = filters;
                return TfrPreviewForm::FileChoice{QString::fromStdString(scratch.file(c.chosen)),
                                                  int(filters.size()) - 1};
            });
        filter.pages = 0;
        form->save();
        EXPECT_TRUE(offered.contains(QString::fromUtf8("Тестовый документ(*.tst) (*.tst)")));
        EXPECT_TRUE(std::filesystem::exists(scratch.file(c.written))) << c.chosen;
        EXPECT_EQ(filter.pages, 2) << c.chosen;
        EXPECT_EQ(form->pageCount(), 2);
        EXPECT_EQ(report.EMFPages().Count(), 0);
    }
    // Cancelling writes nothing.
    form->setFileChooser([](auto, const QStringList&) { return std::nullopt; });
    filter.pages = 0;
    form->save();
    EXPECT_EQ(filter.pages, 0);
    UnregisterExportFilter(filter);
}

TEST_F(PreviewFormTest, LoadReplacesThePagesAndStartsAtPageOne) {
    TfrReport other;
    for (int i = 0; i < 3; ++i)
        addTextPage(other.EMFPages(), {ru("Загружено")});
    const std::string file = scratch.file("saved.frp");
    ASSERT_TRUE(other.SavePreparedFile(file));

    preparePages(2);
    auto form = openForm();
    form->goToPage(2);
    QStringList offered;
    form->setFileChooser(
        [&](TfrPreviewForm::FileDialogKind kind,
            const QStringList& filters) -> std::optional<TfrPreviewForm::FileChoice> {
            EXPECT_EQ(kind, TfrPreviewForm::FileDialogKind::Open);
            offered = filters;
            return TfrPreviewForm::FileChoice{QString::fromStdString(file), 0};
        });
    QTest::keyClick(form->pageArea(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(offered, QStringList{QString::fromUtf8("Файл отчета (*.frp)")});
    EXPECT_EQ(form->pageCount(), 3);
    EXPECT_EQ(form->pageLabelText(), QString::fromUtf8("Стр. 1/3"));
    EXPECT_EQ(report.EMFPages().Count(), 0);
    EXPECT_FALSE(report.CanRebuild());
}

class ThrowingFilter : public TfrExportFilter {
public:
    void BeginPage() override { throw std::runtime_error("disk full"); }
};

TEST_F(PreviewFormTest, FailedSaveAndLoadAreShownAndLeaveAUsableWindow) {
    ThrowingFilter filter;
    ASSERT_TRUE(RegisterExportFilter(filter, ru("Сбойный(*.bad)"), "*.bad"));
    preparePages(2);
    auto form = openForm();
    const std::string garbage = scratch.file("garbage.frp");
    {
        std::ofstream out(garbage, std::ios::binary);
        out << "\x19\x00 this is no prepared report";
    }
    form->setFileChooser(
        [&](TfrPreviewForm::FileDialogKind kind,
            const QStringList& filters) -> std::optional<TfrPreviewForm::FileChoice> {
            if (kind == TfrPreviewForm::FileDialogKind::Open)
                return TfrPreviewForm::FileChoice{QString::fromStdString(garbage), 0};
            return TfrPreviewForm::FileChoice{QString::fromStdString(scratch.file("out")),
                                              int(filters.size()) - 1};
        });
    auto shown = std::make_shared<QString>();
    auto watchMessage = [shown] {
        QTimer::singleShot(0, [shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                *shown = box->windowTitle() + QStringLiteral(": ") + box->text();
                box->reject();
            }
        });
    };

    watchMessage();
    form->save();
    EXPECT_EQ(*shown, QStringLiteral("Ошибка: disk full"));
    EXPECT_EQ(form->pageCount(), 2); // the pages came back
    EXPECT_EQ(report.EMFPages().Count(), 0);

    watchMessage();
    form->load();
    EXPECT_EQ(*shown, QString::fromUtf8("Ошибка: Неверный FRF формат"));
    EXPECT_EQ(form->pageCount(), 0);
    EXPECT_EQ(form->pageLabelText(), QString());
    // Without pages the keys and the painting do nothing harmful.
    QTest::keyClick(form->pageArea(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(form->pageArea(), Qt::Key_F3);
    form->pageArea()->grab();
    UnregisterExportFilter(filter);
}

TEST_F(PreviewFormTest, ShowPreviewWithoutPagesShowsNothing) {
    report.ModalPreview = true;
    EXPECT_EQ(ShowPreview(report), nullptr);
    report.ModalPreview = false;
    EXPECT_EQ(ShowPreview(report), nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && qobject_cast<TfrPreviewForm*>(w));
}

TEST_F(PreviewFormTest, ShowPreviewTakesThePagesAndRemembersThePlacement) {
    preparePages(2);
    report.ModalPreview = false;
    QPointer<TfrPreviewForm> form = ShowPreview(report);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->pageCount(), 2);
    EXPECT_EQ(report.EMFPages().Count(), 0);
    // The first opening is maximized.
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
    form->showNormal();
    form->setGeometry(40, 50, 640, 480);
    QCoreApplication::processEvents();
    form->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(form); // deleted with its pages

    preparePages(1);
    form = ShowPreview(report);
    ASSERT_TRUE(form);
    EXPECT_FALSE(form->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(form->size(), QSize(640, 480));
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(PreviewFormTest, ModalShowPreviewReturnsWhenClosedWithEscape) {
    preparePages(2);
    report.ModalPreview = true;
    int shownPages = -1;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<TfrPreviewForm*>(QApplication::activeModalWidget());
        if (!form) return;
        shownPages = form->pageCount();
        QTest::keyClick(form->pageArea(), Qt::Key_Escape);
    });
    EXPECT_EQ(ShowPreview(report), nullptr);
    EXPECT_EQ(shownPages, 2);
    EXPECT_EQ(report.EMFPages().Count(), 0);
}

// A picture of the window for review: two pages of text boxes.
TEST_F(PreviewFormTest, RendersTwoPagesForReview) {
    addTextPage(report.EMFPages(), {ru("СВЕДЕНИЯ О СТРАХОВОМ СТАЖЕ"), ru("Фамилия: Иванов"),
                                    ru("Имя: Иван"), ru("Итого: 12 месяцев")});
    addTextPage(report.EMFPages(), {ru("ОПИСЬ ДОКУМЕНТОВ"), ru("Страница вторая")});
    report.Title = ru("СЗВ-4-1");
    report.InitialZoom = TfrPreviewZoom::pzTwoPages;
    auto form = openForm({1000, 760});
    ASSERT_TRUE(form->findText(ru("иванов"), false, true));
    const QImage image = form->grab().toImage();
    const std::string out = std::string(PV_BINARY_DIR) + "/preview_form.png";
    ASSERT_TRUE(image.save(QString::fromStdString(out)));
    // The area around the pages is grey, the pages white.
    const QImage area = form->pageArea()->grab().toImage();
    EXPECT_EQ(area.pixel(3, 3) & 0xFFFFFF, 0x808080u);
    const Rect& page = form->pages()->Page(1).screenRect;
    EXPECT_EQ(area.pixel(page.left + 5, page.bottom - 5) & 0xFFFFFF, 0xFFFFFFu);
}

} // namespace
} // namespace pv
