#include "math_tree.h"

#include "linear_text.h"
#include "page_text.h"

#include <QRegularExpression>
#include <algorithm>

namespace typeset {

namespace {

const QString kGrouping = QStringLiteral("()");  // a Row's text: brackets that only group, unseen

bool isMark(QChar c) { return isCombiningMark(c) || c == QChar(0x2032); }

// Japanese, and the punctuation that goes with it; fullwidth signs (＝, ＋,
// －) are a formula's.
bool isProse(QChar c) {
    const char16_t u = c.unicode();
    if (u == 0xFF1D || u == 0xFF0B || u == 0xFF0D || u == 0xFF1C || u == 0xFF1E || u == 0xFF5E) return false;
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}

bool isLetter(QChar c) { return c.isLetter() && !isProse(c); }

// Upright names the pages set: read as one name, not as letters.
const QStringList& names() {
    static const QStringList n = {QStringLiteral("const"), QStringLiteral("sin"), QStringLiteral("cos"),
                                  QStringLiteral("tan"),   QStringLiteral("cot"), QStringLiteral("log"),
                                  QStringLiteral("exp"),   QStringLiteral("lim"), QStringLiteral("max"),
                                  QStringLiteral("min"),   QStringLiteral("det"), QStringLiteral("ln")};
    return n;
}

MathNode leaf(MathNode::Kind kind, QString text) { return {kind, std::move(text), {}}; }

class Parser {
public:
    explicit Parser(const QString& t) : t_(t) {}

    MathNode all() { return row(QString()); }

private:
    struct Placed {
        MathNode node;
        qsizetype start, end;
    };

    bool at(const QString& s) const { return t_.mid(i_, s.size()) == s; }
    bool atAny(const QString& stops) const { return i_ < t_.size() && stops.contains(t_[i_]); }

    // Items up to one of the stops (not taken).
    MathNode row(const QString& stops) {
        std::vector<Placed> items;
        while (i_ < t_.size() && !atAny(stops)) {
            if (t_[i_] == u' ') {
                ++i_;
                continue;
            }
            const qsizetype start = i_;
            MathNode item = scripted(primary());
            if (i_ < t_.size() && t_[i_] == u'/') {
                ++i_;
                // The numerator: this item with the letters and digits set
                // close before it (kπ, ∂U), or a bracketed factor before a
                // letter ((2N−1)π).
                std::vector<MathNode> num{std::move(item)};
                qsizetype from = start;
                while (!items.empty() && items.back().end == from && joins(items.back().node, num.front())) {
                    from = items.back().start;
                    num.insert(num.begin(), std::move(items.back().node));
                    items.pop_back();
                }
                MathNode den = operand();
                items.push_back({{MathNode::Fraction, {}, {ungrouped(std::move(num)), std::move(den)}}, from, i_});
                continue;
            }
            items.push_back({std::move(item), start, i_});
        }
        MathNode r;
        for (Placed& p : items) r.children.push_back(std::move(p.node));
        return r;
    }

    // Whether `before`, set close before `next`, is part of the same
    // operand of a slash.
    static bool joins(const MathNode& before, const MathNode& next) {
        const bool simple = [](const MathNode& n) {
            return n.kind == MathNode::Identifier || n.kind == MathNode::Number ||
                   (n.kind == MathNode::Scripts && n.children[0].kind == MathNode::Identifier);
        }(next);
        // A function's argument: x(t), f(x).
        if (next.kind == MathNode::Fenced && next.text == QLatin1String("("))
            return before.kind == MathNode::Identifier;
        if (!simple) return false;
        return before.kind == MathNode::Identifier || before.kind == MathNode::Number ||
               (before.kind == MathNode::Fenced && before.text == QLatin1String("("));
    }

    // A numerator of one item keeps it; a bracketed one alone was only
    // grouped ("(sin x)/3").
    static MathNode ungrouped(std::vector<MathNode> items) {
        if (items.size() == 1) {
            MathNode& n = items.front();
            if (n.kind == MathNode::Fenced && n.text == QLatin1String("(")) return grouping(std::move(n.children));
            return std::move(n);
        }
        return {MathNode::Row, {}, std::move(items)};
    }

    static MathNode grouping(std::vector<MathNode> inside) { return {MathNode::Row, kGrouping, std::move(inside)}; }

