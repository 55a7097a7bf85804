// Canvas backend on any paint device through a QPainter (a printer, a PDF
// writer). The painter's coordinates are the page's 96-dpi pixels, scaled to
// the device once by whoever opened it, and text is measured as on the raster
// canvas: the page keeps exactly its layout while text stays text and lines
// stay lines at the device's own resolution.
#pragma once

#include "canvas.h"
#include "painting.h"

#include <QFont>
#include <QHash>

class PagePicture;
class QPainter;
struct ResolvedFont;

class PainterCanvas : public MeasuredCanvas {
public:
    PainterCanvas(QPainter& painter, int w, int h);

    int pixelWidth() const override { return w_; }
    int pixelHeight() const override { return h_; }

    // Draws a page kept as operations.
    void replay(const PagePicture& page);

protected:
    void drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                    int angle) override;
    QSize glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw, Color c,
                   int angle, GlyphFont which) override;
    void linePx(double x1, double y1, double x2, double y2, Color c) override;
    void boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) override;
    void circlePx(double cx, double cy, double rx, double ry, Color c, double start,
                  double end) override;
    void psetPx(double x, double y, Color c) override;
    void clearPx(Color back) override;
    void copyPx(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) override;

private:
    void text(const ResolvedFont& rf, double x, double y, const QString& shown, Color c,
              int angle);
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
