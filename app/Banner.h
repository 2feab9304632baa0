#pragma once

#include <QLabel>
#include <QTimer>

namespace pv {

// A one-line text that runs from right to left, one character per tick of its timer.
class Banner : public QLabel {
    Q_OBJECT
public:
    Banner(const QString& text, int intervalMs, QWidget* parent = nullptr);

    const QString& fullText() const { return text_; }
    QTimer& timer() { return timer_; }
    // Moves the text one character on.
    void step();

private:
    QString text_;
    qsizetype offset_ = 0;
    QTimer timer_;
};

} // namespace pv
