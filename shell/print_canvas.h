// Form2: the never-shown window that a page is drawn on again for printing.
#pragma once

#include "context.h"
#include "raster_canvas.h"

class PrintCanvas : public FormSurface {
public:
    // Form_Load of the print canvas: the size of the viewer window, white,
    // the page face at 12 points, then dspInit.
    PrintCanvas(int width, int height);
    RasterCanvas& canvas() { return canvas_; }

    Color formBackColor() const override { return canvas_.BackColor; }
    void setFormBackColor(Color c) override { canvas_.BackColor = c; }
    void setControlsBackColor(Color) override {}

private:
    RasterCanvas canvas_;
};
