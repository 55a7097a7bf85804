#include "linear_text.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <QRegularExpression>

namespace typeset {

namespace {

const QChar kMinus(0x2212);
// Marks an upright function name (cos, lim) at both ends while the text is
// put together, so that a blank can part it from the letters around it
// ("sin nx dx", not "sinnxdx"); gone from what the reading gives.
const QChar kNameStart(0xE000), kNameEnd(0xE001);

QString unmarked(QString t) {
    t.remove(kNameStart);
    t.remove(kNameEnd);
    return t;
}

// Where no blank goes before: a closing bracket, a comma, a full stop.
const QString kClosing = QStringLiteral(")]},，、。.");

// Whether the text is bracketed as a whole: "(a+b)", not "(a)(b)".
bool bracketed(const QString& t) {
    if (t.size() < 2 || t.front() != QLatin1Char('(') || t.back() != QLatin1Char(')')) return false;
    int depth = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('(')) ++depth;
        else if (t[i] == QLatin1Char(')') && --depth == 0 && i + 1 < t.size()) return false;
    }
    return depth == 0;
}

bool isNumber(const QString& t) {
    return std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit() || c == QLatin1Char('.'); });
}

// One letter or sign, with any accents and primes it carries.
bool isSymbol(const QString& t) {
    if (t.isEmpty() || !(t[0].isLetter() || t[0] == QChar(0x221E) || t[0] == QChar(0x2202))) return false;
    return std::all_of(t.begin() + 1, t.end(),
                       [](QChar c) { return isCombiningMark(c) || c == QChar(0x2032); });
}

// A symbol with its scripts: x^2, G_(n+1), J′_(2n).
bool isScripted(const QString& t) {
    static const QRegularExpression scripts(QStringLiteral("([_^](\\([^()]*\\)|[^()\\s]))+$"));
    const QRegularExpressionMatch m = scripts.match(t);
    return m.hasMatch() && m.capturedStart() > 0 && isSymbol(t.left(m.capturedStart()));
}

// What a text or glyph operation reads as inside a formula: its minus
// signs are minus signs.
QString opText(const DrawOp& op, bool inFormula) {
    QString t = op.meaning;
    const bool upright = op.font.face == QLatin1String("Courier New");
    if (upright && t.size() >= 2 && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isLetter(); }))
        return kNameStart + t + kNameEnd;
    if (inFormula || upright) t.replace(QLatin1Char('-'), kMinus);
    if (inFormula) t.replace(QChar(0xFF0D), kMinus);
    // A hyphen before a number, where no word goes on, is its sign: (-1), -3.
    static const QRegularExpression sign(QStringLiteral("(^|[\\s(=,])-(?=[\\d.])"));
    if (t.contains(QLatin1Char('-'))) t.replace(sign, QStringLiteral("\\1\u2212"));
    // The pages write an increment with the right-triangle sign and a
    // midline ellipsis with half-width dots.
    static const QRegularExpression dots(QStringLiteral("\\x{FF65}( ?\\x{FF65})*"));
    if (t.contains(QChar(0x22BF))) t.replace(QChar(0x22BF), QChar(0x0394));
    if (t.contains(QChar(0xFF65))) t.replace(dots, QStringLiteral("\u22EF"));
    return t;
}

bool showsText(const DrawOp& op) {
    return (op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) && !op.meaning.trimmed().isEmpty();
}

// Whether a script's operand, unbracketed, would run on into what follows
// ("c_k T_k", not "c_kT_k"): then a blank ends it.
bool runsOn(const QString& before, const QString& after) {
    static const QRegularExpression open(QStringLiteral("[_^][\\w.\\x{2032}\\x{0300}-\\x{036F}]+$"));
    return !after.isEmpty() && after.front().isLetterOrNumber() && open.match(before).hasMatch();
}

// Where text goes on with more: a blank after a function name before a
// letter or digit, and before one after a letter, digit or ")". A fraction
// a name applies to is bracketed: sin(|q|/2).
void seam(QString& before, QString& more, bool fraction = false) {
    // A fraction after a letter or a digit is not its numerator's end:
    // "2 d/(dx)", not "2d/(dx)".
    if (fraction && !before.isEmpty() && before.back().isLetterOrNumber() && !more.isEmpty() &&
        !more.startsWith(QLatin1Char(' ')))
        before += QLatin1Char(' ');
    if (before.endsWith(kNameEnd)) {
        before.chop(1);
        const QString next = unmarked(more).trimmed();
        if (fraction && !bracketed(next)) more = QLatin1Char('(') + next + QLatin1Char(')');
        else if (!next.isEmpty() && next.front().isLetterOrNumber() && !more.startsWith(QLatin1Char(' ')))
            before += QLatin1Char(' ');
    }
    if (more.startsWith(kNameStart)) {
        more.remove(0, 1);
        const QChar last = before.isEmpty() ? QChar() : before.back();
        if (last.isLetterOrNumber() || last == QLatin1Char(')') || isCombiningMark(last) || last == QChar(0x2032))
            before += QLatin1Char(' ');
    }
}

QRectF cellOf(const DrawOp& op) {
    return QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
}

