#pragma once

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace pv {

class DesignerDocument;
class TfrView;

// What people change on a form, for the one selected object: its text,
// position and size in millimetres, font, alignment, frame, fill, flags and
// display format; for a band its type, height and data source. Each edit is
// one undoable step of the document.
class ObjectInspector : public QWidget {
    Q_OBJECT
public:
    explicit ObjectInspector(DesignerDocument& document, QWidget* parent = nullptr);
    ~ObjectInspector() override;

    // Shows the document's current object (nothing when none or several are selected).
    void refresh();

private:
    void build();
    // Applies `edit` to the current object as one step, unless refreshing.
    void edit(const std::function<void(TfrView&)>& edit);
    void setRowVisible(QWidget* field, bool visible);

    DesignerDocument& document_;
    bool refreshing_ = false;
    QFormLayout* form_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QDoubleSpinBox *left_ = nullptr, *top_ = nullptr, *width_ = nullptr, *height_ = nullptr;
    QLineEdit* fontName_ = nullptr;
    QSpinBox* fontSize_ = nullptr;
    QCheckBox *bold_ = nullptr, *italic_ = nullptr, *underline_ = nullptr;
    QComboBox *hAlign_ = nullptr, *vAlign_ = nullptr;
    QCheckBox *frameLeft_ = nullptr, *frameTop_ = nullptr, *frameRight_ = nullptr,
              *frameBottom_ = nullptr;
    QDoubleSpinBox* frameWidth_ = nullptr;
    QLineEdit *frameColour_ = nullptr, *fillColour_ = nullptr, *fontColour_ = nullptr;
    QCheckBox *wordWrap_ = nullptr, *stretched_ = nullptr, *hideZeros_ = nullptr,
              *autoWidth_ = nullptr, *underlines_ = nullptr;
    QLineEdit* format_ = nullptr;
    QComboBox* bandType_ = nullptr;
    QLineEdit* dataSource_ = nullptr;
    QWidget *fontRow_ = nullptr, *styleRow_ = nullptr, *alignRow_ = nullptr, *frameRow_ = nullptr,
            *flagsRow_ = nullptr;
};

} // namespace pv
