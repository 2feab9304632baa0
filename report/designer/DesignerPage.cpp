#include "report/designer/DesignerPage.h"

#include "report/designer/DesignerDocument.h"
#include "report/model/BandView.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/qt/QtText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

constexpr double kMargin = 20; // screen pixels around the paper
constexpr double kHandle = 6;

QColor colour(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

Qt::Alignment textAlignment(uint32_t a) {
    Qt::Alignment out;
    switch (a & 3) {
    case frtaRight:
        out = Qt::AlignRight;
        break;
    case frtaCenter:
        out = Qt::AlignHCenter;
        break;
    case frtaJustify:
        out = Qt::AlignJustify;
        break;
    default:
        out = Qt::AlignLeft;
    }
    if (a & frtaMiddle)
        out |= Qt::AlignVCenter;
    else if (a & frtaDown)
        out |= Qt::AlignBottom;
    else
        out |= Qt::AlignTop;
    return out;
}

QString joined(const Lines& lines) {
    QStringList out;
    for (const std::string& l : lines)
        out << qt1251(l, CrLf::ToLf);
    return out.join(QLatin1Char('\n'));
}

} // namespace

DesignerPage::DesignerPage(DesignerDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setObjectName(QStringLiteral("DesignerPage"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(pal);
}

int DesignerPage::paperWidth() const {
    TfrPage* p = document_.page();
    return p ? DesignerDocument::fromMm(p->PaperWidth / 10.0) : DesignerDocument::fromMm(210);
}

int DesignerPage::paperHeight() const {
    TfrPage* p = document_.page();
    return p ? DesignerDocument::fromMm(p->PaperHeight / 10.0) : DesignerDocument::fromMm(297);
}

void DesignerPage::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.25, 4.0);
    setFixedSize(sizeHint());
    update();
}

QSize DesignerPage::sizeHint() const {
    return {int(paperWidth() * zoom_ + 2 * kMargin), int(paperHeight() * zoom_ + 2 * kMargin)};
}

QPointF DesignerPage::toScreen(int x, int y) const {
    return {kMargin + x * zoom_, kMargin + y * zoom_};
}

QRectF DesignerPage::screenRect(const TfrView& v) const {
    int width = v.Width;
    if (v.typeCode() == gtBand) width = paperWidth();
    QRectF r(toScreen(v.typeCode() == gtBand ? 0 : v.Left, v.Top),
             QSizeF(width * zoom_, v.Height * zoom_));
    // Lines have no thickness; they are picked by a strip around them.
    if (v.typeCode() == gtLine) r = r.adjusted(-2, -2, 2, 2);
    return r;
}

QRectF DesignerPage::handleRect(const TfrView& v) const {
    const QRectF r = screenRect(v);
    return {r.right() - kHandle / 2, r.bottom() - kHandle / 2, kHandle, kHandle};
}

TfrView* DesignerPage::objectAt(QPointF point) const {
    TfrPage* p = document_.page();
    if (!p) return nullptr;
    TfrView* band = nullptr;
    for (auto it = p->Objects.rbegin(); it != p->Objects.rend(); ++it) {
        TfrView& v = **it;
        if (!screenRect(v).contains(point)) continue;
        if (v.typeCode() != gtBand) return &v;
        if (!band) band = &v;
    }
    return band;
}

