#include "pen.h"

#include "context.h"
#include "font_state.h"
#include "glyphs.h"
#include "text.h"

using namespace typeset;

void NewLine() {
    PenX = float(LeftX);
    PenY = PenY + UnitH;
}

void NewPara() {
    PenX = float(LeftX);
    PenY = float(PenY + 1.5 * UnitH);
}

void Skip(int n) { PenX = PenX + float(n); }

void SkipW(float k) { PenX = PenX + k * UnitW; }

void SkipH(float k) { PenY = PenY + k * UnitH; }

void pr(const QString& text) { dsp_text(*CurPic, PenX, PenY, text); }

void prUpright(const QString& text) { dsp_courier(*CurPic, PenX, PenY, text); }

void prBlue(const QString& text) {
    FontState keep(*CurPic);
    CurPic->ForeColor = colBlue;
    pr(text);
}

void prVar(const QString& text) {
    if (text.size() == 1) {
        dsp_var(*CurPic, PenX, PenY, text);
        return;
    }
    // Letters of a longer name are spaced apart, as italic letters set one by
    // one would otherwise touch.
    for (QChar ch : text) {
        Skip(2);
        dsp_var(*CurPic, PenX, PenY, QString(ch));
    }
    Skip(2);
}

void prMinus() {
    Construct minus(*CurPic, Group::Minus);
    Skip(4);
    dsp_courier(*CurPic, PenX, PenY, QStringLiteral("-"));
    Skip(4);
}

void prCos() {
    prUpright(QStringLiteral("cos"));
    Skip(2);
}

void prSin() {
    prUpright(QStringLiteral("sin"));
    Skip(2);
}

void prDiff(const QString& v) {
    Construct differential(*CurPic, Group::Differential);
    prVar(QStringLiteral("d"));
    Skip(2);
    prVar(v);
}

void prWing(uint8_t code) {
    Canvas& c = *CurPic;
    FontState keep(c);
    c.FontName = face::Wingdings;
    c.ForeColor = colBlue;
    int32_t x = Round(PenX);
    gdiTextOut(c, x, Round(PenY), QByteArray(1, char(code)), 1);
    PenX = float(x);
}