    // What follows a slash or a script's mark: a bracketed text (its
    // brackets only group), or one item with its scripts; digits and letters
    // set close after a number go with it (2m, 2α).
    MathNode operand() {
        if (i_ < t_.size() && t_[i_] == u'(') {
            ++i_;
            MathNode inside = row(QStringLiteral(")"));
            if (i_ < t_.size()) ++i_;
            return grouping(std::move(inside.children));
        }
        MathNode first = scripted(primary());
        if (first.kind != MathNode::Number || i_ >= t_.size() || !isLetter(t_[i_])) return first;
        std::vector<MathNode> items{std::move(first)};
        while (i_ < t_.size() && isLetter(t_[i_])) items.push_back(scripted(primary()));
        return {MathNode::Row, {}, std::move(items)};
    }

    // A script's operand: bracketed (its brackets group), a number, or one
    // letter with its marks.
    MathNode scriptOperand() {
        if (i_ < t_.size() && t_[i_] == u'(') return operand();
        return primary();
    }

    MathNode scripted(MathNode base) {
        MathNode sub, sup;
        QString order;  // the marks in the order written: "_^" or "^_"
        while (i_ + 1 < t_.size() && (t_[i_] == u'_' || t_[i_] == u'^')) {
            MathNode& slot = t_[i_] == u'_' ? sub : sup;
            if (!slot.empty()) break;
            order += t_[i_++];
            slot = scriptOperand();
        }
        if (order.isEmpty()) return base;
        if (base.kind == MathNode::BigOperator) {
            base.children = {std::move(sub), std::move(sup)};
            return base;
        }
        return {MathNode::Scripts, order, {std::move(base), std::move(sub), std::move(sup)}};
    }

    MathNode primary() {
        if (i_ >= t_.size()) return MathNode();
        const QChar c = t_[i_];
        if (at(QStringLiteral("{\u25A0(")) || at(QStringLiteral("\u251C\u25A0("))) return cases();
        if (c == u'(' || c == u'[') {
            const QString close = c == u'(' ? QStringLiteral(")") : QStringLiteral("]");
            ++i_;
            MathNode inside = row(close);
            if (i_ < t_.size()) ++i_;
            return {MathNode::Fenced, QString(c), std::move(inside.children)};
        }
        if (c == u'|' && t_.indexOf(u'|', i_ + 1) > i_) {
            ++i_;
            MathNode inside = row(QStringLiteral("|"));
            ++i_;
            return {MathNode::Fenced, QStringLiteral("|"), std::move(inside.children)};
        }
        if (c == QChar(0x221A)) {
            ++i_;
            if (i_ >= t_.size()) return {MathNode::Radical, {}, {MathNode()}};
            return {MathNode::Radical, {}, {t_[i_] == u'(' ? operand() : primary()}};
        }
        if (c == QChar(0x2211) || c == QChar(0x222B)) {
            ++i_;
            return {MathNode::BigOperator, QString(c), {MathNode(), MathNode()}};
        }
        if (c.isDigit()) {
            const qsizetype from = i_;
            while (i_ < t_.size() && (t_[i_].isDigit() || (t_[i_] == u'.' && i_ + 1 < t_.size() && t_[i_ + 1].isDigit())))
                ++i_;
            return leaf(MathNode::Number, t_.mid(from, i_ - from));
        }
        if (isLetter(c)) {
            for (const QString& name : names())
                if (at(name) && (i_ + name.size() >= t_.size() || !isLetter(t_[i_ + name.size()]))) {
                    i_ += name.size();
                    return leaf(MathNode::Name, name);
                }
        }
        if (isLetter(c) || c == QChar(0x2202) || c == QChar(0x221E)) {
            const qsizetype from = i_++;
            while (i_ < t_.size() && isMark(t_[i_])) ++i_;
            return leaf(MathNode::Identifier, t_.mid(from, i_ - from));
        }
        // Japanese in a formula (a case's condition) is one text.
        if (isProse(c)) {
            const qsizetype from = i_;
            while (i_ < t_.size() && isProse(t_[i_])) ++i_;
            return leaf(MathNode::Text, t_.mid(from, i_ - from));
        }
        // One character, a pair of surrogates (🡺) as one.
        const qsizetype from = i_++;
        if (c.isHighSurrogate() && i_ < t_.size() && t_[i_].isLowSurrogate()) ++i_;
        static const QString signs = QStringLiteral(
            "=+\u2212\u00D7\u00B1\u2260\u2261\uFF5E\u2266\u2267\u2264\u2265<>,;:!*\u2032\u00B7\u22EF\u2026"
            "\u2192\u2190\u2191\uFF1D\uFF0B\uFF0D\uFF1C\uFF1E)]{}|");
        return leaf(signs.contains(c) || c.category() == QChar::Symbol_Math ? MathNode::Operator : MathNode::Text,
                    t_.mid(from, i_ - from));
    }