class Reader {
public:
    explicit Reader(const Picture& p) : ops_(p.ops()), groups_(p.groups()) {
        children_.resize(groups_.size());
        inside_.resize(groups_.size());
        apartOwner_.assign(ops_.size(), -1);
        for (size_t g = 0; g < groups_.size(); ++g) {
            if (groups_[g].parent < 0) continue;
            const auto parent = size_t(groups_[g].parent);
            children_[parent].push_back(g);
            if (!drawnApart(g)) {
                inside_[parent].push_back(g);
                continue;
            }
            // Groups come in the order they were opened: a later one is
            // the inner one.
            for (size_t i = groups_[g].first; i < groups_[g].last && i < ops_.size(); ++i) apartOwner_[i] = int32_t(g);
        }
    }

    // Whether h is g or holds it.
    bool holds(int32_t h, size_t g) const {
        for (auto k = int32_t(g); k >= 0; k = groups_[size_t(k)].parent)
            if (k == h) return true;
        return false;
    }

    // A part drawn apart from its construct (drawPartOf): it reads there,
    // not where it stands among the operations.
    bool drawnApart(size_t g) const {
        const int32_t p = groups_[g].parent;
        return p >= 0 && (groups_[g].first < groups_[size_t(p)].first || groups_[g].last > groups_[size_t(p)].last);
    }

    QString text(size_t g) const {
        const Group& group = groups_[g];
        switch (group.kind) {
        case Group::Superscript:
        case Group::Subscript: return scripted(group.kind, script(g));
        case Group::Fraction: {
            const QString num = part(g, Group::Numerator), den = part(g, Group::Denominator);
            // A rule drawn with no parts known (a fraction set by hand
            // inside) reads as what it holds.
            if (num.isEmpty() && den.isEmpty()) return content(g, false);
            return beforeBar(g) + operand(num) + QLatin1Char('/') + operand(den);
        }
        case Group::Sum:
        case Group::Integral: {
            QString t = group.kind == Group::Sum ? QStringLiteral("\u2211") : QStringLiteral("\u222B");
            const QString lower = limit(g, Group::Lower), upper = limit(g, Group::Upper);
            if (!lower.isEmpty()) t += QLatin1Char('_') + operand(lower);
            if (!upper.isEmpty()) t += QLatin1Char('^') + operand(upper);
            return t;
        }
        case Group::Radical: return QStringLiteral("\u221A");
        case Group::Dot: return accented(g, QChar(0x0307));
        case Group::DoubleDot: return accented(g, QChar(0x0308));
        case Group::Tilde: return accented(g, QChar(0x0303));
        case Group::Prime: return QString(QChar(0x2032));
        case Group::Minus: return QString(kMinus);
        case Group::Cases: return cases(g);
        // Marked as a name's start: a blank parts it from a letter, a digit
        // or a bracket before it (sin nx dx, f(x) dx).
        case Group::Differential: return kNameStart + unmarked(content(g, false));
        case Group::Fence:
        case Group::Row:
        case Group::Figure:
        case Group::TableRow:
        case Group::Cell:
        case Group::Numerator:
        case Group::Denominator:
        case Group::Lower:
        case Group::Upper: break;
        }
        return content(g, false);
    }

    // A script's marker and operand.
    QString scripted(Group::Kind kind, const QString& t) const {
        return (kind == Group::Superscript ? QLatin1Char('^') : QLatin1Char('_')) + operand(t);
    }

    // What a fraction's bar was drawn with, in one run before it ("⋯ + ──"):
    // it reads before the fraction.
    QString beforeBar(size_t g) const {
        static const QRegularExpression bar(QStringLiteral("[\u2500\u2015]+\\s*$"));
        QString t;
        for (size_t i = groups_[g].first; i < groups_[g].last; ++i) {
            const bool inPart = std::any_of(inside_[g].begin(), inside_[g].end(), [&](size_t k) {
                return i >= groups_[k].first && i < groups_[k].last;
            });
            if (inPart || !showsText(ops_[i]) || (apartOwner_[i] >= 0 && !holds(apartOwner_[i], g))) continue;
            const QString run = opText(ops_[i], true);
            const QRegularExpressionMatch m = bar.match(run);
            if (m.hasMatch() && m.capturedStart() > 0) t += run.left(m.capturedStart());
        }
        return t;
    }

    // A case block's rows, as UnicodeMath writes cases: {■(row @ row)┤. Its
    // brace is the "{".
    // A brace drawn to the right of its rows (two equations under one
    // number) closes them instead: ├■(row @ row)}.
    QString cases(size_t g) const {
        QStringList rows;
        double rowsRight = 0;
        for (size_t k : children_[g]) {
            if (groups_[k].kind != Group::Row) continue;
            rows << unmarked(content(k, false, true)).simplified();
            rowsRight = std::max(rowsRight, cell(k).right());
        }
        bool braceRight = false;
        for (size_t i = groups_[g].first; i < groups_[g].last; ++i) {
            const bool inRow = std::any_of(children_[g].begin(), children_[g].end(), [&](size_t k) {
                return groups_[k].kind == Group::Row && i >= groups_[k].first && i < groups_[k].last;
            });
            if (!inRow && showsText(ops_[i])) braceRight = cellOf(ops_[i]).left() >= rowsRight;
        }
        const QString inside = QStringLiteral("\u25A0(") + rows.join(QStringLiteral(" @ ")) + QLatin1Char(')');
        return braceRight ? QStringLiteral("\u251C") + inside + QLatin1Char('}')
                          : QLatin1Char('{') + inside + QStringLiteral("\u2524");
    }

