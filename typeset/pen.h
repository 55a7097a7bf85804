// Pen-level printers: they draw on CurPic at (PenX, PenY), PenY being the top
// of the current text line, and advance PenX.
#pragma once

#include <QString>
#include <cstdint>

void NewLine();
void NewPara();
void Skip(int n);
void SkipW(float k);
void SkipH(float k);
void pr(const QString& text);
void prUpright(const QString& text);
void prBlue(const QString& text);
void prVar(const QString& text);
void prMinus();
void prCos();
void prSin();
void prDiff(const QString& v);
void prWing(uint8_t code);
