#include "report/designer/ObjectInspector.h"

#include "report/designer/DesignerDocument.h"
#include "report/model/BandView.h"
#include "report/model/MemoView.h"
#include "report/qt/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace pv {
namespace {

// Colours as people write them (#RRGGBB); empty for "none" where allowed.
QString colourText(uint32_t c) {
    if (c == clNone) return {};
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

std::optional<uint32_t> parseColour(const QString& text, bool noneAllowed) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return noneAllowed ? std::optional<uint32_t>(clNone) : std::nullopt;
    QColor c(t);
    if (!c.isValid()) return std::nullopt;
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

QDoubleSpinBox* mmBox(const QString& name, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(-1000, 5000);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" мм"));
    box->setKeyboardTracking(false);
    return box;
}

QCheckBox* check(const QString& name, const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QWidget* row(QWidget* parent, std::initializer_list<QWidget*> widgets) {
    auto* w = new QWidget(parent);
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    for (QWidget* x : widgets) {
        x->setParent(w);
        l->addWidget(x);
    }
    l->addStretch();
    return w;
}

// Check boxes in rows, so that the inspector stays narrow.
QWidget* grid(QWidget* parent, std::initializer_list<QWidget*> widgets, int columns = 3) {
    auto* w = new QWidget(parent);
    auto* l = new QGridLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    int i = 0;
    for (QWidget* x : widgets) {
        x->setParent(w);
        l->addWidget(x, i / columns, i % columns);
        ++i;
    }
    return w;
}

} // namespace

ObjectInspector::ObjectInspector(DesignerDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setObjectName(QStringLiteral("ObjectInspector"));
    build();
    refresh();
}

ObjectInspector::~ObjectInspector() {
    // A field losing the focus as it goes would still report its edit.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void ObjectInspector::edit(const std::function<void(TfrView&)>& change) {
    if (refreshing_) return;
    TfrView* v = document_.current();
    if (!v) return;
    document_.change([&] { change(*v); });
}

