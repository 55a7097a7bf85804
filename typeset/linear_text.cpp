#include "linear_text.h"

#include <algorithm>
#include <optional>
#include <QRegularExpression>

namespace typeset {

namespace {

const QChar kMinus(0x2212);

bool isCombining(QChar c) {
    const auto cat = c.category();
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_Enclosing;
}

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
    if (t.isEmpty() || !(t[0].isLetter() || t[0] == QChar(0x221E))) return false;
    return std::all_of(t.begin() + 1, t.end(),
                       [](QChar c) { return isCombining(c) || c == QChar(0x2032); });
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
    if (inFormula || op.font.face == QLatin1String("Courier New")) t.replace(QLatin1Char('-'), kMinus);
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

QRectF cellOf(const DrawOp& op) {
    return QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
}

class Reader {
public:
    Reader(const Picture& p, bool spoken) : ops_(p.ops()), groups_(p.groups()), spoken_(spoken) {
        children_.resize(groups_.size());
        for (size_t g = 0; g < groups_.size(); ++g)
            if (groups_[g].parent >= 0) children_[size_t(groups_[g].parent)].push_back(g);
    }

    QString text(size_t g) const {
        const Group& group = groups_[g];
        if (spoken_) return spokenText(g);
        switch (group.kind) {
        case Group::Superscript:
        case Group::Subscript: return scripted(group.kind, script(g));
        case Group::Fraction: {
            const QString num = part(g, Group::Numerator), den = part(g, Group::Denominator);
            // A rule drawn with no parts known (a fraction set by hand
            // inside) reads as what it holds.
            if (num.isEmpty() && den.isEmpty()) return content(g, false);
            return operand(num) + QLatin1Char('/') + operand(den);
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
        case Group::Fence:
        case Group::Row:
        case Group::Figure:
        case Group::Numerator:
        case Group::Denominator:
        case Group::Lower:
        case Group::Upper: break;
        }
        return content(g, false);
    }

    // Spoken, what is more than one number or letter is bracketed in words,
    // so that a listener hears where a script or a fraction's part ends.
    static QString spokenOperand(const QString& t) {
        if (operand(t) == t.trimmed()) return words(t);
        return QStringLiteral("かっこ ") + words(t) + QStringLiteral(" かっこ閉じ");
    }

    // A script's marker and operand, or as spoken.
    QString scripted(Group::Kind kind, const QString& t) const {
        if (spoken_)
            return kind == Group::Superscript ? QStringLiteral(" の ") + words(t) + QStringLiteral(" 乗 ")
                                              : QStringLiteral(" サブ ") + spokenOperand(t) + QLatin1Char(' ');
        return (kind == Group::Superscript ? QLatin1Char('^') : QLatin1Char('_')) + operand(t);
    }

    // The Japanese reading: a fraction denominator first, a power with 乗,
    // limits before their sign, accents after their letter.
    QString spokenText(size_t g) const {
        const Group::Kind kind = groups_[g].kind;
        switch (kind) {
        case Group::Superscript:
        case Group::Subscript: return scripted(kind, script(g));
        case Group::Fraction: {
            const QString num = part(g, Group::Numerator), den = part(g, Group::Denominator);
            if (num.isEmpty() && den.isEmpty()) return content(g, false);
            return QLatin1Char(' ') + spokenOperand(den) + QStringLiteral(" 分の ") + spokenOperand(num) +
                   QLatin1Char(' ');
        }
        case Group::Sum:
        case Group::Integral: {
            const QString lower = limit(g, Group::Lower), upper = limit(g, Group::Upper);
            QString t = QStringLiteral(" ");
            if (!lower.isEmpty())
                t += words(lower) + (upper.isEmpty() ? QStringLiteral(" についての") : QStringLiteral(" から "));
            if (!upper.isEmpty()) t += words(upper) + QStringLiteral(" までの");
            return t + (kind == Group::Sum ? QStringLiteral("総和 ") : QStringLiteral("積分 "));
        }
        case Group::Radical: return QStringLiteral(" ルート ");
        case Group::Dot: return accented(g, QChar()) + QStringLiteral(" ドット ");
        case Group::DoubleDot: return accented(g, QChar()) + QStringLiteral(" ツードット ");
        case Group::Tilde: return accented(g, QChar()) + QStringLiteral(" チルダ ");
        case Group::Prime: return QStringLiteral(" プライム ");
        case Group::Minus: return QStringLiteral(" マイナス ");
        default: return content(g, false);
        }
    }

    // The ops and child groups of g in drawing order; with `bare`, scripts
    // read without their markers (a limit drawn as a script is the limit).
    QString content(size_t g, bool bare) const {
        QString t;
        size_t i = groups_[g].first;
        size_t next = 0;
        const std::vector<size_t>& kids = children_[g];
        while (i < groups_[g].last) {
            if (next < kids.size() && groups_[kids[next]].first <= i) {
                const size_t k = kids[next++];
                const Group::Kind kind = groups_[k].kind;
                append(t, bare && (kind == Group::Superscript || kind == Group::Subscript)
                              ? script(k)
                              : text(k));
                i = std::max<size_t>(i, groups_[k].last);
                continue;
            }
            if (showsText(ops_[i])) append(t, opText(ops_[i], true));
            ++i;
        }
        return t;
    }

    static void append(QString& t, const QString& more) {
        if (runsOn(t, more)) t += QLatin1Char(' ');
        t += more;
    }

    // Its first child of a kind, read.
    QString part(size_t g, Group::Kind kind, bool bare = false) const {
        for (size_t k : children_[g])
            if (groups_[k].kind == kind) return content(k, bare).trimmed();
        return QString();
    }

    QString limit(size_t g, Group::Kind kind) const { return script(g, part(g, kind, true)); }

    // A script's text without the blanks that only place its characters.
    QString script(size_t g) const { return script(g, content(g, false)); }
    static QString script(size_t, QString t) {
        t.remove(QLatin1Char(' '));
        return t;
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
    const bool spoken_;
    std::vector<std::vector<size_t>> children_;
};

}  // namespace

QString operand(const QString& textIn) {
    const QString t = textIn.trimmed();
    if (t.isEmpty() || isNumber(t) || isSymbol(t) || isScripted(t) || bracketed(t)) return t;
    // A partial derivative's parts read as one: ∂U/∂T.
    if (t.front() == QChar(0x2202) && isSymbol(t.mid(1))) return t;
    return QLatin1Char('(') + t + QLatin1Char(')');
}

QString linearText(const Picture& picture, size_t group) {
    if (group >= picture.groups().size()) return QString();
    return Reader(picture, false).text(group);
}

QString words(const QString& text) {
    QString t = text;
    for (const auto& [sign, word] : {std::pair{u"=", u" イコール "}, {u"＝", u" イコール "},
                                     {u"+", u" プラス "}, {u"＋", u" プラス "}, {u"\u2212", u" マイナス "},
                                     {u"－", u" マイナス "}, {u"×", u" かける "}})
        t.replace(QString::fromUtf16(sign), QString::fromUtf16(word));
    return t.simplified();
}

void appendLinearPieces(std::vector<TextPiece>& pieces, const Picture& picture, QPointF offset,
                        int block, bool spoken) {
    const std::vector<DrawOp>& ops = picture.ops();
    const std::vector<Group>& groups = picture.groups();
    const Reader reader(picture, spoken);
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
        int32_t p = groups[g].parent;
        while (p >= 0 && groups[size_t(p)].kind == Group::Figure) p = groups[size_t(p)].parent;
        if (p < 0) top.push_back(g);
    }
    int at = block << 16;  // the figure of what is being read

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
        p.text += !spoken ? operand(radical->radicand)
                          : operand(radical->radicand) == radical->radicand
                              ? radical->radicand
                              : QStringLiteral("かっこ ") + radical->radicand + QStringLiteral(" かっこ閉じ ");
        if (!radical->cell.isNull()) p.cell = p.cell.united(radical->cell.translated(offset));
        radical.reset();
    };
    // The operations of what is being read.
    uint32_t from = 0, to = 0;
    const auto add = [&](const QRectF& cell, const QString& text, bool attached = false) {
        if (radical) {
            const QRectF& r = radical->rule;
            const bool under = cell.left() >= r.left() - 2 && cell.right() <= r.right() + 4 &&
                               cell.center().y() > r.top() && cell.top() < r.bottom() + 4;
            if (under) {
                pieces[radical->piece].lastOp = to;
                radical->radicand += text;
                radical->cell = radical->cell.isNull() ? cell : radical->cell.united(cell);
                return;
            }
            closeRadical();
        }
        if (!pieces.empty()) {
            QString& before = pieces.back().text;
            if (runsOn(before, text)) before += QLatin1Char(' ');
            // One blank where a construct ends with one and the text after
            // begins with one.
            if (before.endsWith(QLatin1Char(' ')) && text.startsWith(QLatin1Char(' '))) before.chop(1);
        }
        pieces.push_back({cell.translated(offset), text, attached, at, from, to});
    };
    // The script just read, while nothing else has come: a script drawn in
    // two calls ("(", then "p)") reads as one.
    std::optional<size_t> script;
    QString scriptText;

