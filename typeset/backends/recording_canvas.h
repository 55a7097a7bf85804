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
#include <vector>

namespace typeset {

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

    // Every operation drawn, clearings and what came before them included
    // (a test may empty it).
    std::vector<DrawOp> ops;
    // Only the text and glyph operations, in order.
    std::vector<DrawOp> texts() const;

protected:
    double measureWidthPx(const Font& f, const QString& s) override;
    double measureHeightPx(const Font& f, const QString& s) override;
    // Glyph codes are one byte each, so every glyph counts as narrow.
    QSize glyphExtentPx(const Font& f, const QByteArray& bytes, GlyphFont which) override;
    void paint(const DrawOp& op) override { ops.push_back(op); }

private:
    int w_, h_;
};

}  // namespace typeset
