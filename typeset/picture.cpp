#include "picture.h"

namespace typeset {

void Picture::add(DrawOp op) {
    if (op.kind == DrawOp::Clear) {
        ops_.clear();
        ++generation_;
    }
    ops_.push_back(std::move(op));
}

QString Picture::text() const {
    QString out;
    for (const DrawOp& op : ops_)
        if (op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) out += op.meaning;
        else if (op.copied)
            for (const DrawOp& t : op.copied->text) out += t.meaning;
    return out;
}

size_t Picture::bytes() const {
    size_t n = ops_.capacity() * sizeof(DrawOp);
    for (const DrawOp& op : ops_) {
        // Texts share their data with the page's strings more often than
        // not; counted as if each had its own.
        n += size_t(op.text.capacity() + op.meaning.capacity()) * sizeof(QChar);
        if (!op.copied) continue;
        n += size_t(op.copied->pixels.sizeInBytes()) + op.copied->text.capacity() * sizeof(DrawOp);
        for (const DrawOp& t : op.copied->text)
            n += size_t(t.text.capacity() + t.meaning.capacity()) * sizeof(QChar);
    }
    return n;
}

}  // namespace typeset
