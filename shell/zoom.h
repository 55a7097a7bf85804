// Pages at any size: the zoom steps, the client area's widgets placed and
// lettered at a scale, and a canvas's picture drawn at that scale.
#pragma once

#include "backends/raster_canvas.h"

#include <QFont>
#include <QHash>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QScrollBar;

namespace shell {

// The steps a reader zooms through, in per cent.
inline constexpr int zoomSteps[] = {50, 67, 75, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400};
constexpr int minZoom = 50, maxZoom = 400;

// The next step above percent (direction > 0) or below it; the end step
// stays where it is.
int nextZoomStep(int percent, int direction);
// The largest step at most limit per cent (the smallest step if none is).
int largestStepWithin(double limit);
// The zoom a window of the given client size opens at on a screen with that
// much room: 100 % when it fits with its frame, else the largest step that
// does.
int fittingZoom(QSize available, QSize client);

// A widget that draws a canvas's picture and can draw it at a scale.
class Scalable {
public:
    virtual ~Scalable() = default;
    virtual void setScale(double scale) = 0;
};

// The widgets of the client area, each with the place, size, font and frame
// it has at 100 %; at another scale each is shown scaled about its parent's
// top-left (and those on the window itself moved by an offset, to centre
// them). Code that places controls does it here, in the client area's own
// pixels, and reads their places here too.
class ClientLayout {
public:
    // Takes the widget as it stands now as its 100 % look.
    void add(QWidget* w);
    void place(QWidget* w, const QRect& rect);
    void move(QWidget* w, const QPoint& topLeft);
    void setFont(QWidget* w, const QFont& font);
    // The widget's place at 100 % (its geometry if it is not here).
    QRect rect(const QWidget* w) const;

    void apply(double scale, QPoint offset = {});
    double scale() const { return scale_; }

private:
    struct Item {
        QPointer<QWidget> widget;
        QRect rect;
        QFont font;
        int lineWidth = -1;  // frames only
        QMargins margins;    // labels only
    };
    void show(Item& item) const;
    QHash<const QWidget*, Item> items_;
    double scale_ = 1;
    QPoint offset_;
};

// Scroll bars for a client area larger than its window (zoomed past the
// screen): shown only then, along the right and bottom edges, and the offset
// they give the client area.
class ClientScroller {
public:
    explicit ClientScroller(QWidget* window);
    // The client area, content large, in a window of size view: bars where
    // it does not fit, kept within range. Returns the client area's offset.
    QPoint fit(QSize content, QSize view);
    // Scrolls by delta pixels (a wheel's turn); false when it could not move.
    bool scrollBy(QPoint delta);
    QPoint offset() const;
    bool shown() const;
    // Called when the reader moved a bar.
    std::function<void()> onScroll;

private:
    QScrollBar* h_;
    QScrollBar* v_;
    bool fitting_ = false;
};

// A canvas's picture drawn at a scale and device pixel ratio, brought up to
// date from the picture whenever it is painted: only what was drawn since
// the last time, unless the canvas was cleared meanwhile.
class ScaledPicture {
public:
    // Paints source at scale onto p, whose origin is the widget's top-left;
    // what of the widget's area lies past the scaled image (its edges are
    // rounded as positions are, the image's up) takes the canvas's colour.
    void paint(QPainter& p, const typeset::RasterCanvas& source, double scale, qreal dpr, QSize area);
    // Gives back the pixels (a page out of view).
    void drop() { canvas_.reset(); }

private:
    std::unique_ptr<typeset::RasterCanvas> canvas_;
    double ratio_ = 0;  // scale times device pixel ratio
    QSize size_;
    uint64_t generation_ = 0;
    size_t drawn_ = 0;
};

// A widget's size at a scale: whole pixels, edges rounded as positions are.
QRect scaledRect(const QRect& r, double scale);

}  // namespace shell
