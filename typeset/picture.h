// What has been drawn on a canvas since it was last cleared, operation by
// operation: the page as a picture that can be drawn again on any backend at
// any scale, and that knows the text it shows.
#pragma once

#include "draw_op.h"

#include <QSize>
#include <cstdint>
#include <vector>

namespace typeset {

// A formula construct or one part of it: the operations [first, last) of a
// picture it drew. Groups nest; a picture keeps them in the order they
// began, so a group's children come after it. They say what the operations
// are, never how they look: no backend reads them.
struct Group {
    enum Kind : uint8_t {
        Superscript, Subscript,
        Fraction, Numerator, Denominator,  // the two parts of a fraction
        Sum, Integral, Lower, Upper,       // the two limits of a sum or integral
        Radical,     // the sign; what stands under its rule is drawn after it
        Fence,       // a tall parenthesis or brace drawn in pieces
        Dot, DoubleDot, Tilde,  // the letter, and the accent above it
        Prime, Minus,
        Row,         // parts read one after another (a partial derivative)
        Cases,       // a case block: its Row parts are its rows, top to bottom
        Figure,      // a graph, drawing or table: its labels read by themselves
        // A table's row and one cell of it, inside the table's Figure: they
        // say where a label stands, and read as the labels they hold.
        TableRow, Cell,
        Differential,  // d and its variable: a blank parts it from what it follows (f(x) dx)
    };
    Kind kind = Row;
    uint32_t first = 0, last = 0;
    int32_t parent = -1;  // index of the enclosing group, -1 for none
};

// A table's rows and cells say where a label stands, not what it is: no
// reading takes one as a construct.
inline bool placesOnly(Group::Kind k) { return k == Group::TableRow || k == Group::Cell; }

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

    // A group around the operations added until the matching close (closes
    // come in the reverse order of opens).
    void openGroup(Group::Kind kind);
    // A group that is part of an earlier one, drawn apart from it (the
    // numerators of a row of fraction bars, set after all the bars).
    void openGroupIn(Group::Kind kind, int32_t parent);
    // Makes a group drawn earlier a part of a later one (the numerator of
    // a staircase's level, set before its bar).
    void adopt(int32_t group, int32_t parent);
    void closeGroup();
    const std::vector<Group>& groups() const { return groups_; }
    // Says in words what the innermost open group shows (a graph's axes and
    // curves, a table's rows), for readers who cannot see it.
    void describe(const QString& text);
    // What describe said of a group, or an empty text.
    QString description(size_t group) const;
    // The groups of another picture that begin at or after its operation
    // `from`, as if its operations from there on had been added here.
    void appendGroups(const Picture& other, size_t from);

    // Gives back what the list of operations holds beyond its length: for a
    // picture nobody is drawing on.
    void compact() {
        ops_.shrink_to_fit();
        groups_.shrink_to_fit();
    }

    // The Unicode text of its text and glyph operations (and of what its
    // copies copied), in drawing order.
    QString text() const;
    // The memory it holds, roughly (records, their texts and copied pixels).
    size_t bytes() const;

private:
    QSize size_;
    std::vector<DrawOp> ops_;
    std::vector<Group> groups_;
    std::vector<int32_t> open_;  // groups not yet closed, innermost last
    std::vector<std::pair<uint32_t, QString>> descriptions_;  // few: figures only
    uint64_t generation_ = 0;
};

}  // namespace typeset
