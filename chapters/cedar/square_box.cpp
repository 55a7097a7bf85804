#include "square_box.h"

#include <QPainter>

namespace chapters {

SquareBox::SquareBox(QWidget* parent, int left, int top)
    : QWidget(parent), canvas_(Width, Height, parent ? parent->devicePixelRatioF() : 1.0) {
    setGeometry(left, top, Width, Height);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.onChange = [this] { update(); };
}

void SquareBox::setShape1Visible(bool on) {
    if (shape1Visible_ == on) return;
    shape1Visible_ = on;
    update();
}

void SquareBox::drawOverlay(Canvas& c, int dx, int dy) const {
    const Color black = RGB(0, 0, 0);
    const int width = c.DrawWidth;
    c.DrawWidth = 1;
    if (shape1Visible_) {
        // A shape's border lies inside its bounds.
        c.Box(dx + shape1.left(), dy + shape1.top(), dx + shape1.right(), dy + shape1.bottom(),
              black, false);
    }
    for (const QLine& l : {line2, line4})
        c.Line(dx + l.x1(), dy + l.y1(), dx + l.x2(), dy + l.y2(), black);
    c.DrawWidth = width;
}

void SquareBox::setScale(double scale) {
    if (scale == scale_) return;
    scale_ = scale;
    if (scale_ == 1) scaled_.drop();
    update();
}

void SquareBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (scale_ != 1) {
        scaled_.paint(p, canvas_, scale_, devicePixelRatioF(), size());
        p.scale(scale_, scale_);
    } else {
        p.drawImage(QPointF(0, 0), canvas_.image());
    }
    p.setPen(QPen(Qt::black, 1));
    if (shape1Visible_) p.drawRect(shape1.adjusted(0, 0, -1, -1));
    p.drawLine(line2);
    p.drawLine(line4);
}

}  // namespace chapters
