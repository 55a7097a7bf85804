// A page box: a borderless widget showing a persistent canvas image. What is
// drawn stays when the box is hidden or covered.
#pragma once

#include "chapter.h"
#include "backends/raster_canvas.h"

#include <QWidget>

namespace shell {

class PageBox : public QWidget {
    Q_OBJECT
public:
    PageBox(QWidget* parent, const Rect& geometry);
    typeset::RasterCanvas& canvas() { return canvas_; }

protected:
    void paintEvent(QPaintEvent*) override;
    // A page out of view keeps its picture as runs (see RasterCanvas::rest).
    void hideEvent(QHideEvent*) override;

private:
    typeset::RasterCanvas canvas_;
    bool repaintPending_ = false;  // one repaint request per run of drawing
};

}  // namespace shell
