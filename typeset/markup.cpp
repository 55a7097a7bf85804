#include "markup.h"

#include "context.h"
#include "pen.h"
#include "text.h"

using namespace typeset;

namespace {

const QString kTime = QStringLiteral("Time:");

enum class Script { Sup, Sub };

// The Greek spellings the two script printers share; true when one was
// printed (and removed from text).
bool scriptGreek(Canvas& c, Script kind, float& x, float yLine, QString& text, float entrySize,
                 float scriptSize, double W) {
    if (takePrefix(text, "phi")) {
        if (kind == Script::Sup) x = float(x + 0.1 * W);
        c.FontItalic = true;
        dsp_text(c, x, yLine, QStringLiteral("φ"));
        c.FontItalic = false;
        return true;
    }
    if (takePrefix(text, "fi")) {
        dsp_symbolIt(c, x, yLine, QStringLiteral("j"));
        return true;
    }
    if (takePrefix(text, "theta")) {
        dsp_symbolIt(c, x, yLine + 1, QStringLiteral("q"));
        return true;
    }
    if (takePrefix(text, "pi")) {
        c.FontSize = entrySize;
        x += 1;
        dsp_symbol(c, x, yLine - 2, QStringLiteral("p"));
        x += 1;
        c.FontSize = scriptSize;
        return true;
    }
    if (takePrefix(text, "alpha")) {
        dsp_symbolIt(c, x, yLine, QStringLiteral("a"));
        return true;
    }
    if (takePrefix(text, "beta")) {
        dsp_symbolIt(c, x, yLine, QStringLiteral("b"));
        return true;
    }
    if (kind == Script::Sup && takePrefix(text, "omega")) {
        dsp_omega(c, x, yLine + 1);
        x += 2;
        return true;
    }
    return false;
}

}  // namespace

bool takePrefix(QString& text, const char* prefix) {
    const QLatin1String p(prefix);
    if (!text.startsWith(p)) return false;
    text.remove(0, p.size());
    return true;
}

