#include "zoom.h"

#include "color.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <iterator>

using namespace typeset;

namespace shell {

int nextZoomStep(int percent, int direction) {
    if (direction > 0) {
        for (int s : zoomSteps)
            if (s > percent) return s;
        return std::max(percent, maxZoom);
    }
    for (auto it = std::rbegin(zoomSteps); it != std::rend(zoomSteps); ++it)
        if (*it < percent) return *it;
    return std::min(percent, minZoom);
}

int largestStepWithin(double limit) {
    int best = zoomSteps[0];
    for (int s : zoomSteps)
        if (s <= limit) best = s;
    return best;
}

int fittingZoom(QSize available, QSize client) {
    // The frame the window manager adds is not known before the window is
    // shown; a title bar and borders take about this much.
    constexpr int frameWidth = 8, frameHeight = 40;
    const double fits = 100.0 * std::min(double(available.width() - frameWidth) / client.width(),
                                         double(available.height() - frameHeight) / client.height());
    return fits >= 100 ? 100 : largestStepWithin(fits);
}

namespace {
int scaled(int v, double scale) { return int(std::nearbyint(v * scale)); }
}  // namespace

QRect scaledRect(const QRect& r, double scale) {
    const int left = scaled(r.left(), scale), top = scaled(r.top(), scale);
    return QRect(left, top, scaled(r.left() + r.width(), scale) - left,
                 scaled(r.top() + r.height(), scale) - top);
}

void ClientLayout::add(QWidget* w) {
    Item item{w, w->geometry(), w->font(), -1, {}};
    if (auto* frame = qobject_cast<QFrame*>(w)) item.lineWidth = frame->lineWidth();
    if (qobject_cast<QLabel*>(w)) item.margins = w->contentsMargins();
    show(*items_.insert(w, item));
}

void ClientLayout::place(QWidget* w, const QRect& rect) {
    auto it = items_.find(w);
    if (it == items_.end()) {
        w->setGeometry(rect);
        return;
    }
    it->rect = rect;
    show(*it);
}

void ClientLayout::move(QWidget* w, const QPoint& topLeft) {
    place(w, QRect(topLeft, rect(w).size()));
}

void ClientLayout::setFont(QWidget* w, const QFont& font) {
    auto it = items_.find(w);
    if (it == items_.end()) {
        w->setFont(font);
        return;
    }
    it->font = font;
    show(*it);
}

QRect ClientLayout::rect(const QWidget* w) const {
    auto it = items_.constFind(w);
    return it == items_.constEnd() ? w->geometry() : it->rect;
}

void ClientLayout::apply(double scale, QPoint offset) {
    scale_ = scale;
    offset_ = offset;
    for (auto it = items_.begin(); it != items_.end();) {
        if (!it->widget) {
            it = items_.erase(it);
            continue;
        }
        show(*it);
        ++it;
    }
}

void ClientLayout::show(Item& item) const {
    QWidget* w = item.widget;
    if (!w) return;
    // At 100 % everything is as it was made: nothing is set that was not.
    if (scale_ == 1 && offset_.isNull()) {
        if (w->geometry() != item.rect) w->setGeometry(item.rect);
        if (qobject_cast<QLabel*>(w) && w->font() != item.font) w->setFont(item.font);
        if (qobject_cast<QLabel*>(w) && w->contentsMargins() != item.margins) w->setContentsMargins(item.margins);
    } else {
        QRect r = scaledRect(item.rect, scale_);
        // Widgets on the window itself move with the client area.
        if (w->parentWidget() && w->parentWidget()->isWindow()) r.translate(offset_);
        w->setGeometry(r);
        // Only what shows text takes a font: a font set on a page box would
        // pass to the controls on it.
        if (qobject_cast<QLabel*>(w)) {
            QFont f = item.font;
            if (f.pixelSize() > 0) f.setPixelSize(std::max(1, scaled(f.pixelSize(), scale_)));
            else f.setPointSizeF(f.pointSizeF() * scale_);
            w->setFont(f);
            // Room kept beside a label's text (cedar's italic letters) scales
            // with it, or the text would stand off its place, or be cut off.
            const QMargins& m = item.margins;
            w->setContentsMargins(scaled(m.left(), scale_), scaled(m.top(), scale_), scaled(m.right(), scale_),
                                  scaled(m.bottom(), scale_));
        }
    }
    if (item.lineWidth > 0)
        if (auto* frame = qobject_cast<QFrame*>(w))
            frame->setLineWidth(std::max(item.lineWidth, scaled(item.lineWidth, scale_)));
    if (auto* s = dynamic_cast<Scalable*>(w)) s->setScale(scale_);
}

void ScaledPicture::paint(QPainter& p, const RasterCanvas& source, double scale, qreal dpr, QSize area) {
    const Picture& picture = source.picture();
    const double ratio = scale * dpr;
    const QSize size(source.pixelWidth(), source.pixelHeight());
    if (!canvas_ || ratio != ratio_ || size != size_ || picture.generation() != generation_ ||
        picture.ops().size() < drawn_) {
        canvas_ = std::make_unique<RasterCanvas>(size.width(), size.height(), ratio);
        canvas_->keepPicture(false);
        ratio_ = ratio;
        size_ = size;
        generation_ = picture.generation();
        drawn_ = 0;
    }
    canvas_->replay(picture, drawn_);
    drawn_ = picture.ops().size();
    const QImage& img = canvas_->image();
    // Pixel for pixel on the device: the image was drawn at its resolution.
    const QRectF drawn(0, 0, img.width() / dpr, img.height() / dpr);
    p.drawImage(drawn, img);
    const QColor back = toQColor(source.BackColor);
    if (area.width() > drawn.width()) p.fillRect(QRectF(drawn.right(), 0, area.width() - drawn.width(), area.height()), back);
    if (area.height() > drawn.height()) p.fillRect(QRectF(0, drawn.bottom(), drawn.width(), area.height() - drawn.height()), back);
}

}  // namespace shell

