#pragma once

#include <QWidget>

namespace pv {

class DesignerDocument;
class TfrView;

// The page as designed, drawn at a zoom: the paper with its margins, bands as
// labelled strips, objects with their frames and unexpanded texts, the
// selection with its resize handles. The mouse picks (Shift or Ctrl adds),
// drags and resizes on the millimetre grid; the arrow keys move the
// selection by a millimetre, with Shift they resize it.
class DesignerPage : public QWidget {
    Q_OBJECT
public:
    explicit DesignerPage(DesignerDocument& document, QWidget* parent = nullptr);

    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    // Screen pixels for report pixels and back, at the current zoom.
    QPointF toScreen(int x, int y) const;
    QRectF screenRect(const TfrView& view) const;
    // The topmost object under a screen point; bands only where no other object is.
    TfrView* objectAt(QPointF point) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void paintView(QPainter& p, const TfrView& view) const;
    QRectF handleRect(const TfrView& view) const;
    int paperWidth() const;
    int paperHeight() const;

    DesignerDocument& document_;
    double zoom_ = 1.0;
    enum class Drag { None, Move, Resize } drag_ = Drag::None;
    QPointF dragStart_;
    struct Start {
        TfrView* view;
        int left, top, width, height;
    };
    std::vector<Start> starts_;
};

} // namespace pv
