// The inline formula markup: scripts and tokens with Greek letters spelled
// out ("alpha", "pi", ...), Latin letters as italic variables, digits upright
// and signs in the monospaced face.
#pragma once

#include "canvas.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <vector>

void dsp_sup(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_sub(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_limit(typeset::Canvas& c, float& x, float y, const QString& text);
// Estimated printed width of a numerator or denominator on CurPic.
int32_t MarkupWidth(const QString& text);
void prSup(const QString& text);
void prSub(const QString& text);
void prSquare(const QString& v);

bool isLatinLetter(QChar ch);

// A Greek letter as the markup spells it out.
enum class Greek : uint8_t {
    None,
    Alpha,       // "alpha"
    Beta,        // "beta"
    Epsilon,     // "epsln"
    Theta,       // "theta"
    LetterPi,    // "pi" (Pi is the number)
    Phi,         // "phi": the text face's φ
    PhiVariant,  // "fi": the Symbol face's form
    Omega,       // "omega"
};

// One piece of markup: a Greek letter, or one character (the script
// markers "^" and "_" among them), and where it stands in the markup.
struct MarkupToken {
    Greek greek = Greek::None;
    QChar ch;  // when it is no Greek letter
    qsizetype at = 0, size = 1;
};

// The markup in pieces, the one place that knows the spellings. A printer
// names the letters it has a drawing for; any other spelling reads as its
// characters, one piece each.
std::vector<MarkupToken> scanMarkup(const QString& text, std::initializer_list<Greek> drawn);
// The letter text spells out whole, or Greek::None.
Greek greekLetter(const QString& text);
