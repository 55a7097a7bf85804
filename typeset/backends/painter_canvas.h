// Canvas backend on any paint device through a QPainter (a printer, a PDF
// writer). The painter's coordinates are the page's 96-dpi pixels, scaled to
// the device once by whoever opened it, and text is measured as on the raster
// canvas: the page keeps exactly its layout while text stays text and lines
// stay lines at the device's own resolution.
#pragma once

#include "backends/painting.h"
#include "canvas.h"

#include <QFont>
#include <QHash>

class QPainter;

namespace typeset {

struct ResolvedFont;

class PainterCanvas : public MeasuredCanvas {
public:
    PainterCanvas(QPainter& painter, int w, int h);

    int pixelWidth() const override { return w_; }
    int pixelHeight() const override { return h_; }

protected:
    void paint(const DrawOp& op) override;

private:
    void text(const ResolvedFont& rf, const DrawOp& op, const QString& shown);
    QPainter& p_;
    int w_, h_;
    double fontScale_;  // point sizes on the device that give 96-dpi ems
    // A font as this device draws it, and the slant it must be given.
    struct DeviceFont {
        QFont font;
        double slant;
    };
    QHash<const ResolvedFont*, DeviceFont> fonts_;
};

}  // namespace typeset
