#include "page_text.h"

#include <QRegularExpression>
#include <algorithm>

namespace typeset {

namespace {

// Pieces whose cells overlap for this share of the smaller height are on
// one line: scripts overlap their base by about three quarters, the parts
// of a fraction their line by less than half.
constexpr double kSameLine = 0.6;
// A gap of this share of the line's height reads as a blank; after a
// comma, any gap of a few pixels does.
constexpr double kBlank = 0.5;
constexpr double kCommaGap = 2;

bool isBlank(QChar c) { return c.isSpace(); }

}  // namespace

bool onOneLine(const QRectF& a, const QRectF& b) {
    const double smaller = std::min(a.height(), b.height());
    const double overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
    return smaller > 0 && overlap >= kSameLine * smaller;
}

void LineText::append(const TextPiece& piece) {
    if (piece.text.isEmpty()) return;
    const bool wide = piece.cell.left() - right_ >= kBlank * anchor_.height();
    // The pages set "Γ(ν, x)" as Γ, 6 pixels, "(", ν, ",", 3 pixels, x.
    const bool afterComma =
        piece.cell.left() - lastRight_ >= kCommaGap && text_.endsWith(QLatin1Char(','));
    if (started_ && (wide || afterComma) && !isBlank(text_.back()) && !isBlank(piece.text.front()))
        text_ += QLatin1Char(' ');
    text_ += piece.text;
    right_ = started_ ? std::max(right_, piece.cell.right()) : piece.cell.right();
    lastRight_ = piece.cell.right();
    if (!started_ || piece.cell.height() > anchor_.height()) anchor_ = piece.cell;
    started_ = true;
}

QString LineText::text() const {
    QString t = text_;
    while (!t.isEmpty() && isBlank(t.back())) t.chop(1);
    return t;
}

void appendPieces(std::vector<TextPiece>& pieces, const Picture& picture, QPointF offset) {
    for (const DrawOp& op : picture.ops()) {
        if (op.kind == DrawOp::Copy && op.copiedText) {
            appendPieces(pieces, *op.copiedText, offset);
            continue;
        }
        if (op.kind != DrawOp::Text && op.kind != DrawOp::Glyph) continue;
        if (op.meaning.trimmed().isEmpty()) continue;
        const QRectF cell = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
        pieces.push_back({cell.translated(offset), op.meaning});
    }
}

QStringList readingLines(std::vector<TextPiece> pieces) {
    // Top to bottom, the page's drawing order among pieces on the same top;
    // each piece joins the line it overlaps, else starts the next.
    std::stable_sort(pieces.begin(), pieces.end(), [](const TextPiece& a, const TextPiece& b) {
        return a.cell.top() < b.cell.top();
    });
    struct Line {
        QRectF anchor;
        std::vector<const TextPiece*> pieces;
    };
    std::vector<Line> lines;
    for (const TextPiece& p : pieces) {
        if (!lines.empty() && onOneLine(p.cell, lines.back().anchor)) {
            Line& last = lines.back();
            last.pieces.push_back(&p);
            if (p.cell.height() > last.anchor.height()) last.anchor = p.cell;
            continue;
        }
        lines.push_back({p.cell, {&p}});
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return a.anchor.center().y() < b.anchor.center().y();
    });
    QStringList out;
    for (Line& line : lines) {
        std::stable_sort(line.pieces.begin(), line.pieces.end(),
                         [](const TextPiece* a, const TextPiece* b) {
                             return a->cell.left() < b->cell.left();
                         });
        LineText text;
        for (const TextPiece* p : line.pieces) text.append(*p);
        out << text.text();
    }
    return out;
}

QString firstHeading(const QStringList& lines) {
    static const QRegularExpression sectionNumber(QStringLiteral("^\\s*\\(\\d+\\)"));
    for (const QString& line : lines)
        if (sectionNumber.match(line).hasMatch()) return line.trimmed();
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty()) return line.trimmed();
    return QString();
}

}  // namespace typeset
