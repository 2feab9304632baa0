#include "report/qt/PreviewPaintBox.h"

#include "report/qt/PreviewForm.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace pv {

TfrPBox::TfrPBox(TfrPreviewForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("TfrPBox"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TfrPBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    form_.paintArea(painter, event->rect());
}

void TfrPBox::resizeEvent(QResizeEvent*) {
    form_.areaResized();
}

void TfrPBox::keyPressEvent(QKeyEvent* event) {
    if (!form_.handleKey(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
}

void TfrPBox::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) form_.wheelSteps(-notches);
    event->accept();
}

void TfrPBox::mousePressEvent(QMouseEvent* event) {
    setFocus();
    form_.mousePressed(event->position().toPoint(), event->button(),
                       event->globalPosition().toPoint());
}

void TfrPBox::mouseMoveEvent(QMouseEvent* event) {
    form_.mouseMoved(event->position().toPoint(), event->buttons());
}

void TfrPBox::mouseReleaseEvent(QMouseEvent*) {
    form_.mouseReleased();
}

} // namespace pv
