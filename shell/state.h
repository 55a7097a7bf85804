// Shell state that page routines read: module-level, as the library's
// drawing context is.
#pragma once

#include "canvas.h"

#include <QString>

#include <cstdint>

namespace shell {

struct ShellState {
    int32_t CurPage = 0;
    int32_t Printing = 0;
    int32_t SkipWait = 0;   // set by F1 where the chapter allows; never cleared
    float BaseSize = 13.0f;
    int32_t FarX = 0;
    float TabX3W = 0, TabX4W = 0;  // unrounded stops of the magic-square page
    Color DefFore = colSystemText;
};

inline ShellState state;

}  // namespace shell

// The names the page routines use.
inline int32_t& CurPage = shell::state.CurPage;
inline int32_t& Printing = shell::state.Printing;
inline int32_t& SkipWait = shell::state.SkipWait;
inline float& BaseSize = shell::state.BaseSize;
inline int32_t& FarX = shell::state.FarX;
inline float& TabX3W = shell::state.TabX3W;
inline float& TabX4W = shell::state.TabX4W;
inline Color& DefFore = shell::state.DefFore;

void resetShellState();

// The margin and tab stops from the measured UnitW, in their order; each uses
// the already rounded LeftX. TabX3 lies tabX3Units units past the margin.
void deriveLayoutStops(int tabX3Units);
