#include "page_box.h"

#include "replay.h"

#include <QPaintEvent>
#include <QPainter>

using namespace typeset;

namespace shell {

PageBox::PageBox(QWidget* parent, const Rect& g)
    : QWidget(parent), canvas_(g.width, g.height, parent ? parent->devicePixelRatioF() : 1.0) {
    setGeometry(g.left, g.top, g.width, g.height);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.onChange = [this] {
        if (onDrawn) onDrawn();
        if (repaintPending_) return;
        repaintPending_ = true;
        update();
    };
    canvas_.onMakeVisible = [this] { show(); };
    // Pages are drawn at start-up, most of them out of view: their pixels
    // wait until they are first shown.
    canvas_.defer();
}

// A drawing still showing on the box ends with it (it may hold other
// canvases of the page, which go with the box).
PageBox::~PageBox() { Replay::forget(canvas_); }

void PageBox::setScale(double scale) {
    if (scale == scale_) return;
    scale_ = scale;
    if (scale_ == 1) scaled_.drop();
    update();
}

void PageBox::paintEvent(QPaintEvent* e) {
    repaintPending_ = false;
    QPainter p(this);
    if (scale_ != 1) {
        scaled_.paint(p, canvas_, scale_, devicePixelRatioF(), size());
    } else if (canvas_.resting()) {
        canvas_.paintResting(p, e->rect());
    } else {
        const bool first = canvas_.deferred();
        p.drawImage(QPointF(0, 0), canvas_.image());
        // Shown for the first time, a page nobody draws on rests as the
        // pages drawn in view do.
        if (first && !Replay::on(canvas_)) canvas_.rest();
    }
}

void PageBox::hideEvent(QHideEvent*) {
    // A drawing still showing draws on it again at its next mark.
    if (!Replay::on(canvas_)) canvas_.rest();
    scaled_.drop();
}

}  // namespace shell
