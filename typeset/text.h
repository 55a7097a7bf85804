// Canvas-level text printers: each prints at (x, y), the top-left of the text,
// leaves x at the right end of what it printed and restores every font
// property it changed. Plus the small text utilities of the library.
#pragma once

#include "canvas.h"

#include <QString>

void dsp_plain(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_face(typeset::Canvas& c, const QString& face, float& x, float y, const QString& text);
void dsp_text(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_gothic(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_courier(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_symbol(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_symbolIt(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_var(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_pi(typeset::Canvas& c, float& x, float y);
void dsp_epsln(typeset::Canvas& c, float& x, float y);
void dsp_omega(typeset::Canvas& c, float& x, float y);
// dsp_text at a fixed place (a graph's labels), where nothing follows on.
void dsp_textAt(typeset::Canvas& c, double x, double y, const QString& text);

// True when the first character is a double-byte character of the Japanese
// code page (anything beyond Latin-1); false for an empty string.
bool IsWideChar(const QString& s);

// The runtime's shortest decimal text of x: up to 15 significant digits, no
// zero before the point, exponent form for very large or small magnitudes.
QString num2str(double x);

double MaxOf(double a, double b);

// Faces the printers use by name.
namespace face {
inline const QString Meiryo = QStringLiteral("メイリオ");
inline const QString Gothic = QStringLiteral("ＭＳ ゴシック");
inline const QString Courier = QStringLiteral("Courier New");
inline const QString Symbol = QStringLiteral("Symbol");
inline const QString Times = QStringLiteral("Times New Roman");
inline const QString Century = QStringLiteral("Century");
inline const QString Bookman = QStringLiteral("Bookman Old Style");
inline const QString Verdana = QStringLiteral("Verdana");
inline const QString Wingdings = QStringLiteral("Wingdings");
inline const QString Arial = QStringLiteral("Arial");
}  // namespace face
