// A page image kept while nobody draws on it or looks at it: its pixels as
// runs. A page is mostly paper with short stretches of ink, so runs of equal
// pixels take a tenth of the image or less, and both ways are a single pass.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace typeset {

class PixelRuns {
public:
    PixelRuns() = default;
    // The pixels of a 32-bit image (Format_RGB32).
    explicit PixelRuns(const QImage& image);

    bool isEmpty() const { return rowStart_.empty(); }
    int width() const { return width_; }
    int height() const { return int(rowStart_.size()); }
    size_t bytes() const { return words_.size() * sizeof(uint32_t); }

    // Rows [y0, y1) written into rows [intoY, ...) of an image of the same
    // width and format.
    void unpack(int y0, int y1, QImage& into, int intoY = 0) const;
    // The whole image again, with the given dots per metre and pixel ratio.
    QImage image(int dotsPerMeter, qreal devicePixelRatio) const;

private:
    // Per row, tokens: a repeat (count << 1 | 1, pixel) or a literal
    // (count << 1, count pixels).
    std::vector<uint32_t> words_;
    std::vector<uint32_t> rowStart_;
    int width_ = 0;
};

}  // namespace typeset
