#include "page_text.h"

#include "linear_text.h"

#include <QRegularExpression>
#include <algorithm>
#include <vector>

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

void appendPieces(std::vector<TextPiece>& pieces, const Picture& picture, QPointF offset, int block,
                  bool spoken) {
    appendLinearPieces(pieces, picture, offset, block, spoken);
}

QStringList readingLines(const std::vector<TextPiece>& pieces) {
    struct Line {
        QRectF anchor;    // the tallest piece's cell
        double lastLeft;  // where the last piece begins
        LineText text;
        int block;
    };
    std::vector<Line> lines;
    size_t lastLine = 0;
    QRectF lastCell;
    const auto continues = [](const Line& line, const TextPiece& p) {
        return line.block == p.block && onOneLine(p.cell, line.anchor) && p.cell.left() >= line.lastLeft;
    };
    for (const TextPiece& p : pieces) {
        if (p.text.isEmpty()) continue;
        // The line being written, or the one before it when a piece set
        // apart from it (a tilde over a letter) came in between and this
        // one goes on right where that line ended.
        Line* line = nullptr;
        const bool follows = p.attached && !lines.empty() && lines[lastLine].block == p.block &&
                             p.cell.left() >= lastCell.left() - 0.5 * lastCell.height() &&
                             p.cell.left() <= lastCell.right() + lastCell.height();
        if (follows) {
            line = &lines[lastLine];
        } else if (!lines.empty() && continues(lines.back(), p)) {
            line = &lines.back();
        } else if (lines.size() >= 2) {
            Line& before = lines[lines.size() - 2];
            if (continues(before, p) && p.cell.left() - before.text.right() < kBlank * before.anchor.height())
                line = &before;
        }
        if (!line) line = &lines.emplace_back(Line{p.cell, p.cell.left(), {}, p.block});
        line->text.append(p);
        line->lastLeft = p.cell.left();
        if (p.cell.height() > line->anchor.height() && !p.attached) line->anchor = p.cell;
        lastLine = size_t(line - lines.data());
        lastCell = p.cell;
    }
    // An equation's number, drawn at the right before its formula, reads
    // after the formula it stands beside.
    static const QRegularExpression number(QStringLiteral("^\\s*\\[\\d+\\]$"));
    QStringList out;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].text.text();
        if (i + 1 < lines.size() && number.match(t).hasMatch() &&
            onOneLine(lines[i + 1].anchor, lines[i].anchor) &&
            lines[i + 1].text.right() <= lines[i].anchor.left()) {
            out << lines[i + 1].text.text() + QLatin1Char(' ') + t.trimmed();
            ++i;
            continue;
        }
        out << t;
    }
    return out;
}

QString sectionHeading(const QStringList& lines) {
    static const QRegularExpression sectionNumber(QStringLiteral("^\\s*\\(\\d+\\)"));
    for (const QString& line : lines)
        if (sectionNumber.match(line).hasMatch()) return line.trimmed();
    return QString();
}

QString firstHeading(const QStringList& lines) {
    if (QString heading = sectionHeading(lines); !heading.isEmpty()) return heading;
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty()) return line.trimmed();
    return QString();
}

int englishWords(const QString& text) {
    static const QRegularExpression word(QStringLiteral("\\b[A-Za-z]{3,}\\b"));
    static const QRegularExpression function(
        QStringLiteral("^(sin|cos|tan|cot|sec|exp|log|max|min|lim|sinh|cosh|tanh|arg|det)$"));
    int n = 0;
    for (auto w = word.globalMatch(text); w.hasNext();)
        if (!function.match(w.next().captured()).hasMatch()) ++n;
    return n;
}

std::vector<std::pair<qsizetype, qsizetype>> englishPhrases(const QString& line) {
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3040}-\\x{30FF}\\x{3400}-\\x{9FFF}\\x{F900}-\\x{FAFF}]"));
    static const QRegularExpression phrase(QStringLiteral("[A-Za-z][A-Za-z'-]*(?:[ ,]+[A-Za-z][A-Za-z'-]*)+"));
    std::vector<std::pair<qsizetype, qsizetype>> out;
    if (!japanese.match(line).hasMatch()) return out;
    for (auto m = phrase.globalMatch(line); m.hasNext();) {
        const QRegularExpressionMatch p = m.next();
        if (englishWords(p.captured()) >= 2) out.emplace_back(p.capturedStart(), p.capturedEnd());
    }
    return out;
}

}  // namespace typeset
