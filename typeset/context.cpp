#include "context.h"

#include "entities.h"
#include "faces.h"

#include <cmath>

using namespace typeset;

int32_t Round(double v) { return int32_t(std::nearbyint(v)); }

void InitColors() {
    static constexpr Color console[16] = {
        RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
        RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
        RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
    for (int i = 0; i < 16; ++i) colTable[i] = console[i];

    colText = colSystemText;
    colBlue = RGB(0, 0, 255);
    colMediumBlue = RGB(0, 0, 205);
    colSlate = RGB(96, 96, 128);
    colTeal = RGB(0, 144, 144);
    colLime = RGB(0, 255, 0);
    colGreen = RGB(0, 224, 0);
    colDarkGreen = RGB(0, 136, 0);
    colCyan = colAqua = RGB(0, 255, 255);
    colDarkCyan = RGB(0, 224, 224);
    colGray = RGB(128, 128, 128);
    colRed = RGB(255, 0, 0);
    colMaroon = RGB(128, 0, 0);
    colDarkRed = RGB(139, 0, 0);
    colOlive = RGB(128, 128, 0);
    colMagenta = colFuchsia = RGB(255, 0, 255);
    colYellow = RGB(255, 255, 0);
    colPurple = RGB(128, 0, 128);
    colViolet = RGB(192, 0, 192);
    colOrange = RGB(255, 165, 0);
    colDarkOrange = RGB(255, 96, 0);
    colWhite = RGB(255, 255, 255);

    const Color named[10] = {colText,   colBlue,    colGreen, colOrange, colDarkCyan,
                             colFuchsia, colTeal,   colRed,   colGray,   colPurple};
    for (int i = 0; i < 10; ++i) colTable[i] = named[i];
}

void dspInit(typeset::FormSurface& form) {
    BookmanOK = FontExists(QStringLiteral("Bookman Old Style")) ? 1 : -1;
    InitColors();
    if (form.formBackColor() == RGB(255, 255, 255)) {
        PageBack = RGB(255, 255, 255);
    } else {
        PageBack = RGB(240, 240, 240);
        form.setFormBackColor(PageBack);
    }
    form.setControlsBackColor(PageBack);
    Pi = 4.0 * std::atan(1.0);
    SupRaise = 0.2f;
    SupSize = 0.75f;
    SubDrop = 0.3f;
    SubSize = 0.85f;
}

void resetContext() {
    typeset::context = {};
    EntityName = {};
}
