#include "projection.h"

#include "form1.h"

#include <QPainter>
#include <QPalette>
#include <algorithm>

namespace shell {

QRgb invertLightness(QRgb c) {
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    const int shift = 255 - std::max({r, g, b}) - std::min({r, g, b});
    return qRgba(r + shift, g + shift, b + shift, qAlpha(c));
}

QColor invertLightness(const QColor& c) { return QColor::fromRgba(invertLightness(c.rgba())); }

void invertLightness(QImage& image) {
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = invertLightness(line[x]);
    }
}

void InvertLightness::draw(QPainter* painter) {
    QPoint offset;
    const QPixmap source = sourcePixmap(Qt::DeviceCoordinates, &offset, QGraphicsEffect::NoPad);
    if (source.isNull()) return;
    QImage image = source.toImage();
    invertLightness(image);
    const QTransform was = painter->worldTransform();
    painter->setWorldTransform(QTransform());
    painter->drawImage(offset, image);
    painter->setWorldTransform(was);
}

void Form1::setInverted(bool on) {
    inverted_ = on;
    for (PageBox* box : pic_) box->setGraphicsEffect(on ? new InvertLightness : nullptr);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdPrint_, cmdBack_, cmdGo_, label1_})
        w->setGraphicsEffect(on ? new InvertLightness : nullptr);
    showBackColor();
}

void Form1::showBackColor() {
    const QColor c = typeset::toQColor(backColor_);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, inverted_ ? invertLightness(c) : c);
    setPalette(pal);
    setAutoFillBackground(true);
}

}  // namespace shell
