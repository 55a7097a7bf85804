#include "backends/pixel_runs.h"

#include <algorithm>
#include <cstring>

namespace typeset {

namespace {

// Where the run of pixels equal to row[x] ends, given that it is at least
// three long. Most of a page is long runs of paper, so it is scanned four
// pixels to a step.
int runEnd(const uint32_t* row, int x, int w) {
    const uint32_t v = row[x];
    const uint64_t pair = uint64_t(v) << 32 | v;
    int e = x + 3;
    for (; e + 4 <= w; e += 4) {
        uint64_t q[2];
        std::memcpy(q, row + e, sizeof q);
        if (((q[0] ^ pair) | (q[1] ^ pair)) != 0) break;
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
        // Pixels from `literal` up to x are written as they are, in one token,
        // when a repeat or the end of the row comes.
        auto writeLiteral = [&](int literal, int x) {
            if (x == literal) return;
            words_.push_back(uint32_t(x - literal) << 1);
            words_.insert(words_.end(), row + literal, row + x);
        };
        int x = 0, literal = 0;
        while (x < w) {
            // A repeat of three pixels or more is worth its two words.
            if (x + 2 < w && row[x + 1] == row[x] && row[x + 2] == row[x]) {
                writeLiteral(literal, x);
                const int end = runEnd(row, x, w);
                words_.push_back(uint32_t(end - x) << 1 | 1);
                words_.push_back(row[x]);
                x = literal = end;
            } else {
                ++x;
            }
        }
        writeLiteral(literal, w);
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

}  // namespace typeset
