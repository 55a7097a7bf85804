// Canvas backend that keeps every operation as data and measures text with a
// fixed metric, so that tests can check layout arithmetic exactly whatever
// fonts are installed.
//
// Default metric, in pixels at FontSize S (points): a character below U+0100
// is 0.5*S wide, any other character S wide; every text is 1.5*S high. A
// test may install its own metric.
#pragma once

#include "canvas.h"

#include <functional>

class RecordingCanvas : public Canvas {
public:
    RecordingCanvas(int w = 774, int h = 729) : w_(w), h_(h) {}

    int pixelWidth() const override { return w_; }
    int pixelHeight() const override { return h_; }

    struct FontSel {
        QString face;
        double size;
        bool bold, italic;
    };
    using Metric = std::function<double(const FontSel&, const QString&)>;
    Metric widthMetric = defaultWidth;
    Metric heightMetric = defaultHeight;
    static double defaultWidth(const FontSel& f, const QString& s);
    static double defaultHeight(const FontSel& f, const QString& s);

    std::vector<DrawOp> ops;
    // Only the text and glyph operations, in order.
    std::vector<DrawOp> texts() const;

protected:
    double measureWidthPx(const Font& f, const QString& s) override;
    double measureHeightPx(const Font& f, const QString& s) override;
    void drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                    int angle) override;
    QSize glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw, Color c,
                   int angle, GlyphFont which) override;
    void linePx(double x1, double y1, double x2, double y2, Color c) override;
    void boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) override;
    void circlePx(double cx, double cy, double rx, double ry, Color c, double start,
                  double end) override;
    void psetPx(double x, double y, Color c) override;
    void clearPx(Color back) override;
    void copyPx(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) override;

private:
    int w_, h_;
};
