#include "context.h"
#include "state.h"

#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;

namespace {
class StubForm : public FormSurface {
public:
    Color back;
    Color controls = 0;
    explicit StubForm(Color b) : back(b) {}
    Color formBackColor() const override { return back; }
    void setFormBackColor(Color c) override { back = c; }
    void setControlsBackColor(Color c) override { controls = c; }
};
}  // namespace

TEST(Layout, StopsRoundTiesToEvenFromTheRoundedMargin) {
    UnitW = 6.25f;
    deriveLayoutStops(10);
    EXPECT_EQ(LeftX, 12);   // 12.5
    EXPECT_EQ(TabX1, 24);   // 24.5
    EXPECT_EQ(TabX2, 43);   // 43.25
    EXPECT_EQ(TabX3, 74);   // 74.5
    EXPECT_EQ(FarX, 324);   // 324.5

    // The magic-square chapter's stops.
    deriveLayoutStops(8);
    EXPECT_EQ(TabX3, 62);
    EXPECT_FLOAT_EQ(TabX3W, 30.75f);
    EXPECT_FLOAT_EQ(TabX4W, 37.0f);
}

TEST(Layout, InitialisationSetsPaletteRatiosAndPageColour) {
    resetContext();
    StubForm grey(RGB(200, 200, 200));
    dspInit(grey);
    EXPECT_EQ(PageBack, RGB(240, 240, 240));
    EXPECT_EQ(grey.back, RGB(240, 240, 240));
    EXPECT_EQ(grey.controls, RGB(240, 240, 240));
    EXPECT_EQ(BookmanOK, -1);
    EXPECT_DOUBLE_EQ(Pi, 3.141592653589793);
    EXPECT_FLOAT_EQ(SupRaise, 0.2f);
    EXPECT_FLOAT_EQ(SubSize, 0.85f);

    StubForm white(RGB(255, 255, 255));
    dspInit(white);
    EXPECT_EQ(PageBack, RGB(255, 255, 255));
    EXPECT_EQ(white.controls, RGB(255, 255, 255));

    // The colour table: named colours in 0..9, console colours above.
    EXPECT_EQ(colTable[0], colSystemText);
    EXPECT_EQ(colTable[1], RGB(0, 0, 255));
    EXPECT_EQ(colTable[3], RGB(255, 165, 0));
    EXPECT_EQ(colTable[6], RGB(0, 144, 144));
    EXPECT_EQ(colTable[9], RGB(128, 0, 128));
    EXPECT_EQ(colTable[10], RGB(0, 255, 0));
    EXPECT_EQ(colTable[15], RGB(255, 255, 255));
    EXPECT_EQ(colDarkOrange, RGB(255, 96, 0));
    EXPECT_EQ(RGB(1, 2, 3), 0x030201u);  // red in the lowest byte
}
