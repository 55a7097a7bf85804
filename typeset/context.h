// The drawing context shared by every module of the library and by the page
// routines: current canvas, pen, layout units, script ratios and colours.
// Module-level state by design: page routines take no arguments and read
// and move these directly.
#pragma once

#include "canvas.h"
#include "variant.h"

#include <array>
#include <cstdint>

inline Canvas* CurPic = nullptr;
inline float PenX = 0, PenY = 0;
inline float UnitW = 0, UnitH = 0;
inline int32_t LeftX = 0, TabX1 = 0, TabX2 = 0, TabX3 = 0;
inline int32_t BookmanOK = 0;  // 0 untested, 1 installed, -1 not installed
inline float SupRaise = 0.2f, SupSize = 0.75f, SubDrop = 0.3f, SubSize = 0.85f;
inline double Pi = 0;
inline Color PageBack = RGB(255, 255, 255);
inline std::array<Color, 16> colTable{};

inline Color colText, colBlue, colMediumBlue, colSlate, colTeal, colLime, colGreen,
    colDarkGreen, colCyan, colAqua, colDarkCyan, colGray, colRed, colMaroon, colDarkRed,
    colOlive, colMagenta, colFuchsia, colYellow, colPurple, colViolet, colOrange,
    colDarkOrange, colWhite;

// Round to the nearest whole number, ties to the even one.
int32_t Round(double v);

// A window as dspInit sees it: its background and its controls'.
class FormSurface {
public:
    virtual ~FormSurface() = default;
    virtual Color formBackColor() const = 0;
    virtual void setFormBackColor(Color c) = 0;
    // Every control but horizontal scroll bars, timers, text boxes and lines.
    virtual void setControlsBackColor(Color c) = 0;
};

void dspInit(FormSurface& form);
void InitColors();

// Puts every context variable back to its value before any start-up.
void resetContext();
