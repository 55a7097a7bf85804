#include "markup.h"

#include "context.h"
#include "pen.h"
#include "text.h"

#include <algorithm>

using namespace typeset;

namespace {

const QString kTime = QStringLiteral("Time:");

enum class Script { Sup, Sub };

// Every spelling the markup knows. None is the start of another, so the
// order does not matter.
constexpr std::pair<Greek, const char*> kSpellings[] = {
    {Greek::Alpha, "alpha"},  {Greek::Beta, "beta"}, {Greek::Epsilon, "epsln"},   {Greek::Theta, "theta"},
    {Greek::LetterPi, "pi"}, {Greek::Phi, "phi"},   {Greek::PhiVariant, "fi"}, {Greek::Omega, "omega"},
};

// The letters the script printers draw; omega only above the line.
constexpr std::initializer_list<Greek> kSubGreek = {Greek::Phi,      Greek::PhiVariant, Greek::Theta,
                                                     Greek::LetterPi, Greek::Alpha,      Greek::Beta};
constexpr std::initializer_list<Greek> kSupGreek = {Greek::Phi,   Greek::PhiVariant, Greek::Theta, Greek::LetterPi,
                                                     Greek::Alpha, Greek::Beta,       Greek::Omega};

// A Greek letter in a script, as the two script printers draw it.
void scriptGreek(Canvas& c, Script kind, float& x, float yLine, Greek g, float entrySize, float scriptSize,
                 double W) {
    switch (g) {
    case Greek::Phi:
        if (kind == Script::Sup) x = float(x + 0.1 * W);
        c.FontItalic = true;
        dsp_text(c, x, yLine, QStringLiteral("φ"));
        c.FontItalic = false;
        break;
    case Greek::PhiVariant: dsp_symbolIt(c, x, yLine, QStringLiteral("j")); break;
    case Greek::Theta: dsp_symbolIt(c, x, yLine + 1, QStringLiteral("q")); break;
    case Greek::LetterPi:
        c.FontSize = entrySize;
        x += 1;
        dsp_symbol(c, x, yLine - 2, QStringLiteral("p"));
        x += 1;
        c.FontSize = scriptSize;
        break;
    case Greek::Alpha: dsp_symbolIt(c, x, yLine, QStringLiteral("a")); break;
    case Greek::Beta: dsp_symbolIt(c, x, yLine, QStringLiteral("b")); break;
    case Greek::Omega:
        dsp_omega(c, x, yLine + 1);
        x += 2;
        break;
    case Greek::Epsilon:
    case Greek::None: break;
    }
}

// The character after a piece, or none at the end.
QChar after(const QString& text, const MarkupToken& t) {
    return t.at + t.size < text.size() ? text[t.at + t.size] : QChar();
}

}  // namespace

std::vector<MarkupToken> scanMarkup(const QString& text, std::initializer_list<Greek> drawn) {
    std::vector<MarkupToken> tokens;
    for (qsizetype i = 0; i < text.size();) {
        MarkupToken t{Greek::None, text[i], i, 1};
        for (const auto& [letter, spelling] : kSpellings)
            if (std::find(drawn.begin(), drawn.end(), letter) != drawn.end() &&
                QStringView(text).mid(i).startsWith(QLatin1String(spelling))) {
                t = {letter, QChar(), i, qsizetype(qstrlen(spelling))};
                break;
            }
        tokens.push_back(t);
        i += t.size;
    }
    return tokens;
}

Greek greekLetter(const QString& text) {
    for (const auto& [letter, spelling] : kSpellings)
        if (text == QLatin1String(spelling)) return letter;
    return Greek::None;
}

bool isLatinLetter(QChar ch) {
    const ushort u = ch.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

void dsp_sup(Canvas& c, float& x, float y, const QString& text) {
    Construct group(c, Group::Superscript);
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const float S = c.FontSize;
    const bool italic = c.FontItalic;
    const float scriptSize = float(SupSize * S);
    c.FontSize = scriptSize;
    const float yLine = float(y - SupRaise * H);
    float pos = x;
    for (const MarkupToken& t : scanMarkup(text, kSupGreek)) {
        if (text.mid(t.at).contains(kTime)) {
            dsp_text(c, pos, yLine, text.mid(t.at));
            break;
        }
        if (t.greek != Greek::None) {
            scriptGreek(c, Script::Sup, pos, yLine, t.greek, S, scriptSize, W);
            // The italic Greek letters lean into a closing parenthesis.
            if (after(text, t) == QLatin1Char(')')) pos += 2;
            continue;
        }
        const QString ch(t.ch);
        // Nor may an italic letter lean into an opening one.
        if (ch == QLatin1String("(") && isLatinLetter(after(text, t))) {
            dsp_text(c, pos, yLine, ch);
            pos += 2;
            continue;
        }
        if (isLatinLetter(t.ch)) {
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
    for (const MarkupToken& t : scanMarkup(text, kSubGreek)) {
        if (text.mid(t.at).contains(kTime)) {
            dsp_text(c, pos, yLine, text.mid(t.at));
            break;
        }
        if (t.greek != Greek::None) {
            scriptGreek(c, Script::Sub, pos, yLine, t.greek, S, scriptSize, W);
            afterGreek = true;
            continue;
        }
        const QString ch(t.ch);
        const QChar u = t.ch;
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

void dsp_limit(Canvas& c, float& x, float y, const QString& text) {
    const std::vector<MarkupToken> tokens =
        scanMarkup(text, {Greek::Alpha, Greek::Beta, Greek::Omega, Greek::LetterPi, Greek::Epsilon});
    for (size_t i = 0; i < tokens.size(); ++i) {
        const MarkupToken& t = tokens[i];
        const bool minusPi =
            t.ch == QLatin1Char('-') && i + 1 < tokens.size() && tokens[i + 1].greek == Greek::LetterPi;
        if (t.greek != Greek::None || minusPi) {
            x += 2;
            if (minusPi) {
                dsp_courier(c, x, y, QStringLiteral("-"));
                dsp_pi(c, x, y - 3);
                ++i;
            } else if (t.greek == Greek::Alpha) {
                dsp_symbolIt(c, x, y, QStringLiteral("a"));
            } else if (t.greek == Greek::Beta) {
                dsp_symbolIt(c, x, y, QStringLiteral("b"));
            } else if (t.greek == Greek::Omega) {
                dsp_omega(c, x, y);
            } else if (t.greek == Greek::LetterPi) {
                dsp_pi(c, x, y);
            } else {
                dsp_text(c, x, y, QStringLiteral("ε"));
            }
            x += 2;
            continue;
        }
        const QString ch(t.ch);
        const QChar u = t.ch;
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

int32_t MarkupWidth(const QString& text) {
    Canvas& c = *CurPic;
    double w = 0;
    for (const MarkupToken& t :
         scanMarkup(text, {Greek::Alpha, Greek::Beta, Greek::Omega, Greek::LetterPi, Greek::Epsilon})) {
        if (t.greek != Greek::None) {
            w += c.TextWidth(QStringLiteral("w"));
            continue;
        }
        const QString ch(t.ch);
        if (Variant.plainMarkupWidth) {
            w += c.TextWidth(ch);
        } else if (ch == QLatin1String("^") || ch == QLatin1String("_")) {
            // scripts markers take no room
        } else if (isLatinLetter(t.ch)) {
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