    // The ops and child groups of g in drawing order; with `bare`, scripts
    // read without their markers (a limit drawn as a script is the limit).
    // With `columns`, a gap of half a line or more parts two columns with
    // "&" (a case's value and its condition).
    QString content(size_t g, bool bare, bool columns = false) const {
        QString t;
        double right = 0;
        const auto column = [&](const QRectF& c) {
            if (!columns) return;
            if (!t.isEmpty() && c.left() - right >= 0.5 * c.height())
                append(t, QStringLiteral(" & "));
            right = t.isEmpty() ? c.right() : std::max(right, c.right());
        };
        size_t i = groups_[g].first;
        size_t next = 0;
        const std::vector<size_t>& kids = inside_[g];
        // Only a limit set as a script as a whole reads without markers:
        // 2^p in 2^p−1 keeps its own.
        if (bare) {
            std::vector<bool> inScript(groups_[g].last - groups_[g].first, false);
            for (size_t k : kids)
                if (groups_[k].kind == Group::Superscript || groups_[k].kind == Group::Subscript)
                    for (size_t j = groups_[k].first; j < groups_[k].last; ++j) inScript[j - groups_[g].first] = true;
            for (size_t j = groups_[g].first; j < groups_[g].last; ++j)
                if (showsText(ops_[j]) && !inScript[j - groups_[g].first]) bare = false;
        }
        while (i < groups_[g].last) {
            if (next < kids.size() && groups_[kids[next]].first <= i) {
                const size_t k = kids[next++];
                const Group::Kind kind = groups_[k].kind;
                column(cell(k));
                // A blank ends a fraction, as it does on a line of its own.
                append(t,
                       bare && (kind == Group::Superscript || kind == Group::Subscript) ? script(k)
                       : kind == Group::Fraction                                      ? text(k) + QLatin1Char(' ')
                                                                                      : text(k),
                       kind == Group::Fraction);
                i = std::max<size_t>(i, groups_[k].last);
                continue;
            }
            // A part drawn here but belonging elsewhere reads there.
            if (showsText(ops_[i]) && (apartOwner_[i] < 0 || holds(apartOwner_[i], g))) {
                column(cellOf(ops_[i]));
                append(t, opText(ops_[i], true));
            }
            ++i;
        }
        return t;
    }

    static void append(QString& t, QString more, bool fraction = false) {
        // A descending ellipsis is drawn dot by dot: one ellipsis.
        const QChar dots(0x22EF);
        if (more.startsWith(dots) && t.endsWith(dots)) more.remove(0, 1);
        if (more.isEmpty()) return;
        seam(t, more, fraction);
        if (runsOn(t, more)) t += QLatin1Char(' ');
        if (t.endsWith(QLatin1Char(' ')) && (more.startsWith(QLatin1Char(' ')) || kClosing.contains(more.front())))
            t.chop(1);
        t += more;
    }

    // Its children of a kind, read. A part drawn in pieces (a numerator's
    // last factor set after the fraction's bar) reads as their product.
    QString part(size_t g, Group::Kind kind, bool bare = false) const {
        std::vector<size_t> pieces;
        for (size_t k : children_[g])
            if (groups_[k].kind == kind) pieces.push_back(k);
        const auto read = [bare](const Reader& r, size_t k) { return unmarked(r.content(k, bare)).trimmed(); };
        if (pieces.size() <= 1) return pieces.empty() ? QString() : read(*this, pieces[0]);
        QString t;
        for (size_t k : pieces) t += operand(read(*this, k));
        return t.trimmed();
    }

    QString limit(size_t g, Group::Kind kind) const { return script(g, part(g, kind, true)); }

    // A script's text without the blanks that only place its characters.
    QString script(size_t g) const { return script(g, content(g, false)); }
    QString script(size_t, QString t) const {
        t.remove(QLatin1Char(' '));
        return unmarked(t);
    }

    // The letter the accent stands over, and the accent after it.
    QString accented(size_t g, QChar accent) const {
        QString base;
        for (size_t i = groups_[g].first; i < groups_[g].last; ++i) {
            const QString m = ops_[i].meaning.trimmed();
            if (!showsText(ops_[i]) || m == QStringLiteral("・") || m == QLatin1String("~")) continue;
            base += m;
        }
        return accent.isNull() ? base : base + accent;
    }