void DesignerPage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF paper(toScreen(0, 0), QSizeF(paperWidth() * zoom_, paperHeight() * zoom_));
    p.fillRect(paper, Qt::white);
    TfrPage* page = document_.page();
    if (!page) return;
    // The printable area inside the margins.
    const QRectF inner =
        paper.adjusted(DesignerDocument::fromMm(page->LeftMargin / 10.0) * zoom_,
                       DesignerDocument::fromMm(page->TopMargin / 10.0) * zoom_,
                       -DesignerDocument::fromMm(page->RightMargin / 10.0) * zoom_,
                       -DesignerDocument::fromMm(page->BottomMargin / 10.0) * zoom_);
    p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1, Qt::DotLine));
    p.drawRect(inner);
    for (const auto& v : page->Objects)
        if (v->typeCode() == gtBand) paintView(p, *v);
    for (const auto& v : page->Objects)
        if (v->typeCode() != gtBand) paintView(p, *v);
    p.setPen(QPen(QColor(0, 0, 0xC0), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    for (const TfrView* v : document_.selection()) {
        p.drawRect(screenRect(*v));
        p.fillRect(handleRect(*v), QColor(0, 0, 0xC0));
    }
}

void DesignerPage::paintView(QPainter& p, const TfrView& v) const {
    const QRectF r = screenRect(v);
    p.save();
    switch (v.typeCode()) {
    case gtBand: {
        p.fillRect(r, QColor(0xF0, 0xF4, 0xFF));
        p.setPen(QPen(QColor(0x80, 0x90, 0xC0), 1, Qt::DashLine));
        p.drawRect(r);
        QFont f(QStringLiteral("Sans"));
        f.setPixelSize(9);
        p.setFont(f);
        p.setPen(QColor(0x50, 0x60, 0x90));
        QString label = QString::fromUtf8(bandTypeCaption(v.FrameTyp)) + QLatin1String(": ") +
                        qt1251(v.Name, CrLf::ToLf);
        if (!v.FormatStr.empty())
            label += QLatin1String(" (") + qt1251(v.FormatStr, CrLf::ToLf) + ')';
        p.drawText(r.adjusted(2, 1, -2, -1), Qt::AlignLeft | Qt::AlignTop, label);
        break;
    }
    case gtLine: {
        p.setPen(QPen(colour(v.FrameColor), std::max(1.0, v.FrameWidth * zoom_)));
        const QPointF a = toScreen(v.Left, v.Top);
        p.drawLine(a, toScreen(v.Left + v.Width, v.Top + v.Height));
        break;
    }
    default: {
        if (v.FillColor != clNone) p.fillRect(r, colour(v.FillColor));
        const QPen framePen(colour(v.FrameColor), std::max(1.0, v.FrameWidth * zoom_));
        p.setPen(framePen);
        if (v.FrameTyp & frftLeft) p.drawLine(r.topLeft(), r.bottomLeft());
        if (v.FrameTyp & frftRight) p.drawLine(r.topRight(), r.bottomRight());
        if (v.FrameTyp & frftTop) p.drawLine(r.topLeft(), r.topRight());
        if (v.FrameTyp & frftBottom) p.drawLine(r.bottomLeft(), r.bottomRight());
        if (!v.FrameTyp) {
            // An unframed box still shows where it is.
            p.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1, Qt::DotLine));
            p.drawRect(r);
        }
        if (const auto* memo = dynamic_cast<const TfrMemoView*>(&v)) {
            QFont f(qt1251(memo->FontName, CrLf::ToLf));
            f.setPixelSize(std::max(1, int(std::lround(memo->FontSize * 96.0 / 72.0 * zoom_))));
            f.setBold(memo->FontStyle & fsBold);
            f.setItalic(memo->FontStyle & fsItalic);
            f.setUnderline(memo->FontStyle & fsUnderline);
            f.setStrikeOut(memo->FontStyle & fsStrikeOut);
            p.setFont(f);
            p.setPen(colour(uint32_t(memo->FontColor)));
            int flags = int(textAlignment(memo->Alignment));
            if (memo->flag(flWordWrap)) flags |= Qt::TextWordWrap;
            p.setClipRect(r);
            p.drawText(r.adjusted(v.GapX * zoom_, v.GapY * zoom_, -v.GapX * zoom_, 0), flags,
                       joined(v.Memo));
        } else {
            p.setPen(Qt::darkGray);
            p.drawText(r, Qt::AlignCenter, QString::fromLatin1(v.namePrefix()));
        }
    }
    }
    p.restore();
}

void DesignerPage::mousePressEvent(QMouseEvent* e) {
    setFocus();
    if (e->button() != Qt::LeftButton) return;
    const QPointF at = e->position();
    const bool add = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    drag_ = Drag::None;
    for (TfrView* v : document_.selection())
        if (!add && handleRect(*v).contains(at)) drag_ = Drag::Resize;
    if (drag_ == Drag::None) {
        TfrView* hit = objectAt(at);
        if (!hit) {
            if (!add) document_.clearSelection();
            return;
        }
        if (add || !document_.isSelected(hit)) document_.select(hit, add);
        if (add) return;
        drag_ = Drag::Move;
    }
    dragStart_ = at;
    starts_.clear();
    for (TfrView* v : document_.selection())
        starts_.push_back({v, v->Left, v->Top, v->Width, v->Height});
    document_.beginStep();
}

void DesignerPage::mouseMoveEvent(QMouseEvent* e) {
    if (drag_ == Drag::None) return;
    const QPointF d = (e->position() - dragStart_) / zoom_;
    // Whole millimetres: the grid the user places objects on.
    const double dxMm = std::round(DesignerDocument::toMm(int(std::lround(d.x()))));
    const double dyMm = std::round(DesignerDocument::toMm(int(std::lround(d.y()))));
    for (const Start& s : starts_) {
        if (drag_ == Drag::Move) {
            if (s.view->typeCode() != gtBand)
                s.view->Left =
                    DesignerDocument::fromMm(std::round(DesignerDocument::toMm(s.left)) + dxMm);
            s.view->Top =
                DesignerDocument::fromMm(std::round(DesignerDocument::toMm(s.top)) + dyMm);
        } else {
            if (s.view->typeCode() != gtBand && !(s.view->typeCode() == gtLine && s.width == 0))
                s.view->Width = std::max(
                    DesignerDocument::fromMm(1),
                    DesignerDocument::fromMm(std::round(DesignerDocument::toMm(s.width)) + dxMm));
            if (!(s.view->typeCode() == gtLine && s.height == 0))
                s.view->Height = std::max(
                    DesignerDocument::fromMm(1),
                    DesignerDocument::fromMm(std::round(DesignerDocument::toMm(s.height)) + dyMm));
        }
    }
    update();
}

void DesignerPage::mouseReleaseEvent(QMouseEvent* e) {
    if (drag_ == Drag::None) return;
    mouseMoveEvent(e);
    drag_ = Drag::None;
    starts_.clear();
    document_.commitStep();
}

void DesignerPage::keyPressEvent(QKeyEvent* e) {
    int dx = 0, dy = 0;
    switch (e->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    if (document_.selection().empty()) return;
    if (e->modifiers() & Qt::ShiftModifier)
        document_.resizeSelection(dx, dy);
    else
        document_.moveSelection(dx, dy);
}

} // namespace pv
