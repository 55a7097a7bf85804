// The square's own picture box on page 1: a persistent image that the
// construction draws into, with the square outline Shape1 and the two thin
// diagonals Line2 and Line4 lying over it like controls of their own.
#pragma once

#include "backends/raster_canvas.h"
#include "chapter.h"
#include "zoom.h"

#include <QWidget>

namespace chapters {

class SquareBox : public QWidget, public Scalable {
    Q_OBJECT
public:
    static constexpr int Width = 325, Height = 304;
    // Shape1: the finished square's outline, shown until step 1.
    static constexpr QRect shape1{50, 50, 200, 200};
    // Line2 and Line4: the diagonals, always on view.
    static constexpr QLine line2{60, 60, 240, 240}, line4{60, 240, 240, 60};

    SquareBox(QWidget* parent, int left, int top);
    RasterCanvas& canvas() { return canvas_; }

    bool shape1Visible() const { return shape1Visible_; }
    void setShape1Visible(bool on);

    // At another scale than 100 % the square's picture is drawn afresh at
    // that scale, the outline and diagonals over it scaled alike.
    void setScale(double scale) override;

    // Shape1 and the diagonals drawn on c at (dx, dy): the same strokes as
    // on screen, for the printed page.
    void drawOverlay(Canvas& c, int dx, int dy) const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    RasterCanvas canvas_;
    ScaledPicture scaled_;
    double scale_ = 1;
    bool shape1Visible_ = true;
};

}  // namespace chapters