namespace shell {

ClientScroller::ClientScroller(QWidget* window)
    : h_(new QScrollBar(Qt::Horizontal, window)), v_(new QScrollBar(Qt::Vertical, window)) {
    for (QScrollBar* b : {h_, v_}) {
        b->hide();
        b->setFocusPolicy(Qt::NoFocus);  // the keys page, they do not scroll
        QObject::connect(b, &QScrollBar::valueChanged, window, [this] {
            if (!fitting_ && onScroll) onScroll();
        });
    }
}

QPoint ClientScroller::fit(QSize content, QSize view) {
    const int ext = v_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v_);
    bool needH = content.width() > view.width(), needV = content.height() > view.height();
    // One bar takes room from the other direction.
    if (needH && !needV) needV = content.height() > view.height() - ext;
    if (needV && !needH) needH = content.width() > view.width() - ext;
    const QSize inner(view.width() - (needV ? ext : 0), view.height() - (needH ? ext : 0));
    fitting_ = true;
    h_->setRange(0, needH ? content.width() - inner.width() : 0);
    h_->setPageStep(std::max(1, inner.width()));
    h_->setSingleStep(20);
    h_->setGeometry(0, view.height() - ext, inner.width(), ext);
    v_->setRange(0, needV ? content.height() - inner.height() : 0);
    v_->setPageStep(std::max(1, inner.height()));
    v_->setSingleStep(20);
    v_->setGeometry(view.width() - ext, 0, ext, inner.height());
    fitting_ = false;
    h_->setVisible(needH);
    v_->setVisible(needV);
    for (QScrollBar* b : {h_, v_})
        if (b->isVisibleTo(b->parentWidget())) b->raise();
    return offset();
}

bool ClientScroller::scrollBy(QPoint delta) {
    const QPoint before = offset();
    if (h_->isVisibleTo(h_->parentWidget())) h_->setValue(h_->value() + delta.x());
    if (v_->isVisibleTo(v_->parentWidget())) v_->setValue(v_->value() + delta.y());
    return offset() != before;
}

QPoint ClientScroller::offset() const {
    return QPoint(h_->isVisibleTo(h_->parentWidget()) ? -h_->value() : 0,
                  v_->isVisibleTo(v_->parentWidget()) ? -v_->value() : 0);
}

bool ClientScroller::shown() const {
    return h_->isVisibleTo(h_->parentWidget()) || v_->isVisibleTo(v_->parentWidget());
}

}  // namespace shell
