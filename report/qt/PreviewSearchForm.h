#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace pv {

// The preview's find dialog: the text, whether case matters, and whether to
// search from the first page or go on from the current one.
class PreviewSearchForm : public QDialog {
    Q_OBJECT
public:
    explicit PreviewSearchForm(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    bool caseSensitive() const;
    void setCaseSensitive(bool on);
    bool fromStart() const;

    QLineEdit* textEdit() const { return edit_; }

private:
    QLineEdit* edit_ = nullptr;
    QCheckBox* caseBox_ = nullptr;
    QRadioButton* fromStart_ = nullptr;
    QRadioButton* fromCurrent_ = nullptr;
};

} // namespace pv
