// Form2: the never-shown window that a page is drawn on again for printing.
#pragma once

#include "context.h"
#include "backends/raster_canvas.h"

#include <memory>

class QWidget;

namespace shell {


class PrintCanvas : public typeset::FormSurface {
public:
    // Form_Load of the print canvas: the size of the viewer window, white,
    // the page face at 12 points, then dspInit.
    PrintCanvas(int width, int height);
    ~PrintCanvas() override;
    typeset::RasterCanvas& canvas() { return canvas_; }

    Color formBackColor() const override { return canvas_.BackColor; }
    void setFormBackColor(Color c) override { canvas_.BackColor = c; }
    void setControlsBackColor(Color) override {}

    // A page routine that makes its canvas visible shows the print canvas as
    // a window of its own (null until then).
    QWidget* window() const { return window_.get(); }

private:
    typeset::RasterCanvas canvas_;
    std::unique_ptr<QWidget> window_;
};

}  // namespace shell