void ObjectInspector::build() {
    form_ = new QFormLayout(this);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("name"));
    name_->setReadOnly(true);
    form_->addRow(QStringLiteral("Объект"), name_);

    bandType_ = new QComboBox(this);
    bandType_->setObjectName(QStringLiteral("bandType"));
    for (int t = 0; t < btNone; ++t)
        bandType_->addItem(QString::fromUtf8(bandTypeCaption(t)), t);
    form_->addRow(QStringLiteral("Тип полосы"), bandType_);
    connect(bandType_, &QComboBox::activated, this, [this](int index) {
        edit([&](TfrView& v) { v.FrameTyp = uint16_t(bandType_->itemData(index).toInt()); });
    });
    dataSource_ = new QLineEdit(this);
    dataSource_->setObjectName(QStringLiteral("dataSource"));
    form_->addRow(QStringLiteral("Источник данных"), dataSource_);
    connect(dataSource_, &QLineEdit::editingFinished, this,
            [this] { edit([&](TfrView& v) { v.FormatStr = from1251(dataSource_->text()); }); });

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setMaximumHeight(90);
    form_->addRow(QStringLiteral("Текст"), text_);
    connect(text_, &QPlainTextEdit::textChanged, this, [this] {
        Lines lines;
        for (const QString& l : text_->toPlainText().split(QLatin1Char('\n')))
            lines.push_back(from1251(l));
        if (lines.size() == 1 && lines.front().empty()) lines.clear();
        edit([&](TfrView& v) { v.Memo = lines; });
    });

    left_ = mmBox(QStringLiteral("left"), this);
    top_ = mmBox(QStringLiteral("top"), this);
    width_ = mmBox(QStringLiteral("width"), this);
    height_ = mmBox(QStringLiteral("height"), this);
    form_->addRow(QStringLiteral("Слева"), left_);
    form_->addRow(QStringLiteral("Сверху"), top_);
    form_->addRow(QStringLiteral("Ширина"), width_);
    form_->addRow(QStringLiteral("Высота"), height_);
    auto geometry = [this](QDoubleSpinBox* box, int32_t TfrView::*field) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, field](double mm) {
            const int px = DesignerDocument::fromMm(mm);
            edit([&](TfrView& v) {
                // The box shows tenths: an unchanged value keeps the exact pixels.
                if (std::abs(DesignerDocument::toMm(v.*field) - mm) >= 0.05) v.*field = px;
            });
        });
    };
    geometry(left_, &TfrView::Left);
    geometry(top_, &TfrView::Top);
    geometry(width_, &TfrView::Width);
    geometry(height_, &TfrView::Height);

    fontName_ = new QLineEdit;
    fontName_->setObjectName(QStringLiteral("fontName"));
    fontSize_ = new QSpinBox;
    fontSize_->setObjectName(QStringLiteral("fontSize"));
    fontSize_->setRange(1, 200);
    fontSize_->setKeyboardTracking(false);
    fontRow_ = row(this, {fontName_, fontSize_});
    form_->addRow(QStringLiteral("Шрифт"), fontRow_);
    auto memoEdit = [this](const std::function<void(TfrMemoView&)>& change) {
        edit([&](TfrView& v) {
            if (auto* m = dynamic_cast<TfrMemoView*>(&v)) change(*m);
        });
    };
    connect(fontName_, &QLineEdit::editingFinished, this, [this, memoEdit] {
        memoEdit([&](TfrMemoView& m) { m.FontName = from1251(fontName_->text()); });
    });
    connect(fontSize_, &QSpinBox::valueChanged, this,
            [memoEdit](int size) { memoEdit([&](TfrMemoView& m) { m.FontSize = size; }); });

    bold_ = check(QStringLiteral("bold"), QStringLiteral("Жирный"), this);
    italic_ = check(QStringLiteral("italic"), QStringLiteral("Курсив"), this);
    underline_ = check(QStringLiteral("underline"), QStringLiteral("Подчёркнутый"), this);
    fontColour_ = new QLineEdit;
    fontColour_->setObjectName(QStringLiteral("fontColour"));
    fontColour_->setMaximumWidth(80);
    styleRow_ = grid(this, {bold_, italic_, underline_, fontColour_});
    form_->addRow(QStringLiteral("Начертание"), styleRow_);
    auto style = [this, memoEdit](QCheckBox* box, uint16_t bit) {
        connect(box, &QCheckBox::toggled, this, [memoEdit, bit](bool on) {
            memoEdit(
                [&](TfrMemoView& m) { m.FontStyle = on ? m.FontStyle | bit : m.FontStyle & ~bit; });
        });
    };
    style(bold_, fsBold);
    style(italic_, fsItalic);
    style(underline_, fsUnderline);
    connect(fontColour_, &QLineEdit::editingFinished, this, [this, memoEdit] {
        if (auto c = parseColour(fontColour_->text(), false))
            memoEdit([&](TfrMemoView& m) { m.FontColor = int32_t(*c); });
        else
            refresh();
    });

    hAlign_ = new QComboBox;
    hAlign_->setObjectName(QStringLiteral("hAlign"));
    hAlign_->addItem(QStringLiteral("влево"), frtaLeft);
    hAlign_->addItem(QStringLiteral("вправо"), frtaRight);
    hAlign_->addItem(QStringLiteral("по центру"), frtaCenter);
    hAlign_->addItem(QStringLiteral("по ширине"), frtaJustify);
    vAlign_ = new QComboBox;
    vAlign_->setObjectName(QStringLiteral("vAlign"));
    vAlign_->addItem(QStringLiteral("сверху"), 0);
    vAlign_->addItem(QStringLiteral("посередине"), frtaMiddle);
    vAlign_->addItem(QStringLiteral("снизу"), frtaDown);
    alignRow_ = row(this, {hAlign_, vAlign_});
    form_->addRow(QStringLiteral("Выравнивание"), alignRow_);
    auto align = [this, memoEdit](QComboBox* box, uint32_t mask) {
        connect(box, &QComboBox::activated, this, [box, memoEdit, mask](int index) {
            const uint32_t value = box->itemData(index).toUInt();
            memoEdit([&](TfrMemoView& m) { m.Alignment = (m.Alignment & ~mask) | value; });
        });
    };
    align(hAlign_, 3);
    align(vAlign_, frtaMiddle | frtaDown);

    frameLeft_ = check(QStringLiteral("frameLeft"), QStringLiteral("слева"), this);
    frameTop_ = check(QStringLiteral("frameTop"), QStringLiteral("сверху"), this);
    frameRight_ = check(QStringLiteral("frameRight"), QStringLiteral("справа"), this);
    frameBottom_ = check(QStringLiteral("frameBottom"), QStringLiteral("снизу"), this);
    frameWidth_ = new QDoubleSpinBox;
    frameWidth_->setObjectName(QStringLiteral("frameWidth"));
    frameWidth_->setRange(0, 20);
    frameWidth_->setDecimals(1);
    frameWidth_->setKeyboardTracking(false);
    frameColour_ = new QLineEdit;
    frameColour_->setObjectName(QStringLiteral("frameColour"));
    frameColour_->setMaximumWidth(80);
    frameRow_ =
        grid(this, {frameLeft_, frameTop_, frameRight_, frameBottom_, frameWidth_, frameColour_});
    form_->addRow(QStringLiteral("Рамка"), frameRow_);
    auto side = [this](QCheckBox* box, uint16_t bit) {
        connect(box, &QCheckBox::toggled, this, [this, bit](bool on) {
            edit([&](TfrView& v) {
                if (v.typeCode() != gtBand && v.typeCode() != gtLine)
                    v.FrameTyp = on ? v.FrameTyp | bit : v.FrameTyp & ~bit;
            });
        });
    };
    side(frameLeft_, frftLeft);
    side(frameTop_, frftTop);
    side(frameRight_, frftRight);
    side(frameBottom_, frftBottom);
    connect(frameWidth_, &QDoubleSpinBox::valueChanged, this, [this](double w) {
        edit([&](TfrView& v) {
            if (std::abs(v.FrameWidth - w) >= 0.05) v.FrameWidth = float(w);
        });
    });
    connect(frameColour_, &QLineEdit::editingFinished, this, [this] {
        if (auto c = parseColour(frameColour_->text(), false))
            edit([&](TfrView& v) { v.FrameColor = *c; });
        else
            refresh();
    });

    fillColour_ = new QLineEdit(this);
    fillColour_->setObjectName(QStringLiteral("fillColour"));
    fillColour_->setPlaceholderText(QStringLiteral("нет"));
    form_->addRow(QStringLiteral("Заливка"), fillColour_);
    connect(fillColour_, &QLineEdit::editingFinished, this, [this] {
        if (auto c = parseColour(fillColour_->text(), true))
            edit([&](TfrView& v) { v.FillColor = *c; });
        else
            refresh();
    });

    wordWrap_ = check(QStringLiteral("wordWrap"), QStringLiteral("перенос слов"), this);
    stretched_ = check(QStringLiteral("stretched"), QStringLiteral("растягивать"), this);
    hideZeros_ = check(QStringLiteral("hideZeros"), QStringLiteral("скрывать нули"), this);
    autoWidth_ = check(QStringLiteral("autoWidth"), QStringLiteral("автоширина"), this);
    underlines_ = check(QStringLiteral("underlines"), QStringLiteral("линейки"), this);
    flagsRow_ = grid(this, {wordWrap_, stretched_, hideZeros_, autoWidth_, underlines_}, 2);
    form_->addRow(QStringLiteral("Флаги"), flagsRow_);
    auto flag = [this](QCheckBox* box, uint16_t bit) {
        connect(box, &QCheckBox::toggled, this,
                [this, bit](bool on) { edit([&](TfrView& v) { v.setFlag(bit, on); }); });
    };
    flag(wordWrap_, flWordWrap);
    flag(stretched_, flStretched);
    flag(hideZeros_, flHideZeros);
    flag(autoWidth_, flAutoWidth);
    flag(underlines_, flUnderlines);

    format_ = new QLineEdit(this);
    format_->setObjectName(QStringLiteral("format"));
    form_->addRow(QStringLiteral("Формат"), format_);
    connect(format_, &QLineEdit::editingFinished, this,
            [this] { edit([&](TfrView& v) { v.FormatStr = from1251(format_->text()); }); });
}

