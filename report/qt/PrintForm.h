#pragma once

#include "report/prepared/PrintPlan.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace pv {

class TfrPrinter;

// The print dialog of the preview: printer, copies and the pages to print.
// Choosing a printer selects it at once; cancelling selects the one that was
// selected when the dialog opened.
class PrintForm : public QDialog {
    Q_OBJECT
public:
    enum class Range { All, Current, Numbers };

    explicit PrintForm(TfrPrinter& printer, QWidget* parent = nullptr);

    void setCopies(int copies);
    int copies() const;
    void setCollate(bool collate);
    bool collate() const;
    Range range() const;
    PageParity parity() const;
    // The page list text: empty for all pages, the current page's number, or
    // what was typed (1251).
    std::string pageListText(int currentPage) const;
    // Whether another printer is selected than when the dialog opened.
    bool printerChanged() const;
    int previousPrinter() const { return previousPrinter_; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makePrinterGroup();
    QWidget* makeCopiesGroup();
    QWidget* makePagesGroup();
    void printerChosen(int index);
    void showCollatePicture();

    TfrPrinter& printer_;
    int previousPrinter_;
    QComboBox* printers_ = nullptr;
    QPushButton* properties_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QCheckBox* collate_ = nullptr;
    QLabel* collatePicture_ = nullptr;
    QRadioButton* all_ = nullptr;
    QRadioButton* current_ = nullptr;
    QRadioButton* numbers_ = nullptr;
    QLineEdit* numbersText_ = nullptr;
    QComboBox* parity_ = nullptr;
};

// The picture beside "collate": sheets 1-2-3 twice, or each sheet twice.
QPixmap collatePicture(bool collated);

} // namespace pv
