#include "print_canvas.h"

PrintCanvas::PrintCanvas(int width, int height) : canvas_(width, height) {
    canvas_.FontName = QStringLiteral("メイリオ");
    canvas_.FontSize = 12.0f;
    canvas_.BackColor = RGB(255, 255, 255);
    canvas_.Cls();
    dspInit(*this);
}
