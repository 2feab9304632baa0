#include "tests/report/qt/PrintTestSupport.h"

#include "report/qt/PrintForm.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace pv {
namespace {

// A printer that takes any paper and reports A4.
class PaperPrinter : public InstalledPrinter {
public:
    explicit PaperPrinter(std::string name) : name_(std::move(name)) {}
    std::string name() const override { return name_; }
    bool applyPaper(const PaperSettings&) override { return true; }
    PrinterCapabilities capabilities() const override {
        PrinterCapabilities caps;
        caps.physicalWidth = 2480, caps.physicalHeight = 3508;
        caps.printableWidth = 2400, caps.printableHeight = 3400;
        return caps;
    }

private:
    std::string name_;
};

class PrintFormTest : public ::testing::Test {
protected:
    static TfrPrinter twoPrinters() {
        TfrPrinter printer;
        printer.setDevices(
            {std::make_shared<PaperPrinter>("Laser"), std::make_shared<PaperPrinter>("Office")});
        return printer;
    }

    template <class W> W* child(const char* name) {
        W* w = form.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // Every caption the dialog shows: window, groups, labels, buttons, choices.
    QStringList captions() {
        QStringList texts{form.windowTitle()};
        for (auto* g : form.findChildren<QGroupBox*>())
            texts << g->title();
        for (auto* l : form.findChildren<QLabel*>())
            if (!l->text().isEmpty()) texts << l->text();
        for (auto* b : form.findChildren<QAbstractButton*>())
            texts << b->text();
        for (auto* c : form.findChildren<QComboBox*>())
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
        return texts;
    }

    QApplication& app = test::application();
    TfrPrinter printer = twoPrinters();
    PrintForm form{printer};
};

TEST_F(PrintFormTest, ShowsEveryCaption) {
    const QStringList shown = captions();
    for (const char* caption :
         {"Печать", "Принтер", "Свойства...", "&Имя:", "Копии",
          "Число &копий:", "&Разобрать по копиям", "Страницы", "&Все", "&Текущая", "&Номера:",
          "Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12",
          "Вывести на &печать:", "Все страницы диапазона", "Нечетные страницы", "Четные страницы",
          "ОК", "Отмена"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(caption))) << caption;
}

TEST_F(PrintFormTest, StartsWithOneCollatedCopyOfAllPages) {
    EXPECT_EQ(form.copies(), 1);
    EXPECT_TRUE(form.collate());
    EXPECT_EQ(form.range(), PrintForm::Range::All);
    EXPECT_EQ(form.parity(), PageParity::All);
    EXPECT_EQ(form.pageListText(3), "");
    EXPECT_FALSE(child<QLabel>("collatePicture")->pixmap().isNull());
}

TEST_F(PrintFormTest, ListsTheInstalledPrintersWithTheCurrentOneSelected) {
    printer.SelectPrinter(1);
    PrintForm second(printer);
    auto* list = second.findChild<QComboBox*>("printerList");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2); // the virtual printer cannot print
    EXPECT_EQ(list->itemText(0), "Laser");
    EXPECT_EQ(list->itemText(1), "Office");
    EXPECT_EQ(list->currentIndex(), 1);
}

TEST_F(PrintFormTest, CopiesNeverGoBelowOne) {
    auto* copies = child<QSpinBox>("copies");
    copies->stepDown();
    EXPECT_EQ(form.copies(), 1);
    QTest::keyClick(copies, Qt::Key_Down);
    EXPECT_EQ(form.copies(), 1);
    QTest::keyClick(copies, Qt::Key_Up);
    EXPECT_EQ(form.copies(), 2);
    for (int wanted : {0, -5}) {
        form.setCopies(wanted);
        EXPECT_EQ(form.copies(), 1) << wanted;
    }
    form.setCopies(4);
    EXPECT_EQ(form.copies(), 4);
}

TEST_F(PrintFormTest, PageChoiceGivesThePageListText) {
    struct Case {
        const char* button;
        const char* typed;
        std::string expected;
    };
    const Case cases[] = {
        {"allPages", "", ""},
        {"currentPage", "", "7"},
        {"pageNumbers", "1,3, 5-6", "1,3, 5-6"},
        // Text typed earlier does not count unless the numbers are chosen.
        {"currentPage", "2-", "7"},
        {"allPages", "2-", ""},
    };
    auto* text = child<QLineEdit>("pageNumbersText");
    for (const Case& c : cases) {
        text->setText(c.typed);
        child<QRadioButton>(c.button)->setChecked(true);
        EXPECT_EQ(form.pageListText(7), c.expected) << c.button << " " << c.typed;
    }
}

TEST_F(PrintFormTest, TypingPageNumbersChoosesThem) {
    auto* text = child<QLineEdit>("pageNumbersText");
    QTest::keyClicks(text, "2-");
    EXPECT_EQ(form.range(), PrintForm::Range::Numbers);
    EXPECT_EQ(form.pageListText(1), "2-");
}

TEST_F(PrintFormTest, EnteringThePageNumberFieldChoosesIt) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    child<QLineEdit>("pageNumbersText")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(form.range(), PrintForm::Range::Numbers);
}

TEST_F(PrintFormTest, OddOrEvenChoice) {
    auto* parity = child<QComboBox>("parity");
    const PageParity expected[] = {PageParity::All, PageParity::Odd, PageParity::Even};
    for (int i = 0; i < 3; ++i) {
        parity->setCurrentIndex(i);
        EXPECT_EQ(form.parity(), expected[i]);
    }
}

TEST_F(PrintFormTest, ChoosingAPrinterSelectsItAtOnceAndCancelRestoresThePrevious) {
    auto* list = child<QComboBox>("printerList");
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_EQ(printer.PrinterIndex(), 1);
    EXPECT_TRUE(form.printerChanged());
    form.reject();
    EXPECT_EQ(printer.PrinterIndex(), 0);
}

TEST_F(PrintFormTest, AcceptingKeepsTheChosenPrinter) {
    auto* list = child<QComboBox>("printerList");
    list->setCurrentIndex(1);
    emit list->activated(1);
    form.accept();
    EXPECT_EQ(printer.PrinterIndex(), 1);
}

TEST(CollatePicture, DiffersBetweenCollatedAndNot) {
    test::application();
    EXPECT_NE(collatePicture(true).toImage(), collatePicture(false).toImage());
}

} // namespace
} // namespace pv