    // Where the text of g and everything it holds stands.
    QRectF cell(size_t g) const {
        QRectF all;
        double tallest = 0;
        for (size_t i = groups_[g].first; i < groups_[g].last; ++i) {
            if (!showsText(ops_[i])) continue;
            const QRectF c = cellOf(ops_[i]);
            all = all.isNull() ? c : all.united(c);
            tallest = std::max(tallest, c.height());
        }
        // A case block stands on the line of each of its rows, so that it
        // reads on from what comes before it, on its first row or its middle.
        if (groups_[g].kind == Group::Cases) return all;
        // A row of a letter or name and its scripts (X^(p)_(k,l), lim_(N→∞))
        // stands where its base does: the scripts above and below it are no
        // line of their own.
        if (groups_[g].kind == Group::Row) {
            QRectF base;
            for (size_t i = groups_[g].first; i < groups_[g].last; ++i) {
                const bool scripted = std::any_of(inside_[g].begin(), inside_[g].end(), [&](size_t k) {
                    const Group::Kind kind = groups_[k].kind;
                    return (kind == Group::Superscript || kind == Group::Subscript) && i >= groups_[k].first &&
                           i < groups_[k].last;
                });
                if (showsText(ops_[i]) && !scripted) base = base.isNull() ? cellOf(ops_[i]) : base.united(cellOf(ops_[i]));
            }
            if (!base.isNull()) return QRectF(all.left(), base.top(), all.width(), base.height());
        }
        // As tall as its tallest piece, about its middle: a fraction or a
        // sum with its limits stands on its line as one of its signs would,
        // and the line keeps the blanks of its own height.
        return QRectF(all.left(), all.center().y() - tallest / 2, all.width(), tallest);
    }

    // The rule of a radical: from the sign's right to the furthest right any
    // line drawn with it or right after it reaches, at its highest.
    QRectF rule(size_t g, size_t& after) const {
        QRectF r;
        for (size_t i = groups_[g].first; i < groups_[g].last; ++i)
            if (showsText(ops_[i])) r = cellOf(ops_[i]);
        double right = r.right(), top = r.top();
        after = groups_[g].last;
        for (auto i = size_t(groups_[g].first); i < ops_.size(); ++i) {
            const DrawOp& op = ops_[i];
            if (op.kind != DrawOp::Line) {
                if (i >= groups_[g].last) break;
                continue;
            }
            right = std::max({right, op.x1, op.x2});
            top = std::min({top, op.y1, op.y2});
            after = std::max(after, i + 1);
        }
        return QRectF(QPointF(r.right(), top), QPointF(right, r.bottom()));
    }

    const std::vector<DrawOp>& ops_;
    const std::vector<Group>& groups_;
    std::vector<std::vector<size_t>> children_;
    std::vector<std::vector<size_t>> inside_;  // the children within its operations
    std::vector<int32_t> apartOwner_;  // per operation: the innermost part drawn apart holding it
};

}  // namespace

QString operand(const QString& textIn) {
    const QString t = textIn.trimmed();
    if (t.isEmpty() || isNumber(t) || isSymbol(t) || isScripted(t) || bracketed(t)) return t;
    // An absolute value reads as one: |q|/2.
    if (t.size() >= 3 && t.front() == QLatin1Char('|') && t.back() == QLatin1Char('|') &&
        !t.mid(1, t.size() - 2).contains(QLatin1Char('|')) && operand(t.mid(1, t.size() - 2)) == t.mid(1, t.size() - 2))
        return t;
    // A bracketed factor times one letter reads as one: (2N−1)π/(2N).
    if (t.front() == QLatin1Char('(')) {
        const qsizetype close = t.lastIndexOf(QLatin1Char(')'));
        if (close > 0 && bracketed(t.left(close + 1)) && isSymbol(t.mid(close + 1))) return t;
    }
    // A partial derivative's parts read as one: ∂U/∂T.
    if (t.front() == QChar(0x2202) && isSymbol(t.mid(1))) return t;
    return QLatin1Char('(') + t + QLatin1Char(')');
}

std::vector<bool> readWithTheirConstruct(const Picture& picture) {
    const std::vector<Group>& groups = picture.groups();
    std::vector<bool> apart(picture.ops().size(), false);
    for (const Group& g : groups) {
        if (g.parent < 0) continue;
        const Group& p = groups[size_t(g.parent)];
        if (g.first >= p.first && g.last <= p.last) continue;
        for (size_t i = g.first; i < g.last && i < apart.size(); ++i) apart[i] = true;
    }
    return apart;
}

QString linearText(const Picture& picture, size_t group) {
    if (group >= picture.groups().size()) return QString();
    return unmarked(Reader(picture).text(group));
}

