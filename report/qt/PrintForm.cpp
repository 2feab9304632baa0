#include "report/qt/PrintForm.h"
#include "report/qt/QtText.h"

#include "platform/CodePage.h"
#include "report/printer/Printer.h"
#include "report/qt/QtInstalledPrinter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace pv {
namespace {


} // namespace

QPixmap collatePicture(bool collated) {
    // Collated: two sets of sheets 1, 2, 3; not collated: sheets 1, 2, 3 in
    // piles of two.
    const int stacks = collated ? 2 : 3, perStack = collated ? 3 : 2;
    const int w = 14, h = 18, step = 5, gap = 6;
    const int stackWidth = w + (perStack - 1) * step;
    QPixmap picture(stacks * (stackWidth + gap), h + (perStack - 1) * step + 1);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    for (int stack = 0; stack < stacks; ++stack)
        for (int sheet = 0; sheet < perStack; ++sheet) {
            const QRect r(stack * (stackWidth + gap) + sheet * step, sheet * step, w, h);
            p.drawRect(r);
            const int number = collated ? perStack - sheet : stack + 1;
            p.drawText(r, Qt::AlignCenter, QString::number(number));
        }
    return picture;
}

PrintForm::PrintForm(TfrPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer), previousPrinter_(printer.PrinterIndex()) {
    setWindowTitle(QStringLiteral("Печать"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makePrinterGroup());
    auto* row = new QHBoxLayout;
    row->addWidget(makeCopiesGroup());
    row->addWidget(makePagesGroup(), 1);
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    cancel->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrintForm::reject);
    layout->addWidget(buttons);
}

QWidget* PrintForm::makePrinterGroup() {
    auto* group = new QGroupBox(QStringLiteral("Принтер"), this);
    group->setObjectName("printerGroup");
    auto* grid = new QGridLayout(group);
    printers_ = new QComboBox(group);
    printers_->setObjectName("printerList");
    // The virtual printer only measures paper; it cannot print.
    const std::vector<std::string> names = printer_.Printers();
    for (int i = 0; i < printer_.VirtualIndex(); ++i)
        printers_->addItem(qt1251(names[i], CrLf::Keep));
    if (!printer_.isVirtual()) printers_->setCurrentIndex(printer_.PrinterIndex());
    connect(printers_, &QComboBox::activated, this, &PrintForm::printerChosen);
    auto* name = new QLabel(QStringLiteral("&Имя:"), group);
    name->setBuddy(printers_);
    properties_ = new QPushButton(QStringLiteral("Свойства..."), group);
    properties_->setObjectName("propertiesButton");
    connect(properties_, &QPushButton::clicked, this,
            [this] { ShowPrinterProperties(printer_, this); });
    grid->addWidget(name, 0, 0);
    grid->addWidget(printers_, 0, 1);
    grid->addWidget(properties_, 0, 2);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* PrintForm::makeCopiesGroup() {
    auto* group = new QGroupBox(QStringLiteral("Копии"), this);
    group->setObjectName("copiesGroup");
    auto* grid = new QGridLayout(group);
    copies_ = new QSpinBox(group);
    copies_->setObjectName("copies");
    copies_->setRange(1, 9999);
    auto* label = new QLabel(QStringLiteral("Число &копий:"), group);
    label->setBuddy(copies_);
    collate_ = new QCheckBox(QStringLiteral("&Разобрать по копиям"), group);
    collate_->setObjectName("collate");
    collatePicture_ = new QLabel(group);
    collatePicture_->setObjectName("collatePicture");
    connect(collate_, &QCheckBox::toggled, this, &PrintForm::showCollatePicture);
    grid->addWidget(label, 0, 0);
    grid->addWidget(copies_, 0, 1);
    grid->addWidget(collatePicture_, 1, 0);
    grid->addWidget(collate_, 1, 1);
    setCopies(1);
    setCollate(true);
    showCollatePicture();
    return group;
}

QWidget* PrintForm::makePagesGroup() {
    auto* group = new QGroupBox(QStringLiteral("Страницы"), this);
    group->setObjectName("pagesGroup");
    auto* grid = new QGridLayout(group);
    all_ = new QRadioButton(QStringLiteral("&Все"), group);
    all_->setObjectName("allPages");
    current_ = new QRadioButton(QStringLiteral("&Текущая"), group);
    current_->setObjectName("currentPage");
    numbers_ = new QRadioButton(QStringLiteral("&Номера:"), group);
    numbers_->setObjectName("pageNumbers");
    numbersText_ = new QLineEdit(group);
    numbersText_->setObjectName("pageNumbersText");
    numbersText_->installEventFilter(this);
    connect(numbersText_, &QLineEdit::textEdited, this, [this] { numbers_->setChecked(true); });
    all_->setChecked(true);
    auto* hint = new QLabel(QStringLiteral("Введите номера и/или диапазоны страниц, разделенные "
                                           "запятыми. Например, 1,3,5-12"),
                            group);
    hint->setObjectName("pageNumbersHint");
    hint->setWordWrap(true);
    parity_ = new QComboBox(group);
    parity_->setObjectName("parity");
    parity_->addItem(QStringLiteral("Все страницы диапазона"));
    parity_->addItem(QStringLiteral("Нечетные страницы"));
    parity_->addItem(QStringLiteral("Четные страницы"));
    auto* parityLabel = new QLabel(QStringLiteral("Вывести на &печать:"), group);
    parityLabel->setBuddy(parity_);
    grid->addWidget(all_, 0, 0, 1, 2);
    grid->addWidget(current_, 1, 0, 1, 2);
    grid->addWidget(numbers_, 2, 0);
    grid->addWidget(numbersText_, 2, 1);
    grid->addWidget(hint, 3, 0, 1, 2);
    grid->addWidget(parityLabel, 4, 0);
    grid->addWidget(parity_, 4, 1);
    return group;
}

bool PrintForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == numbersText_ && event->type() == QEvent::FocusIn) numbers_->setChecked(true);
    return QDialog::eventFilter(watched, event);
}

void PrintForm::printerChosen(int index) {
    if (index >= 0 && index != printer_.PrinterIndex()) printer_.SelectPrinter(index);
}

void PrintForm::showCollatePicture() {
    collatePicture_->setPixmap(collatePicture(collate_->isChecked()));
}

void PrintForm::setCopies(int copies) {
    copies_->setValue(std::max(copies, 1));
}

int PrintForm::copies() const {
    return copies_->value();
}

void PrintForm::setCollate(bool collate) {
    collate_->setChecked(collate);
}

bool PrintForm::collate() const {
    return collate_->isChecked();
}

PrintForm::Range PrintForm::range() const {
    if (current_->isChecked()) return Range::Current;
    if (numbers_->isChecked()) return Range::Numbers;
    return Range::All;
}

PageParity PrintForm::parity() const {
    switch (parity_->currentIndex()) {
    case 1:
        return PageParity::Odd;
    case 2:
        return PageParity::Even;
    default:
        return PageParity::All;
    }
}

std::string PrintForm::pageListText(int currentPage) const {
    switch (range()) {
    case Range::Current:
        return std::to_string(currentPage);
    case Range::Numbers:
        return from1251(numbersText_->text());
    case Range::All:
        break;
    }
    return {};
}

bool PrintForm::printerChanged() const {
    return printer_.PrinterIndex() != previousPrinter_;
}

void PrintForm::reject() {
    if (printerChanged()) printer_.SelectPrinter(previousPrinter_);
    QDialog::reject();
}

} // namespace pv
