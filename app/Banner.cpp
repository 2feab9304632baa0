#include "app/Banner.h"

namespace pv {

Banner::Banner(const QString& text, int intervalMs, QWidget* parent)
    : QLabel(text, parent), text_(text) {
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &Banner::step);
    timer_.start();
}

void Banner::step() {
    if (text_.isEmpty()) return;
    offset_ = (offset_ + 1) % text_.size();
    setText(text_.mid(offset_) + text_.left(offset_));
}

} // namespace pv