namespace {

// Letters and digits that make up an operand of typed notation ("RT", "2πint",
// "x′"), not the Japanese around it.
bool isOperandChar(QChar c) {
    if (c.unicode() >= 0x3000) return false;
    return c.isLetterOrNumber() || c == QLatin1Char('.') || isCombiningMark(c) || c == QChar(0x2032) ||
           c == QChar(0x221E) || c == QChar(0x2202);
}

// The bracket or bar that closes the one at `open` ("(" or "|"), or -1.
qsizetype closing(const QString& t, qsizetype open) {
    const QChar o = t[open], c = o == QLatin1Char('(') ? QLatin1Char(')') : o;
    int depth = 0;
    for (qsizetype i = open + 1; i < t.size(); ++i) {
        if (t[i] == c && depth == 0) return i;
        if (o == QLatin1Char('(') && t[i] == o) ++depth;
        else if (o == QLatin1Char('(') && t[i] == c) --depth;
    }
    return -1;
}

qsizetype opening(const QString& t, qsizetype close) {
    const QChar c = t[close], o = c == QLatin1Char(')') ? QLatin1Char('(') : c;
    int depth = 0;
    for (qsizetype i = close - 1; i >= 0; --i) {
        if (t[i] == o && depth == 0) return i;
        if (c == QLatin1Char(')') && t[i] == c) ++depth;
        else if (c == QLatin1Char(')') && t[i] == o) --depth;
    }
    return -1;
}

// A script's operand after "^" or "_" at `from`: a bracketed text (its
// inside), a number, or one letter with its marks. Sets `end` past it.
QString scriptOperand(const QString& t, qsizetype from, qsizetype& end) {
    end = from;
    if (from >= t.size()) return {};
    if (t[from] == QLatin1Char('(')) {
        const qsizetype close = closing(t, from);
        if (close > 0) {
            end = close + 1;
            return t.mid(from + 1, close - from - 1);
        }
    }
    if (t[from].isDigit()) {
        while (end < t.size() && (t[end].isDigit() || t[end] == QLatin1Char('.'))) ++end;
        return t.mid(from, end - from);
    }
    end = from + 1;
    while (end < t.size() && (isCombiningMark(t[end]) || t[end] == QChar(0x2032))) ++end;
    return t.mid(from, end - from);
}

// Where the operand before `at` begins: a bracket with the letters before it
// (x(t), sin(…)), an absolute value, or a run of letters and digits, with its
// scripts; typed with blanks round the slash ("sin x / x"), a name's
// argument takes the name along.
qsizetype operandStart(const QString& t, qsizetype at) {
    qsizetype i = at;
    while (i > 0 && t[i - 1] == QLatin1Char(' ')) --i;
    const bool spaced = i < at;
    const qsizetype end = i;
    while (i > 0) {
        const QChar c = t[i - 1];
        if (c == QLatin1Char(')') || c == QLatin1Char('|')) {
            const qsizetype open = opening(t, i - 1);
            if (open < 0) break;
            i = open;
        } else if (isOperandChar(c) || ((c == QLatin1Char('^') || c == QLatin1Char('_')) && i < end)) {
            --i;
        } else {
            break;
        }
    }
    if (spaced) {
        static const QRegularExpression name(QStringLiteral("(sin|cos|tan|log|exp) $"));
        const QRegularExpressionMatch m = name.match(t.left(i));
        if (m.hasMatch()) i = m.capturedStart();
    }
    return i;
}

qsizetype operandEnd(const QString& t, qsizetype from) {
    qsizetype i = from;
    while (i < t.size() && t[i] == QLatin1Char(' ')) ++i;
    if (i < t.size() && (t[i] == QLatin1Char('(') || t[i] == QLatin1Char('|'))) {
        const qsizetype close = closing(t, i);
        if (close > 0) i = close + 1;
    }
    while (i < t.size()) {
        if (isOperandChar(t[i])) {
            ++i;
        } else if ((t[i] == QLatin1Char('^') || t[i] == QLatin1Char('_')) && i + 1 < t.size()) {
            // A factor ends with its scripts: b_(n+1)/a_(n+1)G_(n−1).
            qsizetype after = i + 1;
            scriptOperand(t, i + 1, after);
            i = after;
            while (i + 1 < t.size() && (t[i] == QLatin1Char('^') || t[i] == QLatin1Char('_'))) {
                scriptOperand(t, i + 1, after);
                i = after;
            }
            break;
        } else if (t[i] == QLatin1Char('(') && i > from && isOperandChar(t[i - 1])) {
            const qsizetype close = closing(t, i);  // a function's argument: f(x)
            if (close < 0) break;
            i = close + 1;
        } else {
            break;
        }
    }
    return i;
}

QString unbracketed(QString t) {
    t = t.trimmed();
    return bracketed(t) ? t.mid(1, t.size() - 2) : t;
}

bool isPlainNumber(const QString& t) { return !t.isEmpty() && isNumber(t); }

// One symbol heard as one: a number or a letter with its marks.
bool isOneSymbol(const QString& t) { return isPlainNumber(t) || isSymbol(t); }

QString spokenNotation(QString t);

// A fraction heard: of two numbers denominator first, as Japanese reads one
// (3 分の 1); any other in written order, between words that mark where it
// begins and ends, so that a listener can write it down again.
QString spokenFraction(const QString& numerator, const QString& denominator) {
    if (isPlainNumber(numerator) && isPlainNumber(denominator))
        return QLatin1Char(' ') + denominator + QStringLiteral(" 分の ") + numerator + QLatin1Char(' ');
    return QStringLiteral(" 分数 ") + spokenNotation(numerator) + QStringLiteral(" オーバー ") +
           spokenNotation(denominator) + QStringLiteral(" 分数終了 ");
}

// A script heard: one symbol as a power (の 2 乗) or an index (サブ k); more,
// between 上付き … 上付き終了 or 下付き … 下付き終了; a star above is the
// complex conjugate.
QString spokenScript(bool super, const QString& script) {
    const QString t = script.trimmed();
    if (super && (t == QLatin1String("*") || t == QStringLiteral("\u2217"))) return QStringLiteral(" の共役 ");
    if (isOneSymbol(t))
        return super ? QStringLiteral(" の ") + t + QStringLiteral(" 乗 ") : QStringLiteral(" サブ ") + t + QLatin1Char(' ');
    return super ? QStringLiteral(" の 上付き ") + spokenNotation(t) + QStringLiteral(" 上付き終了 ")
                 : QStringLiteral(" 下付き ") + spokenNotation(t) + QStringLiteral(" 下付き終了 ");
}

// A case block, {■(a & p @ b & q)┤, heard row by row.
QString spokenCases(QString t) {
    static const QRegularExpression block(QStringLiteral("[{\u251C]\u25A0\\("));
    for (QRegularExpressionMatch m; (m = block.match(t)).hasMatch();) {
        const qsizetype at = m.capturedStart();
        const QString open = m.captured(), close = open.front() == u'{' ? QStringLiteral(")\u2524") : QStringLiteral(")}");
        const qsizetype end = t.indexOf(close, at);
        if (end < 0) break;
        QStringList rows = t.mid(at + open.size(), end - at - open.size()).split(QStringLiteral(" @ "));
        for (QString& row : rows) row = spokenNotation(row.replace(QStringLiteral(" & "), QStringLiteral(" ")));
        t = t.left(at) + QStringLiteral(" 場合分け ") + rows.join(QStringLiteral("、 ")) +
            QStringLiteral(" 場合分け終わり ") + t.mid(end + close.size());
    }
    return t;
}

// A sum or an integral with its limits: "k イコール 0 から n までの総和",
// "j についての総和".
QString spokenBigOperators(QString t) {
    for (qsizetype at = 0; at < t.size(); ++at) {
        const bool sum = t[at] == QChar(0x2211);
        if (!sum && t[at] != QChar(0x222B)) continue;
        qsizetype end = at + 1;
        QString lower, upper;
        if (end < t.size() && t[end] == QLatin1Char('_')) lower = scriptOperand(t, end + 1, end);
        if (end < t.size() && t[end] == QLatin1Char('^')) upper = scriptOperand(t, end + 1, end);
        QString heard = QStringLiteral(" ");
        if (!lower.isEmpty()) heard += spokenNotation(lower) + (upper.isEmpty() ? QStringLiteral(" についての") : QStringLiteral(" から "));
        if (!upper.isEmpty()) heard += spokenNotation(upper) + QStringLiteral(" までの");
        heard += sum ? QStringLiteral("総和 ") : QStringLiteral("積分 ");
        t = t.left(at) + heard + t.mid(end);
        at += heard.size() - 1;
    }
    return t;
}

// A radical and what stands under its rule: "ルート 2", "ルート かっこ … かっこ閉じ".
QString spokenRadicals(QString t) {
    for (qsizetype at; (at = t.indexOf(QChar(0x221A))) >= 0;) {
        qsizetype end = at + 1;
        const bool whole = end < t.size() && t[end] == QLatin1Char('(');
        const QString radicand = scriptOperand(t, at + 1, end);
        const QString heard = whole ? QStringLiteral(" ルート かっこ ") + radicand + QStringLiteral(" かっこ閉じ ")
                                    : QStringLiteral(" ルート ") + radicand + QLatin1Char(' ');
        t = t.left(at) + heard + t.mid(end);
    }
    return t;
}

// Typed notation (a formula's linear text, prose, a figure's description)
// heard by the reading rules: case blocks, fractions as the notation binds
// them, sums and integrals with their limits, scripts, radicals, then the
// marks a letter carries.
QString spokenNotation(QString t) {
    t = spokenCases(t);
    for (qsizetype slash; (slash = t.indexOf(QLatin1Char('/'))) >= 0;) {
        const qsizetype from = operandStart(t, slash), to = operandEnd(t, slash + 1);
        const QString num = unbracketed(t.mid(from, slash - from)), den = unbracketed(t.mid(slash + 1, to - slash - 1));
        t = t.left(from) + spokenFraction(num, den) + t.mid(to);
    }
    t = spokenBigOperators(t);
    for (qsizetype at = 0; at < t.size(); ++at) {
        if (t[at] != QLatin1Char('^') && t[at] != QLatin1Char('_')) continue;
        qsizetype end = at + 1;
        QString script = scriptOperand(t, at + 1, end);
        // One symbol is never bracketed as a script: "X^(p)" shows its
        // brackets, a stage (p), not a power.
        if (t[at + 1 < t.size() ? at + 1 : at] == QLatin1Char('(') && isOneSymbol(script))
            script = QLatin1Char('(') + script + QLatin1Char(')');
        const QString heard = spokenScript(t[at] == QLatin1Char('^'), script);
        t = t.left(at) + heard + t.mid(end);
        at += heard.size() - 1;
    }
    t = spokenRadicals(t);
    for (const auto& [mark, word] : {std::pair{u"\u0307", u" ドット "}, {u"\u0308", u" ツードット "},
                                     {u"\u0303", u" チルダ "}, {u"\u2032", u" プライム "}})
        t.replace(QString::fromUtf16(mark), QString::fromUtf16(word));
    return t;
}

}  // namespace