    // {■(a & p @ b & q)┤, or ├■(…)} with its brace on the right.
    MathNode cases() {
        const bool right = t_[i_] == QChar(0x251C);
        i_ += 3;
        MathNode block{MathNode::Cases, right ? QStringLiteral("}") : QStringLiteral("{"), {}};
        MathNode r{MathNode::CaseRow, {}, {}};
        for (;;) {
            r.children.push_back(row(QStringLiteral("&@)")));
            if (i_ >= t_.size()) break;
            const QChar c = t_[i_++];
            if (c == u'&') continue;
            block.children.push_back(std::move(r));
            r = MathNode{MathNode::CaseRow, {}, {}};
            if (c == u')') break;
        }
        if (!r.children.empty()) block.children.push_back(std::move(r));
        if (at(right ? QStringLiteral("}") : QStringLiteral("\u2524"))) ++i_;
        return block;
    }

    const QString& t_;
    qsizetype i_ = 0;
};

QString closingOf(const QString& open) {
    return open == QLatin1String("(") ? QStringLiteral(")") : open == QLatin1String("[") ? QStringLiteral("]") : open;
}

// A part of a fraction or a script as the notation writes it again.
QString operandOf(const MathNode& n) { return linearOf(n); }

QString element(const QString& name, const QString& inside, const QString& attributes = QString()) {
    return QLatin1Char('<') + name + attributes + QLatin1Char('>') + inside + QStringLiteral("</") + name +
           QLatin1Char('>');
}

QString ml(const MathNode& n);

// One element: a row of several is an <mrow>.
QString one(const MathNode& n) {
    const QString inside = ml(n);
    if (n.kind == MathNode::Row && n.children.size() != 1) return element(QStringLiteral("mrow"), inside);
    return inside.isEmpty() ? element(QStringLiteral("mrow"), QString()) : inside;
}

QString identifier(const QString& text) {
    QString base, accent;
    int primes = 0;
    for (QChar c : text) {
        if (c == QChar(0x2032)) ++primes;
        else if (c == QChar(0x0307)) accent = QStringLiteral("\u02D9");
        else if (c == QChar(0x0308)) accent = QStringLiteral("\u00A8");
        else if (c == QChar(0x0303)) accent = QStringLiteral("\u02DC");
        else if (!isCombiningMark(c)) base += c;
    }
    QString e = element(QStringLiteral("mi"), xmlEscaped(base));
    if (!accent.isEmpty())
        e = element(QStringLiteral("mover"), e + element(QStringLiteral("mo"), accent), QStringLiteral(" accent=\"true\""));
    if (primes) e = element(QStringLiteral("msup"), e + element(QStringLiteral("mo"), QString(primes, QChar(0x2032))));
    return e;
}

QString ml(const MathNode& n) {
    switch (n.kind) {
    case MathNode::Row: {
        QString s;
        for (const MathNode& c : n.children) s += ml(c);
        return s;
    }
    case MathNode::Fenced: {
        QString s = element(QStringLiteral("mo"), xmlEscaped(n.text));
        for (const MathNode& c : n.children) s += ml(c);
        return element(QStringLiteral("mrow"), s + element(QStringLiteral("mo"), xmlEscaped(closingOf(n.text))));
    }
    case MathNode::Identifier: return identifier(n.text);
    case MathNode::Name: return element(QStringLiteral("mi"), n.text, QStringLiteral(" mathvariant=\"normal\""));
    case MathNode::Number: return element(QStringLiteral("mn"), n.text);
    case MathNode::Operator: return element(QStringLiteral("mo"), xmlEscaped(n.text));
    case MathNode::Text: return element(QStringLiteral("mtext"), xmlEscaped(n.text));
    case MathNode::Fraction: return element(QStringLiteral("mfrac"), one(n.children[0]) + one(n.children[1]));
    case MathNode::Scripts: {
        const MathNode &sub = n.children[1], &sup = n.children[2];
        const QString base = one(n.children[0]);
        if (sub.empty()) return element(QStringLiteral("msup"), base + one(sup));
        if (sup.empty()) return element(QStringLiteral("msub"), base + one(sub));
        return element(QStringLiteral("msubsup"), base + one(sub) + one(sup));
    }
    case MathNode::BigOperator: {
        const MathNode &lower = n.children[0], &upper = n.children[1];
        const QString sign = element(QStringLiteral("mo"), n.text);
        const bool sum = n.text == QStringLiteral("\u2211");
        if (lower.empty() && upper.empty()) return sign;
        if (upper.empty()) return element(sum ? QStringLiteral("munder") : QStringLiteral("msub"), sign + one(lower));
        if (lower.empty()) return element(sum ? QStringLiteral("mover") : QStringLiteral("msup"), sign + one(upper));
        return element(sum ? QStringLiteral("munderover") : QStringLiteral("msubsup"), sign + one(lower) + one(upper));
    }
    case MathNode::Radical: return element(QStringLiteral("msqrt"), ml(n.children[0]));
    case MathNode::Cases: {
        QString rows;
        for (const MathNode& r : n.children) {
            QString cells;
            for (const MathNode& c : r.children) cells += element(QStringLiteral("mtd"), one(c));
            rows += element(QStringLiteral("mtr"), cells);
        }
        const QString table = element(QStringLiteral("mtable"), rows);
        const QString brace = element(QStringLiteral("mo"), n.text);
        return element(QStringLiteral("mrow"), n.text == QLatin1String("{") ? brace + table : table + brace);
    }
    case MathNode::CaseRow: break;
    }
    return QString();
}

}  // namespace

MathNode parseLinear(const QString& linear) { return Parser(linear).all(); }

QString linearOf(const MathNode& n) {
    switch (n.kind) {
    case MathNode::Row: {
        QString s;
        for (const MathNode& c : n.children) s += linearOf(c);
        return n.text == kGrouping ? QLatin1Char('(') + s + QLatin1Char(')') : s;
    }
    case MathNode::Fenced: {
        QString s;
        for (const MathNode& c : n.children) s += linearOf(c);
        return n.text + s + closingOf(n.text);
    }
    case MathNode::Identifier:
    case MathNode::Name:
    case MathNode::Number:
    case MathNode::Operator:
    case MathNode::Text: return n.text;
    case MathNode::Fraction: return operandOf(n.children[0]) + QLatin1Char('/') + operandOf(n.children[1]);
    case MathNode::Scripts:
    case MathNode::BigOperator: {
        const bool big = n.kind == MathNode::BigOperator;
        QString s = big ? n.text : linearOf(n.children[0]);
        const MathNode &sub = n.children[big ? 0 : 1], &sup = n.children[big ? 1 : 2];
        const QString subText = sub.empty() ? QString() : QLatin1Char('_') + operandOf(sub);
        const QString supText = sup.empty() ? QString() : QLatin1Char('^') + operandOf(sup);
        return n.text.startsWith(QLatin1Char('^')) ? s + supText + subText : s + subText + supText;
    }
    case MathNode::Radical: return QChar(0x221A) + linearOf(n.children[0]);
    case MathNode::Cases: {
        QStringList rows;
        for (const MathNode& r : n.children) {
            QStringList cells;
            for (const MathNode& c : r.children) cells << linearOf(c);
            rows << cells.join(QLatin1Char('&'));
        }
        const QString inside = QStringLiteral("\u25A0(") + rows.join(QLatin1Char('@')) + QLatin1Char(')');
        return n.text == QLatin1String("{") ? QLatin1Char('{') + inside + QChar(0x2524)
                                            : QChar(0x251C) + inside + QLatin1Char('}');
    }
    case MathNode::CaseRow: break;
    }
    return QString();
}

QString mathml(const MathNode& node, const QString& alttext) {
    return element(QStringLiteral("math"), one(node),
                   QStringLiteral(" xmlns=\"http://www.w3.org/1998/Math/MathML\" alttext=\"") +
                       xmlEscaped(alttext) + QLatin1Char('"'));
}

std::vector<std::pair<QString, bool>> formulaRuns(const QString& line) {
    std::vector<std::pair<QString, bool>> runs;
    std::vector<bool> prose(size_t(line.size()), false);
    for (qsizetype i = 0; i < line.size(); ++i) prose[size_t(i)] = isProse(line[i]);
    const bool english = englishWords(line) >= 2 && std::none_of(prose.begin(), prose.end(), [](bool p) { return p; });
    for (const auto& [from, to] : englishPhrases(line))
        for (qsizetype i = from; i < to; ++i) prose[size_t(i)] = true;
    if (english) std::fill(prose.begin(), prose.end(), true);
    // A case block is one formula, Japanese conditions and all.
    static const QRegularExpression block(QStringLiteral("[{\\x{251C}]\\x{25A0}\\("));
    for (auto m = block.globalMatch(line); m.hasNext();) {
        const QRegularExpressionMatch b = m.next();
        const qsizetype end = line.indexOf(b.captured().front() == u'{' ? QStringLiteral(")\u2524") : QStringLiteral(")}"),
                                           b.capturedStart());
        if (end > 0)
            for (qsizetype i = b.capturedStart(); i < end + 2; ++i) prose[size_t(i)] = false;
    }
    // So is a fraction whose bracketed parts are words: (楕円の面積)/(面積速度).
    for (qsizetype i = line.indexOf(u'/'); i >= 0; i = line.indexOf(u'/', i + 1)) {
        if (prose[size_t(i)]) continue;
        const auto mark = [&](qsizetype from, qsizetype to) {
            for (qsizetype k = from; k <= to; ++k) prose[size_t(k)] = false;
        };
        if (i > 0 && line[i - 1] == u')')
            for (qsizetype k = i - 2, d = 1; k >= 0; --k)
                if ((d += (line[k] == u')') - (line[k] == u'(')) == 0) {
                    mark(k, i - 1);
                    break;
                }
        if (i + 1 < line.size() && line[i + 1] == u'(')
            for (qsizetype k = i + 2, d = 1; k < line.size(); ++k)
                if ((d += (line[k] == u'(') - (line[k] == u')')) == 0) {
                    mark(i + 1, k);
                    break;
                }
    }
    static const QRegularExpression formula(QStringLiteral("[\\p{L}\\p{Sm}^_/\\x{2202}\\x{221E}\\x{FF1D}\\x{FF0B}\\x{FF0D}]"));
    for (qsizetype i = 0; i < line.size();) {
        qsizetype j = i;
        while (j < line.size() && prose[size_t(j)] == prose[size_t(i)]) ++j;
        QString run = line.mid(i, j - i);
        if (prose[size_t(i)] || !formula.match(run).hasMatch()) {
            if (!runs.empty() && !runs.back().second) runs.back().first += run;
            else runs.emplace_back(run, false);
        } else {
            // Blanks round a formula belong to the prose, and so does a
            // bracket it does not close: "E (負の値)".
            qsizetype lead = 0, tail = 0;
            const auto loose = [](QChar c) { return c == u' ' || c == u'(' || c == u'[' || c == u')' || c == u']'; };
            const auto depth = [](const QString& t) {
                int d = 0;
                for (QChar c : t) d += (c == u'(' || c == u'[') - (c == u')' || c == u']');
                return d;
            };
            const auto opens = [](QChar c) { return c == u'(' || c == u'['; };
            const auto rest = [&] { return run.mid(lead, run.size() - lead - tail); };
            for (bool more = true; more;) {
                more = false;
                const QString r = rest();
                if (r.isEmpty()) break;
                const QChar first = r.front(), last = r.back();
                if (first == u' ' || (opens(first) && depth(r) > 0) || (!opens(first) && loose(first) && depth(r) < 0)) {
                    ++lead;
                    more = true;
                } else if (last == u' ' || (opens(last) && depth(r) > 0) || (!opens(last) && loose(last) && depth(r) < 0)) {
                    ++tail;
                    more = true;
                }
            }
            const QString core = run.mid(lead, run.size() - lead - tail);
            if (lead > 0) {
                if (!runs.empty() && !runs.back().second) runs.back().first += run.left(lead);
                else runs.emplace_back(run.left(lead), false);
            }
            if (!core.isEmpty()) runs.emplace_back(core, true);
            if (tail > 0) runs.emplace_back(run.right(tail), false);
        }
        i = j;
    }
    return runs;
}

QString xmlEscaped(const QString& text) { return text.toHtmlEscaped(); }  // &, <, >, "

}  // namespace typeset
