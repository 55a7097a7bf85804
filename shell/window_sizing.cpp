// The viewer window's size: zoom, full screen, scrolling when the page is
// larger than the window, and where the window opens.
#include "form1.h"
#include "presentation.h"

#include <QKeyEvent>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace shell {

QSize Form1::clientSizeAt(double scale) const {
    return {int(std::nearbyint(profile_.clientWidth * scale)), int(std::nearbyint(profile_.clientHeight * scale))};
}

void Form1::placeWindow() {
    if (QScreen* s = screen()) {
        const QRect avail = s->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }
}

void Form1::showScaled() {
    placed_ = true;
    // Presenting on the presenter's own screen, the hall is there only in
    // full screen.
    if (presentation_ && presentation_->sharesScreen() && !fullScreen_) {
        hide();
        return;
    }
    if (fullScreen_) {
        showFullScreen();
        // Without a window manager to do it, the window takes the screen
        // itself.
        if (QScreen* s = screen()) setGeometry(s->geometry());
        return;
    }
    placeWindow();
    show();
}

int Form1::fittingZoom() const {
    const QScreen* s = screen();
    return s ? shell::fittingZoom(s->availableGeometry().size(), clientSize()) : 100;
}

void Form1::setZoom(int percent) {
    zoom_ = std::clamp(percent, minZoom, maxZoom);
    if (onViewChanged) onViewChanged();
    if (fullScreen_) return;  // full screen has its own scale; the zoom comes back after
    const double s = zoom_ / 100.0;
    QSize size = clientSizeAt(s);
    const QScreen* sc = screen();
    if (sc) size = size.boundedTo(sc->availableGeometry().size());
    resize(size);
    layOut();
    if (!sc || !isVisible()) return;  // start-up centres it
    // Grown past the screen's edge: back inside, as far as it goes.
    const QRect avail = sc->availableGeometry();
    const QRect frame = frameGeometry();
    QPoint at = frame.topLeft();
    at.setX(std::max(avail.left(), std::min(at.x(), avail.right() + 1 - frame.width())));
    at.setY(std::max(avail.top(), std::min(at.y(), avail.bottom() + 1 - frame.height())));
    if (at != frame.topLeft()) move(at);
}

void Form1::setFullScreen(bool on) {
    if (on == fullScreen_) return;
    fullScreen_ = on;
    if (onViewChanged) onViewChanged();
    if (!placed_) return;  // start-up opens the window so
    if (on) {
        showScaled();
    } else if (presentation_ && presentation_->sharesScreen()) {
        showNormal();
        hide();
        setZoom(zoom_);
    } else {
        showNormal();
        setZoom(zoom_);
        placeWindow();
    }
}

void Form1::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layOut();
}

void Form1::layOut() {
    if (!fullScreen_) {
        // Larger than the window (zoomed past the screen): it scrolls.
        const double s = zoom_ / 100.0;
        const QSize content = clientSizeAt(s);
        layout_.apply(s, scroller_.fit(content, size()));
        return;
    }
    scroller_.fit({}, size());
    // The largest scale at which the client area fits, centred.
    const double s = std::min(double(width()) / profile_.clientWidth,
                              double(height()) / profile_.clientHeight);
    const QSize shown = clientSizeAt(s);
    layout_.apply(s, QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2));
}

bool Form1::windowKey(QKeyEvent* e) {
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_F11:
        setFullScreen(!fullScreen_);
        return true;
    case Qt::Key_F5:
        if (ctrl) return false;
        startPresentation();
        return true;
    case Qt::Key_I:
        if (!ctrl) return false;
        setInverted(!inverted_);
        return true;
    case Qt::Key_Escape:
        // Out of full screen first, as a presentation leaves it.
        if (!fullScreen_) return false;
        setFullScreen(false);
        return true;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        if (!ctrl) return false;
        zoomIn();
        return true;
    case Qt::Key_Minus:
        if (!ctrl) return false;
        zoomOut();
        return true;
    case Qt::Key_0:
        if (!ctrl) return false;
        setZoom(100);
        return true;
    default:
        return false;
    }
}

void Form1::wheelEvent(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) {
        // A page larger than the window scrolls: three lines of 20 pixels a
        // notch, sideways with Shift.
        QPoint by = -e->angleDelta() * 60 / 120;
        if (e->modifiers() & Qt::ShiftModifier) by = QPoint(by.y(), by.x());
        if (scroller_.scrollBy(by)) e->accept();
        else QWidget::wheelEvent(e);
        return;
    }
    if (e->angleDelta().y() == 0) {
        QWidget::wheelEvent(e);
        return;
    }
    if (e->angleDelta().y() > 0) zoomIn();
    else zoomOut();
    e->accept();
}

}  // namespace shell