QString words(const QString& text) {
    QString t = spokenNotation(text);
    // "k = 1 ～ n" and "[1] ～ [4]" are ranges (から); elsewhere ～ is
    // nearly equal.
    static const QRegularExpression range(QStringLiteral("((?:=|＝|イコール)\\s*[^\\s～]+\\s*|\\]\\s*)～"));
    t.replace(range, QStringLiteral("\\1 から "));
    static const QRegularExpression factorial(QStringLiteral("([\\w)])!"));
    t.replace(factorial, QStringLiteral("\\1 の階乗 "));
    // An absolute value: of one symbol "q の絶対値", of more between words.
    static const QRegularExpression absolute(QStringLiteral("\\|([^|]+)\\|"));
    for (QRegularExpressionMatch m; (m = absolute.match(t)).hasMatch();) {
        const QString inside = m.captured(1).trimmed();
        t.replace(m.capturedStart(), m.capturedLength(),
                  isOneSymbol(inside) ? QLatin1Char(' ') + inside + QStringLiteral(" の絶対値 ")
                                      : QStringLiteral(" 絶対値 ") + inside + QStringLiteral(" 絶対値終了 "));
    }
    for (const auto& [sign, word] : {std::pair{u"=", u" イコール "}, {u"＝", u" イコール "},
                                     {u"+", u" プラス "}, {u"＋", u" プラス "}, {u"\u2212", u" マイナス "},
                                     {u"－", u" マイナス "}, {u"×", u" かける "}, {u"\u2260", u" ノットイコール "},
                                     {u"\u2261", u" 恒等的に等しい "}, {u"～", u" ニアリーイコール "},
                                     {u"±", u" プラスマイナス "}, {u"\u2266", u" 小なりイコール "},
                                     {u"\u2264", u" 小なりイコール "}, {u"\u2267", u" 大なりイコール "},
                                     {u"\u2265", u" 大なりイコール "}, {u"<", u" 小なり "}, {u">", u" 大なり "},
                                     {u"\u221E", u" 無限大 "}, {u"\u2192", u" ヤジルシ "},
                                     {u"\U0001F87A", u" ヤジルシ "}, {u"\U0001F86A", u" ヤジルシ "},
                                     {u"\u2191", u" 上ヤジルシ "}, {u"\u2190", u" 左ヤジルシ "},
                                     {u"\u2202", u" ラウンド "}})
        t.replace(QString::fromUtf16(sign), QString::fromUtf16(word));
    t = t.simplified();
    // A limit: the variable and where it goes, then the word.
    static const QRegularExpression limit(
        QStringLiteral("lim (?:サブ|下付き) (\\S+) ヤジルシ (\\S+)(?: 下付き終了)?"));
    t.replace(limit, QStringLiteral("\\1 を \\2 に近づけたときの極限"));
    // A bracket heard closes on what it holds: "(1 マイナス ε の 2 乗)a"; no
    // blank before a comma nor after a Japanese one.
    static const QRegularExpression beforeClosing(QStringLiteral(" ([)）\\],，、。．])"));
    t.replace(beforeClosing, QStringLiteral("\\1"));
    static const QRegularExpression afterOpening(QStringLiteral("([(（，。：]) "));
    t.replace(afterOpening, QStringLiteral("\\1"));
    return t;
}

