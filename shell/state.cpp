#include "state.h"

#include "context.h"
#include "pen.h"

using namespace typeset;

void resetShellState() { shell::state = {}; }

void deriveLayoutStops(int tabX3Units) {
    LeftX = Round(2.0 * UnitW);
    TabX1 = Round(2.0 * UnitW + LeftX);
    TabX3W = float(3.0 * UnitW + LeftX);
    TabX4W = float(4.0 * UnitW + LeftX);
    TabX2 = Round(5.0 * UnitW + LeftX);
    TabX3 = Round(tabX3Units * double(UnitW) + LeftX);
    FarX = Round(50.0 * UnitW + LeftX);
}
