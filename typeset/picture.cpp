#include "picture.h"

namespace typeset {

void Picture::add(DrawOp op) {
    if (op.kind == DrawOp::Clear) {
        ops_.clear();
        groups_.clear();
        open_.clear();
        descriptions_.clear();
        ++generation_;
    }
    ops_.push_back(std::move(op));
}

void Picture::openGroup(Group::Kind kind) {
    const int32_t parent = open_.empty() ? -1 : open_.back();
    const auto at = uint32_t(ops_.size());
    open_.push_back(int32_t(groups_.size()));
    groups_.push_back({kind, at, at, parent});
}

void Picture::openGroupIn(Group::Kind kind, int32_t parent) {
    if (parent < 0 || size_t(parent) >= groups_.size()) return openGroup(kind);
    const auto at = uint32_t(ops_.size());
    open_.push_back(int32_t(groups_.size()));
    groups_.push_back({kind, at, at, parent});
}

void Picture::adopt(int32_t group, int32_t parent) {
    const auto n = int32_t(groups_.size());
    if (group >= 0 && group < n && parent >= 0 && parent < n && group != parent) groups_[size_t(group)].parent = parent;
}

void Picture::closeGroup() {
    if (open_.empty()) return;  // opened before a clearing
    groups_[size_t(open_.back())].last = uint32_t(ops_.size());
    open_.pop_back();
}

void Picture::describe(const QString& text) {
    if (open_.empty()) return;
    const auto g = uint32_t(open_.back());
    for (auto& [group, said] : descriptions_)
        if (group == g) {
            said = text;
            return;
        }
    descriptions_.emplace_back(g, text);
}

QString Picture::description(size_t group) const {
    for (const auto& [g, said] : descriptions_)
        if (g == group) return said;
    return QString();
}

void Picture::appendGroups(const Picture& other, size_t from) {
    const auto shift = int64_t(ops_.size()) - int64_t(other.ops_.size());
    const auto base = int32_t(groups_.size());
    int32_t firstCopied = -1;
    for (size_t i = 0; i < other.groups_.size(); ++i) {
        Group g = other.groups_[i];
        if (g.first < from) continue;
        if (firstCopied < 0) firstCopied = int32_t(i);
        g.first = uint32_t(g.first + shift);
        g.last = uint32_t(g.last + shift);
        g.parent = g.parent >= firstCopied ? g.parent - firstCopied + base : -1;
        const QString said = other.description(i);
        if (!said.isEmpty()) descriptions_.emplace_back(uint32_t(groups_.size()), said);
        groups_.push_back(g);
    }
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
    size_t n = ops_.capacity() * sizeof(DrawOp) + groups_.capacity() * sizeof(Group);
    for (const auto& d : descriptions_) n += sizeof(d) + size_t(d.second.capacity()) * sizeof(QChar);
    for (const DrawOp& op : ops_) {
        // Texts share their data with the page's strings more often than
        // not; counted as if each had its own.
        n += size_t(op.text.capacity() + op.meaning.capacity()) * sizeof(QChar);
        if (!op.copied) continue;
        n += size_t(op.copied->pixels.sizeInBytes()) + op.copied->text.capacity() * sizeof(DrawOp);
        for (const DrawOp& t : op.copied->text)
            n += size_t(t.text.capacity() + t.meaning.capacity()) * sizeof(QChar);
        n += op.copied->drawing.capacity() * sizeof(DrawOp);
    }
    return n;
}

}  // namespace typeset
