#pragma once

#include <QWidget>

namespace pv {

class TfrPreviewForm;

// The page area of the preview: paints the pages the form lays out and hands
// keys and mouse input back to the form, which owns the view's state.
class TfrPBox : public QWidget {
    Q_OBJECT
public:
    explicit TfrPBox(TfrPreviewForm& form, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TfrPreviewForm& form_;
};

} // namespace pv