bool isLatinLetter(QChar ch) {
    const ushort u = ch.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

void dsp_sup(Canvas& c, float& x, float y, const QString& textIn) {
    Construct group(c, Group::Superscript);
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const float S = c.FontSize;
    const bool italic = c.FontItalic;
    const float scriptSize = float(SupSize * S);
    c.FontSize = scriptSize;
    const float yLine = float(y - SupRaise * H);
    float pos = x;
    QString text = textIn;
    while (!text.isEmpty()) {
        if (text.contains(kTime)) {
            dsp_text(c, pos, yLine, text);
            break;
        }
        if (scriptGreek(c, Script::Sup, pos, yLine, text, S, scriptSize, W)) {
            // The italic Greek letters lean into a closing parenthesis.
            if (text.startsWith(QLatin1Char(')'))) pos += 2;
            continue;
        }
        const QString ch = text.left(1);
        text.remove(0, 1);
        // Nor may an italic letter lean into an opening one.
        if (ch == QLatin1String("(") && !text.isEmpty() && isLatinLetter(text[0])) {
            dsp_text(c, pos, yLine, ch);
            pos += 2;
            continue;
        }
        if (isLatinLetter(ch[0])) {
            dsp_var(c, pos, yLine, ch);
            pos += 2;
        } else if (ch == QLatin1String("-")) {
            dsp_courier(c, pos, yLine, ch);
        } else {
            dsp_text(c, pos, yLine, ch);
        }
    }
    x = pos;
    c.FontSize = S;
    c.FontItalic = italic;
}

void dsp_sub(Canvas& c, float& x, float y, const QString& textIn) {
    Construct group(c, Group::Subscript);
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const float S = c.FontSize;
    const bool italic = c.FontItalic;
    const float scriptSize = float(SubSize * S);
    c.FontSize = scriptSize;
    if (IsWideChar(textIn)) c.FontSize = float(c.FontSize * 0.85);
    float yLine = float(y + SubDrop * H);
    float pos = x;
    bool afterGreek = false;
    QString text = textIn;
    // "min" and "max" are words, not products of variables; only the whole
    // script is taken as one ("nmax" is four italic letters).
    if (text == QLatin1String("min") || text == QLatin1String("max")) {
        dsp_text(c, pos, yLine, text);
        text.clear();
    }
    while (!text.isEmpty()) {
        if (text.contains(kTime)) {
            dsp_text(c, pos, yLine, text);
            break;
        }
        if (scriptGreek(c, Script::Sub, pos, yLine, text, S, scriptSize, W)) {
            afterGreek = true;
            continue;
        }
        const QString ch = text.left(1);
        const QChar u = ch[0];
        text.remove(0, 1);
        // The fallback italic comma leans back into a Greek letter before it.
        if (u == QLatin1Char(',') && afterGreek && BookmanOK != 1) pos += 2;
        afterGreek = false;
        if (u == QLatin1Char('j')) {
            pos += 1;
            dsp_var(c, pos, yLine, ch);
            pos = float(pos + 0.2 * W);
        } else if ((u >= QLatin1Char('a') && u <= QLatin1Char('z')) || u == QLatin1Char(',')) {
            dsp_var(c, pos, yLine, ch);
            pos = float(pos + 0.2 * W);
        } else if (u >= QLatin1Char('A') && u <= QLatin1Char('Z')) {
            c.FontSize = float(SubSize * S * 0.9);
            yLine = float(y + (SubDrop + 0.1) * H);
            dsp_var(c, pos, yLine, ch);
        } else if (u == QLatin1Char('+') || u == QLatin1Char('-')) {
            dsp_courier(c, pos, yLine, ch);
        } else {
            dsp_text(c, pos, yLine, ch);
        }
    }
    x = pos;
    c.FontSize = S;
    c.FontItalic = italic;
}

void dsp_limit(Canvas& c, float& x, float y, const QString& textIn) {
    QString text = textIn;
    while (!text.isEmpty()) {
        const char* spelled = nullptr;
        for (const char* g : {"-pi", "alpha", "beta", "omega", "pi", "epsln"})
            if (text.startsWith(QLatin1String(g))) {
                spelled = g;
                break;
            }
        if (spelled) {
            const QLatin1String g(spelled);
            x += 2;
            if (g == QLatin1String("-pi")) {
                dsp_courier(c, x, y, QStringLiteral("-"));
                dsp_pi(c, x, y - 3);
            } else if (g == QLatin1String("alpha")) {
                dsp_symbolIt(c, x, y, QStringLiteral("a"));
            } else if (g == QLatin1String("beta")) {
                dsp_symbolIt(c, x, y, QStringLiteral("b"));
            } else if (g == QLatin1String("omega")) {
                dsp_omega(c, x, y);
            } else if (g == QLatin1String("pi")) {
                dsp_pi(c, x, y);
            } else {
                dsp_text(c, x, y, QStringLiteral("ε"));
            }
            x += 2;
            text.remove(0, g.size());
            continue;
        }
        const QString ch = text.left(1);
        const QChar u = ch[0];
        text.remove(0, 1);
        if (u == QLatin1Char('j')) {
            x += 4;
            dsp_var(c, x, y, ch);
        } else if (isLatinLetter(u) || u == QLatin1Char(',') || u == QLatin1Char(' ')) {
            dsp_var(c, x, y, ch);
        } else if (u == QLatin1Char('-')) {
            dsp_courier(c, x, y, ch);
        } else {
            dsp_text(c, x, y, ch);
        }
    }
}

int32_t MarkupWidth(const QString& textIn) {
    Canvas& c = *CurPic;
    double w = 0;
    QString text = textIn;
    while (!text.isEmpty()) {
        bool greek = false;
        for (const char* g : {"alpha", "beta", "omega", "pi", "epsln"})
            if (takePrefix(text, g)) {
                greek = true;
                break;
            }
        if (greek) {
            w += c.TextWidth(QStringLiteral("w"));
            continue;
        }
        const QString ch = text.left(1);
        text.remove(0, 1);
        if (Variant.plainMarkupWidth) {
            w += c.TextWidth(ch);
        } else if (ch == QLatin1String("^") || ch == QLatin1String("_")) {
            // scripts markers take no room
        } else if (isLatinLetter(ch[0])) {
            const QString saved = c.FontName;
            c.FontName = BookmanOK == 1 ? face::Bookman : face::Times;
            w += 1.3 * c.TextWidth(ch);
            c.FontName = saved;
        } else {
            w += c.TextWidth(ch);
        }
    }
    return Round(w);
}

void prSup(const QString& text) {
    Skip(2);
    dsp_sup(*CurPic, PenX, PenY, text);
    Skip(2);
}

void prSub(const QString& text) { dsp_sub(*CurPic, PenX, PenY, text); }

void prSquare(const QString& v) {
    prVar(v);
    const float saved = SupRaise;
    SupRaise = BookmanOK == 1 ? 0.2f : 0.12f;
    Skip(2);
    dsp_sup(*CurPic, PenX, PenY, QStringLiteral("2"));
    Skip(2);
    SupRaise = saved;
}
