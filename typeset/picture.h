// What has been drawn on a canvas since it was last cleared, operation by
// operation: the page as a picture that can be drawn again on any backend at
// any scale, and that knows the text it shows.
#pragma once

#include "draw_op.h"

#include <QSize>
#include <vector>

namespace typeset {

class Picture {
public:
    explicit Picture(QSize size = {}) : size_(size) {}

    // The surface it was drawn on, in canvas pixels. A picture that does not
    // begin with a clearing is drawn over white.
    QSize size() const { return size_; }
    void setSize(QSize s) { size_ = s; }

    // A clearing starts the picture afresh: nothing before it can show.
    void add(DrawOp op);
    const std::vector<DrawOp>& ops() const { return ops_; }
    bool empty() const { return ops_.empty(); }
    // Counts the clearings: a copy of the picture drawn elsewhere that saw
    // the same count and n operations needs only the operations from n on.
    uint64_t generation() const { return generation_; }

    // Gives back what the list of operations holds beyond its length: for a
    // picture nobody is drawing on.
    void compact() { ops_.shrink_to_fit(); }

    // The Unicode text of its text and glyph operations (and of what its
    // copies copied), in drawing order.
    QString text() const;
    // The memory it holds, roughly (records, their texts and copied pixels).
    size_t bytes() const;

private:
    QSize size_;
    std::vector<DrawOp> ops_;
    uint64_t generation_ = 0;
};

}  // namespace typeset
