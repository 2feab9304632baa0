#include "app/dialogs/ScaledForm.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <exception>

namespace pv {
namespace {

ScaleRect toRect(const QRect& r) {
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

} // namespace

TFormScale::TFormScale(QWidget* window)
    : QObject(window), window_(window), design_{window->width(), window->height()} {
    window->installEventFilter(this);
}

ScreenMetrics TFormScale::currentScreen() const {
    if (screenMetrics) return screenMetrics();
    QScreen* screen = window_->screen() ? window_->screen() : QApplication::primaryScreen();
    ScreenMetrics m;
    if (!screen) return m;
    const QRect all = screen->geometry();
    m.width = all.width();
    m.height = all.height();
    m.pixelsPerInch = int(std::lround(screen->logicalDotsPerInch()));
    m.taskbar = taskbarFromAvailable(toRect(all), toRect(screen->availableGeometry()));
    return m;
}

bool TFormScale::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::Show && !scaled_) scaleStep();
        if (event->type() == QEvent::Paint && !placed_) placeStep();
    }
    return QObject::eventFilter(watched, event);
}

void TFormScale::scaleStep() {
    try {
        const ScreenMetrics screen = currentScreen();
        taskbar_ = screen.taskbar;
        edge_ = taskbarEdge(taskbar_, screen.width, screen.height);
        auto factor = scaleFactor(screen, {DesignPixelsPerInch, DesignHeight, design_},
                                  window_->isMaximized());
        if (factor) {
            const ScaleSize size = scaledSize(design_, *factor);
            scaleWidgetTree(window_, double(size.width) / design_.width);
            if (window_->minimumSize() == window_->maximumSize())
                window_->setFixedSize(size.width, size.height);
            else
                window_->resize(size.width, size.height);
        }
        scaled_ = true;
    } catch (const std::exception& e) {
        // Tried again at the next showing.
        QMessageBox::critical(window_, QApplication::applicationName(), e.what());
    }
}

void TFormScale::placeStep() {
    placed_ = true;
    QScreen* screen = window_->screen();
    const QPoint origin = screen && !screenMetrics ? screen->geometry().topLeft() : QPoint();
    const QRect frame = window_->frameGeometry().translated(-origin);
    if (auto to = placeOffTaskbar(edge_, taskbar_, toRect(frame)))
        window_->move(origin + QPoint(to->x, to->y));
}

void switchOffToolkitScaling() {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

void scaleWidgetTree(QWidget* window, double ratio) {
    auto scaled = [ratio](int v) { return int(std::lround(v * ratio)); };
    for (QWidget* child : window->findChildren<QWidget*>()) {
        const QRect g = child->geometry();
        child->setGeometry(scaled(g.x()), scaled(g.y()), scaled(g.width()), scaled(g.height()));
    }
    QList<QWidget*> all = window->findChildren<QWidget*>();
    all.prepend(window);
    for (QWidget* w : all) {
        if (!w->testAttribute(Qt::WA_SetFont) && w != window) continue;
        QFont f = w->font();
        if (f.pointSizeF() > 0) f.setPointSizeF(f.pointSizeF() * ratio);
        w->setFont(f);
    }
}

} // namespace pv
