// The drawing context shared by every module of the library and by the page
// routines: current canvas, pen, layout units, script ratios and colours.
// Module-level state by design: page routines take no arguments and read
// and move these directly.
#pragma once

#include "canvas.h"
#include "variant.h"

#include <array>
#include <cstdint>

namespace typeset {

// Everything the library's routines share, in one place so that it can be
// reset or saved in one statement.
struct DrawingContext {
    Canvas* CurPic = nullptr;
    float PenX = 0, PenY = 0;
    float UnitW = 0, UnitH = 0;
    int32_t LeftX = 0, TabX1 = 0, TabX2 = 0, TabX3 = 0;
    int32_t BookmanOK = 0;  // 0 untested, 1 installed, -1 not installed
    float SupRaise = 0.2f, SupSize = 0.75f, SubDrop = 0.3f, SubSize = 0.85f;
    double Pi = 0;
    Color PageBack = RGB(255, 255, 255);
    std::array<Color, 16> colTable{};
    Color colText = 0, colBlue = 0, colMediumBlue = 0, colSlate = 0, colTeal = 0, colLime = 0,
          colGreen = 0, colDarkGreen = 0, colCyan = 0, colAqua = 0, colDarkCyan = 0, colGray = 0,
          colRed = 0, colMaroon = 0, colDarkRed = 0, colOlive = 0, colMagenta = 0, colFuchsia = 0,
          colYellow = 0, colPurple = 0, colViolet = 0, colOrange = 0, colDarkOrange = 0,
          colWhite = 0;
    LibraryVariant Variant;  // the variant in force, set by the shell from the chapter
};

inline DrawingContext context;

}  // namespace typeset

// The names the page routines use.
inline typeset::Canvas*& CurPic = typeset::context.CurPic;
inline float& PenX = typeset::context.PenX;
inline float& PenY = typeset::context.PenY;
inline float& UnitW = typeset::context.UnitW;
inline float& UnitH = typeset::context.UnitH;
inline int32_t& LeftX = typeset::context.LeftX;
inline int32_t& TabX1 = typeset::context.TabX1;
inline int32_t& TabX2 = typeset::context.TabX2;
inline int32_t& TabX3 = typeset::context.TabX3;
inline int32_t& BookmanOK = typeset::context.BookmanOK;
inline float& SupRaise = typeset::context.SupRaise;
inline float& SupSize = typeset::context.SupSize;
inline float& SubDrop = typeset::context.SubDrop;
inline float& SubSize = typeset::context.SubSize;
inline double& Pi = typeset::context.Pi;
inline Color& PageBack = typeset::context.PageBack;
inline std::array<Color, 16>& colTable = typeset::context.colTable;
inline typeset::LibraryVariant& Variant = typeset::context.Variant;
inline Color& colText = typeset::context.colText;
inline Color& colBlue = typeset::context.colBlue;
inline Color& colMediumBlue = typeset::context.colMediumBlue;
inline Color& colSlate = typeset::context.colSlate;
inline Color& colTeal = typeset::context.colTeal;
inline Color& colLime = typeset::context.colLime;
inline Color& colGreen = typeset::context.colGreen;
inline Color& colDarkGreen = typeset::context.colDarkGreen;
inline Color& colCyan = typeset::context.colCyan;
inline Color& colAqua = typeset::context.colAqua;
inline Color& colDarkCyan = typeset::context.colDarkCyan;
inline Color& colGray = typeset::context.colGray;
inline Color& colRed = typeset::context.colRed;
inline Color& colMaroon = typeset::context.colMaroon;
inline Color& colDarkRed = typeset::context.colDarkRed;
inline Color& colOlive = typeset::context.colOlive;
inline Color& colMagenta = typeset::context.colMagenta;
inline Color& colFuchsia = typeset::context.colFuchsia;
inline Color& colYellow = typeset::context.colYellow;
inline Color& colPurple = typeset::context.colPurple;
inline Color& colViolet = typeset::context.colViolet;
inline Color& colOrange = typeset::context.colOrange;
inline Color& colDarkOrange = typeset::context.colDarkOrange;
inline Color& colWhite = typeset::context.colWhite;

// Round to the nearest whole number, ties to the even one.
int32_t Round(double v);

namespace typeset {

// A window as dspInit sees it: its background and its controls'.
class FormSurface {
public:
    virtual ~FormSurface() = default;
    virtual Color formBackColor() const = 0;
    virtual void setFormBackColor(Color c) = 0;
    // Every control but horizontal scroll bars, timers, text boxes and lines.
    virtual void setControlsBackColor(Color c) = 0;
};

}  // namespace typeset

void dspInit(typeset::FormSurface& form);
void InitColors();

// Puts every context variable, and the entity table, back to its value
// before any start-up.
void resetContext();
