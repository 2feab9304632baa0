#include "report/qt/PreviewSearchForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pv {

PreviewSearchForm::PreviewSearchForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PreviewSearchForm"));
    setWindowTitle(QStringLiteral("Поиск"));
    auto* layout = new QVBoxLayout(this);

    auto* label = new QLabel(QStringLiteral("Искать &текст"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("SearchText"));
    label->setBuddy(edit_);
    layout->addWidget(label);
    layout->addWidget(edit_);

    auto* groups = new QHBoxLayout;
    auto* options = new QGroupBox(QStringLiteral("Опции поиска"), this);
    auto* optionsLayout = new QVBoxLayout(options);
    caseBox_ = new QCheckBox(QStringLiteral("Различать &регистр"), options);
    caseBox_->setObjectName(QStringLiteral("CaseSensitive"));
    optionsLayout->addWidget(caseBox_);
    optionsLayout->addStretch();
    groups->addWidget(options);

    auto* origin = new QGroupBox(QStringLiteral("Искать"), this);
    auto* originLayout = new QVBoxLayout(origin);
    fromStart_ = new QRadioButton(QStringLiteral("С &начала"), origin);
    fromStart_->setObjectName(QStringLiteral("FromStart"));
    fromCurrent_ = new QRadioButton(QStringLiteral("&Продолжить"), origin);
    fromCurrent_->setObjectName(QStringLiteral("FromCurrent"));
    fromStart_->setChecked(true);
    originLayout->addWidget(fromStart_);
    originLayout->addWidget(fromCurrent_);
    groups->addWidget(origin);
    layout->addLayout(groups);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString PreviewSearchForm::text() const {
    return edit_->text();
}

void PreviewSearchForm::setText(const QString& text) {
    edit_->setText(text);
    edit_->selectAll();
}

bool PreviewSearchForm::caseSensitive() const {
    return caseBox_->isChecked();
}

void PreviewSearchForm::setCaseSensitive(bool on) {
    caseBox_->setChecked(on);
}

bool PreviewSearchForm::fromStart() const {
    return fromStart_->isChecked();
}

} // namespace pv
