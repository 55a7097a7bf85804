// Colours for a projector in a dark hall: each colour's lightness turned
// over with its hue and saturation kept, so white paper becomes black, black
// text white, and a red curve stays red. For the screen only.
#pragma once

#include <QColor>
#include <QGraphicsEffect>
#include <QImage>

namespace shell {

// In HSL terms L becomes 1 − L; in RGB that is adding 255 − max − min to
// every channel, which keeps the channels' differences (hue, chroma).
QRgb invertLightness(QRgb c);
QColor invertLightness(const QColor& c);
void invertLightness(QImage& image);

// The effect on a widget and its children.
class InvertLightness : public QGraphicsEffect {
protected:
    void draw(QPainter* painter) override;
};

}  // namespace shell
