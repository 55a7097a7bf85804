#include "picture.h"

namespace typeset {

void Picture::add(DrawOp op) {
    if (op.kind == DrawOp::Clear) ops_.clear();
    ops_.push_back(std::move(op));
}

QString Picture::text() const {
    QString out;
    for (const DrawOp& op : ops_)
        if (op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) out += op.meaning;
        else if (op.copiedText) out += op.copiedText->text();
    return out;
}

size_t Picture::bytes() const {
    size_t n = ops_.capacity() * sizeof(DrawOp);
    for (const DrawOp& op : ops_) {
        // Texts share their data with the page's strings more often than
        // not; counted as if each had its own.
        n += size_t(op.text.capacity() + op.meaning.capacity()) * sizeof(QChar);
        if (op.pixels) n += size_t(op.pixels->sizeInBytes());
        if (op.copiedText) n += op.copiedText->bytes();
    }
    return n;
}

}  // namespace typeset
