// The text of a page as a reader reads it: the pieces of text a picture
// shows, gathered into lines and read left to right within a line. What the
// clipboard, assistive technology and a PDF's outline get.
#pragma once

#include "picture.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

namespace typeset {

// One piece of text where it stands on the page (its cell, page pixels).
struct TextPiece {
    QRectF cell;
    QString text;
    // A script or a prime: it goes on the line of the piece before it, if
    // it starts about where that one ends, however high or low it stands.
    bool attached = false;
    // The figure it labels (0: the prose): a line holds pieces of one only.
    int block = 0;
    // The operations of the picture it reads [firstOp, lastOp); a copy's
    // texts all name the copy.
    uint32_t firstOp = 0, lastOp = 0;
};

// The text and glyph operations of a picture that show any text, in
// drawing order, moved by offset, each formula construct as one piece of
// linear text (see linear_text.h); copies bring the text of what they
// copied.
// Pieces of a figure group get blocks of their own; with block nonzero
// (a figure box), every piece is in that figure.
void appendPieces(std::vector<TextPiece>& pieces, const Picture& picture,
                  QPointF offset = QPointF(), int block = 0, bool spoken = false);

// Whether two cells stand on one line: they overlap for most of the smaller
// one's height (a subscript or superscript does with its base, the
// numerator of a fraction does not with the line it stands over).
bool onOneLine(const QRectF& a, const QRectF& b);

// The text of one line, from its pieces given left to right. A blank goes
// between two pieces where neither brings its own and the page leaves a gap
// of half the line's height or more, or any gap after a comma: the few
// pixels the formula routines leave between a sign and its argument are no
// word space, those after the comma of an argument list are.
class LineText {
public:
    void append(const TextPiece& piece);
    bool empty() const { return !started_; }
    // Whether a piece with this cell stands on the line.
    bool holds(const QRectF& cell) const { return !empty() && onOneLine(cell, anchor_); }
    // The tallest piece's cell, by which the line is known.
    const QRectF& anchor() const { return anchor_; }
    // Where its rightmost piece ends.
    double right() const { return right_; }
    // Without trailing blanks.
    QString text() const;

private:
    QString text_;
    QRectF anchor_;
    double right_ = 0;      // of all pieces so far
    double lastRight_ = 0;  // of the last one
    bool started_ = false;
};

// The pieces (in the order the page drew them) as lines in reading order.
// A line gathers the pieces the page drew one after another further along
// it (scripts, a formula's parts, prose in several faces); lines come in
// the order the page wrote them, so a figure's labels beside the prose
// follow the prose instead of breaking into its lines, and a fraction reads
// numerator, line, denominator. An equation's number ("[4]") drawn before
// the formula beside it follows the formula.
QStringList readingLines(const std::vector<TextPiece>& pieces);

// The first line that starts with a section number such as "(3)", trimmed;
// empty when there is none.
QString sectionHeading(const QStringList& lines);
// The page's first heading: its section heading, else its first line, else
// an empty text.
QString firstHeading(const QStringList& lines);

// The words of three letters or more in a text that are no function's name
// (sin, exp, det): what makes it English rather than a formula to a reader
// aloud.
int englishWords(const QString& text);
// The English phrases of a line that is Japanese besides ("(Gibbs
// phenomenon) とよびます"): runs of words with two English words in them,
// as [start, end) in UTF-16 units. Empty
// for a line without Japanese or without such a phrase.
std::vector<std::pair<qsizetype, qsizetype>> englishPhrases(const QString& line);

}  // namespace typeset
