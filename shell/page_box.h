// A page box: a borderless widget showing a persistent canvas image. What is
// drawn stays when the box is hidden or covered.
#pragma once

#include "backends/raster_canvas.h"
#include "chapter.h"
#include "zoom.h"

#include <QWidget>
#include <functional>

namespace shell {

class PageBox : public QWidget, public Scalable {
    Q_OBJECT
public:
    PageBox(QWidget* parent, const Rect& geometry);
    ~PageBox() override;
    typeset::RasterCanvas& canvas() { return canvas_; }
    const typeset::RasterCanvas& canvas() const { return canvas_; }

    // At 100 % the box shows its canvas's image; at any other scale its
    // picture drawn afresh at that scale.
    void setScale(double scale) override;
    double scale() const { return scale_; }
    // Told whenever something is drawn on the canvas, shown or not (a
    // presenter view copies the page).
    std::function<void()> onDrawn;
    // Which of its window's pages it is (from 0); -1 for a figure box.
    int page = -1;

protected:
    void paintEvent(QPaintEvent*) override;
    // A page out of view keeps its picture as runs (see RasterCanvas::rest)
    // and gives back its scaled pixels.
    void hideEvent(QHideEvent*) override;

private:
    typeset::RasterCanvas canvas_;
    ScaledPicture scaled_;
    double scale_ = 1;
    bool repaintPending_ = false;  // one repaint request per run of drawing
};

}  // namespace shell
