#include "state.h"

void resetShellState() {
    CurPage = 0;
    Printing = 0;
    SkipWait = 0;
    BaseSize = 13.0f;
    FarX = 0;
    TabX3W = TabX4W = 0;
    DefFore = colSystemText;
}