    for (size_t i = 0; i < ops.size();) {
        if (next < top.size() && groups[top[next]].first <= i) {
            const size_t g = top[next++];
            at = figure[i];
            const QString text = reader.text(g);
            size_t end = groups[g].last;
            from = uint32_t(i), to = uint32_t(std::max(i + 1, end));
            const Group::Kind k = groups[g].kind;
            const bool isScript = k == Group::Superscript || k == Group::Subscript;
            if (isScript && script && groups[*script].kind == k && groups[*script].last == groups[g].first &&
                !pieces.empty()) {
                scriptText += reader.script(g);
                pieces.back().text = reader.scripted(k, scriptText);
                pieces.back().cell = pieces.back().cell.united(reader.cell(g).translated(offset));
                pieces.back().lastOp = to;
                script = g;
                i = std::max(i + 1, end);
                continue;
            }
            script.reset();
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
                add(reader.cell(g), ends ? text + QLatin1Char(' ') : text, isScript || k == Group::Prime);
                if (isScript && !radical) {
                    script = g;
                    scriptText = reader.script(g);
                }
            }
            i = std::max(i + 1, end);
            continue;
        }
        at = figure[i];
        from = uint32_t(i), to = uint32_t(i + 1);
        const DrawOp& op = ops[i++];
        if (showsText(op) || op.kind == DrawOp::Copy) script.reset();
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
}

}  // namespace typeset