void appendLinearPieces(std::vector<TextPiece>& pieces, const Picture& picture, QPointF offset,
                        int block, bool spoken) {
    const std::vector<DrawOp>& ops = picture.ops();
    const std::vector<Group>& groups = picture.groups();
    const Reader reader(picture);
    // Constructs that stand in no other (figures hold them, not read as
    // one), and the figure each operation is part of.
    std::vector<size_t> top;
    std::vector<int> figure(ops.size(), block << 16);
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].last <= groups[g].first) continue;
        if (groups[g].kind == Group::Figure) {
            for (size_t i = groups[g].first; i < groups[g].last && i < ops.size(); ++i)
                figure[i] = (block << 16) | int(g + 1);
            continue;
        }
        if (placesOnly(groups[g].kind)) continue;
        int32_t p = groups[g].parent;
        while (p >= 0 && (groups[size_t(p)].kind == Group::Figure || placesOnly(groups[size_t(p)].kind)))
            p = groups[size_t(p)].parent;
        if (p < 0) top.push_back(g);
    }
    const std::vector<bool> readElsewhere = readWithTheirConstruct(picture);
    top.erase(std::remove_if(top.begin(), top.end(), [&](size_t g) {
                  return groups[g].first < ops.size() && readElsewhere[groups[g].first];
              }),
              top.end());
    int at = block << 16;  // the figure of what is being read
    // Described figures, in drawing order: their description reads first,
    // on a line of its own; spoken, it stands for all the figure shows.
    std::vector<size_t> described;
    for (size_t g = 0; g < groups.size(); ++g)
        if (groups[g].kind == Group::Figure && groups[g].last > groups[g].first &&
            !picture.description(g).isEmpty())
            described.push_back(g);
    size_t nextDescribed = 0;
    const size_t firstPiece = pieces.size();

    size_t next = 0;
    // An open radical: the pieces under its rule are its radicand.
    struct Radical {
        size_t piece;
        QRectF rule;
        QString radicand;
        QRectF cell;
    };
    std::optional<Radical> radical;
    const auto closeRadical = [&] {
        if (!radical) return;
        TextPiece& p = pieces[radical->piece];
        radical->radicand = unmarked(radical->radicand);
        p.text += operand(radical->radicand);
        if (!radical->cell.isNull()) p.cell = p.cell.united(radical->cell.translated(offset));
        radical.reset();
    };
    // The operations of what is being read.
    uint32_t from = 0, to = 0;
    const auto add = [&](const QRectF& cell, QString text, bool attached = false, bool fraction = false) {
        if (radical) {
            const QRectF& r = radical->rule;
            const bool under = cell.left() >= r.left() - 2 && cell.right() <= r.right() + 4 &&
                               cell.center().y() > r.top() && cell.top() < r.bottom() + 4;
            if (under) {
                pieces[radical->piece].lastOp = to;
                seam(radical->radicand, text);
                radical->radicand += text;
                radical->cell = radical->cell.isNull() ? cell : radical->cell.united(cell);
                return;
            }
            closeRadical();
        }
        if (!pieces.empty()) {
            QString& before = pieces.back().text;
            seam(before, text, fraction);
            if (runsOn(before, text)) before += QLatin1Char(' ');
            // One blank where a construct ends with one and the text after
            // begins with one, none before a closing bracket or a comma.
            if (before.endsWith(QLatin1Char(' ')) &&
                (text.startsWith(QLatin1Char(' ')) || (!text.isEmpty() && kClosing.contains(text.front()))))
                before.chop(1);
        } else if (text.startsWith(kNameStart)) {
            text.remove(0, 1);
        }
        pieces.push_back({cell.translated(offset), text, attached, at, from, to});
    };
    // The script just read, while nothing else has come: a script drawn in
    // two calls ("(", then "p)") reads as one.
    constexpr size_t kNoScript = SIZE_MAX;
    size_t script = kNoScript;
    QString scriptText;

    for (size_t i = 0; i < ops.size();) {
        while (nextDescribed < described.size() && groups[described[nextDescribed]].first <= i) {
            const size_t g = described[nextDescribed++];
            closeRadical();
            script = kNoScript;
            QRectF cell;
            for (size_t k = groups[g].first; k < groups[g].last; ++k)
                if (showsText(ops[k])) cell = cell.isNull() ? cellOf(ops[k]) : cell.united(cellOf(ops[k]));
            // It stands for what the figure draws, so it reads no operation.
            pieces.push_back({cell.translated(offset), picture.description(g), false, -((block << 16) | int(g + 1)),
                              groups[g].first, groups[g].first});
        }
        if (next < top.size() && groups[top[next]].first <= i) {
            const size_t g = top[next++];
            at = figure[i];
            const QString text = reader.text(g);
            size_t end = groups[g].last;
            from = uint32_t(i), to = uint32_t(std::max(i + 1, end));
            const Group::Kind k = groups[g].kind;
            const bool isScript = k == Group::Superscript || k == Group::Subscript;
            if (isScript && script != kNoScript && groups[script].kind == k && groups[script].last == groups[g].first &&
                !pieces.empty()) {
                scriptText += reader.script(g);
                pieces.back().text = reader.scripted(k, scriptText);
                pieces.back().cell = pieces.back().cell.united(reader.cell(g).translated(offset));
                pieces.back().lastOp = to;
                script = g;
                i = std::max(i + 1, end);
                continue;
            }
            script = kNoScript;
            if (k == Group::Radical) {
                closeRadical();
                const QRectF r = reader.rule(g, end);
                to = uint32_t(std::max(i + 1, end));
                pieces.push_back({reader.cell(g).translated(offset), text, false, at, from, to});
                radical = Radical{pieces.size() - 1, r, QString(), QRectF()};
            } else if (!text.trimmed().isEmpty()) {
                // A blank ends a fraction or a sign's limits, as the
                // notation reads one.
                const bool ends = k == Group::Fraction || k == Group::Sum || k == Group::Integral;
                add(reader.cell(g), ends ? text + QLatin1Char(' ') : text, isScript || k == Group::Prime,
                    k == Group::Fraction);
                if (isScript && !radical) {
                    script = g;
                    scriptText = reader.script(g);
                }
            }
            i = std::max(i + 1, end);
            continue;
        }
        if (readElsewhere[i]) {
            ++i;
            continue;
        }
        at = figure[i];
        from = uint32_t(i), to = uint32_t(i + 1);
        const DrawOp& op = ops[i++];
        if (showsText(op) || op.kind == DrawOp::Copy) script = kNoScript;
        if (op.kind == DrawOp::Copy && op.copied) {
            // What a copy shows keeps its text, not its structure.
            closeRadical();
            for (const DrawOp& t : op.copied->text)
                if (showsText(t))
                    pieces.push_back({cellOf(t).translated(offset), opText(t, false), false, at, from, to});
            continue;
        }
        if (showsText(op)) add(cellOf(op), opText(op, false));
    }
    closeRadical();
    for (auto p = pieces.begin() + qsizetype(firstPiece); p != pieces.end(); ++p) p->text = unmarked(p->text);
    if (spoken && !described.empty()) {
        std::vector<int> shown;
        for (size_t g : described) shown.push_back((block << 16) | int(g + 1));
        pieces.erase(std::remove_if(pieces.begin() + qsizetype(firstPiece), pieces.end(),
                                    [&](const TextPiece& p) {
                                        return std::find(shown.begin(), shown.end(), p.block) != shown.end();
                                    }),
                     pieces.end());
    }
}

bool isCombiningMark(QChar c) {
    const auto cat = c.category();
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_Enclosing;
}

}  // namespace typeset
