#include "pixel_runs.h"

#include <algorithm>
#include <cstring>

namespace {

// Shorter repeats cost as much as they save.
constexpr int minRepeat = 3;

// Where the run of pixels equal to row[x] ends. Most of a page is one long
// run of paper, so it is scanned two pixels to a comparison.
int runEnd(const uint32_t* row, int x, int w) {
    const uint32_t v = row[x];
    const uint64_t pair = uint64_t(v) << 32 | v;
    int e = x + 1;
    for (; e + 2 <= w; e += 2) {
        uint64_t two;
        std::memcpy(&two, row + e, sizeof two);
        if (two != pair) break;
    }
    while (e < w && row[e] == v) ++e;
    return e;
}

}  // namespace

PixelRuns::PixelRuns(const QImage& image) : width_(image.width()) {
    const int w = image.width(), h = image.height();
    rowStart_.reserve(size_t(h));
    words_.reserve(size_t(h) * 8);
    for (int y = 0; y < h; ++y) {
        rowStart_.push_back(uint32_t(words_.size()));
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        int literal = 0;  // the pixels just before x still to be written as they are
        auto flushLiteral = [&](int end) {
            if (literal == 0) return;
            words_.push_back(uint32_t(literal) << 1);
            words_.insert(words_.end(), row + end - literal, row + end);
            literal = 0;
        };
        int x = 0;
        while (x < w) {
            const int run = runEnd(row, x, w) - x;
            if (run >= minRepeat) {
                flushLiteral(x);
                words_.push_back(uint32_t(run) << 1 | 1);
                words_.push_back(row[x]);
            } else {
                literal += run;
            }
            x += run;
        }
        flushLiteral(w);
    }
    words_.shrink_to_fit();
}

void PixelRuns::unpack(int y0, int y1, QImage& into, int intoY) const {
    for (int y = y0; y < y1; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(into.scanLine(intoY + y - y0));
        const uint32_t* in = words_.data() + rowStart_[size_t(y)];
        for (int x = 0; x < width_;) {
            const uint32_t token = *in++;
            const int n = int(token >> 1);
            if (token & 1) {
                std::fill(out + x, out + x + n, *in++);
            } else {
                std::memcpy(out + x, in, size_t(n) * sizeof(uint32_t));
                in += n;
            }
            x += n;
        }
    }
}

QImage PixelRuns::image(int dotsPerMeter, qreal devicePixelRatio) const {
    QImage out(width_, height(), QImage::Format_RGB32);
    out.setDotsPerMeterX(dotsPerMeter);
    out.setDotsPerMeterY(dotsPerMeter);
    out.setDevicePixelRatio(devicePixelRatio);
    unpack(0, height(), out);
    return out;
}