void ObjectInspector::setRowVisible(QWidget* field, bool visible) {
    form_->setRowVisible(field, visible);
}

void ObjectInspector::refresh() {
    refreshing_ = true;
    TfrView* v = document_.current();
    const bool band = v && v->typeCode() == gtBand;
    auto* memo = v ? dynamic_cast<TfrMemoView*>(v) : nullptr;
    setEnabled(v != nullptr);
    for (QWidget* w : {static_cast<QWidget*>(bandType_), static_cast<QWidget*>(dataSource_)})
        setRowVisible(w, band);
    for (QWidget* w : {static_cast<QWidget*>(text_), fontRow_, styleRow_, alignRow_, flagsRow_})
        setRowVisible(w, memo != nullptr);
    for (QWidget* w :
         {frameRow_, static_cast<QWidget*>(fillColour_), static_cast<QWidget*>(format_),
          static_cast<QWidget*>(left_), static_cast<QWidget*>(width_)})
        setRowVisible(w, !band);
    if (v) {
        name_->setText(qt1251(v->Name, CrLf::ToLf));
        left_->setValue(DesignerDocument::toMm(v->Left));
        top_->setValue(DesignerDocument::toMm(v->Top));
        width_->setValue(DesignerDocument::toMm(v->Width));
        height_->setValue(DesignerDocument::toMm(v->Height));
        frameLeft_->setChecked(v->FrameTyp & frftLeft);
        frameTop_->setChecked(v->FrameTyp & frftTop);
        frameRight_->setChecked(v->FrameTyp & frftRight);
        frameBottom_->setChecked(v->FrameTyp & frftBottom);
        frameWidth_->setValue(v->FrameWidth);
        frameColour_->setText(colourText(v->FrameColor));
        fillColour_->setText(colourText(v->FillColor));
        format_->setText(qt1251(v->FormatStr, CrLf::Keep));
        stretched_->setChecked(v->flag(flStretched));
        if (band) {
            bandType_->setCurrentIndex(bandType_->findData(int(v->FrameTyp)));
            dataSource_->setText(qt1251(v->FormatStr, CrLf::Keep));
        }
        if (memo) {
            QStringList lines;
            for (const std::string& l : memo->Memo)
                lines << qt1251(l, CrLf::Keep);
            if (text_->toPlainText() != lines.join(QLatin1Char('\n')))
                text_->setPlainText(lines.join(QLatin1Char('\n')));
            fontName_->setText(qt1251(memo->FontName, CrLf::Keep));
            fontSize_->setValue(memo->FontSize);
            bold_->setChecked(memo->FontStyle & fsBold);
            italic_->setChecked(memo->FontStyle & fsItalic);
            underline_->setChecked(memo->FontStyle & fsUnderline);
            fontColour_->setText(colourText(uint32_t(memo->FontColor)));
            hAlign_->setCurrentIndex(hAlign_->findData(memo->Alignment & 3));
            vAlign_->setCurrentIndex(vAlign_->findData(memo->Alignment & (frtaMiddle | frtaDown)));
            wordWrap_->setChecked(memo->flag(flWordWrap));
            hideZeros_->setChecked(memo->flag(flHideZeros));
            autoWidth_->setChecked(memo->flag(flAutoWidth));
            underlines_->setChecked(memo->flag(flUnderlines));
        }
    } else {
        name_->clear();
    }
    refreshing_ = false;
}

} // namespace pv
