// Canvas backend on a persistent 96-dpi QImage: the surface of a page box, a
// figure box or the print canvas.
#pragma once

#include "backends/painting.h"
#include "backends/pixel_runs.h"
#include "canvas.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>
#include <functional>

namespace typeset {

class RasterCanvas : public MeasuredCanvas {
public:
    // A white w x h canvas (logical pixels). The device pixel ratio only sets
    // how finely the image is rasterised; positions and measurements are the
    // same for every ratio.
    RasterCanvas(int w, int h, qreal devicePixelRatio = 1.0);

    int pixelWidth() const override { return w_; }
    int pixelHeight() const override { return h_; }

    // The picture so far. Reading it finishes any drawing in progress.
    const QImage& image() const {
        flush();
        return pixels();
    }
    QImage& image() {
        flush();
        return pixels();
    }
    // Ends the painter that successive operations share.
    void flush() const {
        painter_.reset();
        linePen_.reset();
    }
    // Keeps the picture as runs of pixels until it is next drawn on or read,
    // which gives back most of its memory. For a page nobody is drawing on.
    void rest();
    // From now on draws into the picture only, until the pixels are first
    // read: then they are made from the picture, and drawing paints again.
    // A page drawn out of view costs no pixels nor glyphs until it is shown.
    void defer();
    bool deferred() const { return deferred_; }
    bool resting() const { return image_.isNull() && !rested_.isEmpty(); }
    // Paints the part of a resting picture within `area` (logical pixels)
    // at the painter's origin, a band at a time, without making the image.
    void paintResting(QPainter& p, const QRect& area) const;
    // Changes the size, keeping what fits of the picture.
    void resize(int w, int h);

    // Called after every drawing operation (a widget showing the image
    // schedules a repaint).
    std::function<void()> onChange;
    // What makeVisible does for the widget or window showing this canvas.
    std::function<void()> onMakeVisible;
    void makeVisible() override {
        if (onMakeVisible) onMakeVisible();
    }

    QImage pixelsOf(const QRect& r) const override;

protected:
    void paint(const DrawOp& op) override;

private:
    void paintOp(const DrawOp& op);
    void text(const ResolvedFont& rf, const DrawOp& op, const QString& shown);
    void line(const DrawOp& op);
    void box(const DrawOp& op);
    void circle(const DrawOp& op);
    void point(const DrawOp& op);
    void clear(const DrawOp& op);
    void copy(const DrawOp& op);
    QPointF strokeShift(int width) const;
    void toDevice(QPainter& p) const;
    // The image, made when first needed: a canvas that is only ever cleared
    // (the print canvas until a page is printed) holds no pixels.
    QImage& pixels() const;
    // One painter serves a run of operations: opening one per operation
    // would cost more than most operations themselves.
    QPainter& painter(bool antialiased);
    bool antialiased_ = false;
    // The pen the painter holds when the last operation was a line: a
    // graph is thousands of lines in one pen, and making and setting a pen
    // costs a third of drawing a short line.
    struct LinePen {
        Color colour;
        int width;
        DrawStyle style;
        bool operator==(const LinePen&) const = default;
    };
    mutable std::optional<LinePen> linePen_;
    int w_, h_;
    qreal dpr_;
    mutable QImage image_;  // null until pixels() makes it, or while resting
    mutable PixelRuns rested_;
    mutable bool deferred_ = false;  // the pixels are the picture's, not yet made
    QColor blank_;          // what pixels() fills a new image with
    mutable std::unique_ptr<QPainter> painter_;  // after image_: ends before it goes
};

}  // namespace typeset
