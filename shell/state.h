// Shell state that page routines read: module-level, as the library's
// drawing context is.
#pragma once

#include "canvas.h"

#include <QString>

#include <cstdint>

inline int32_t CurPage = 0;
inline int32_t Printing = 0;
inline int32_t SkipWait = 0;   // set by F1 where the chapter allows; never cleared
inline float BaseSize = 13.0f;
inline int32_t FarX = 0;
inline float TabX3W = 0, TabX4W = 0;  // unrounded stops of the magic-square page
inline Color DefFore = colSystemText;

void resetShellState();

// The margin and tab stops from the measured UnitW, in their order; each uses
// the already rounded LeftX. TabX3 lies tabX3Units units past the margin.
void deriveLayoutStops(int tabX3Units);
