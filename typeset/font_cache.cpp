#include "font_cache.h"

#include <QHash>
#include <QImage>
#include <memory>

namespace typeset {

QPaintDevice* measureDevice() {
    static QImage img = [] {
        QImage i(1, 1, QImage::Format_ARGB32_Premultiplied);
        i.setDotsPerMeterX(3780);
        i.setDotsPerMeterY(3780);
        return i;
    }();
    return &img;
}

namespace {

struct Key {
    QString face;
    double points;
    bool bold, italic;
    int pixelHeight;
    bool operator==(const Key& o) const {
        return face == o.face && points == o.points && bold == o.bold && italic == o.italic &&
               pixelHeight == o.pixelHeight;
    }
};

size_t qHash(const Key& k, size_t seed = 0) {
    return qHashMulti(seed, k.face, k.points, k.bold, k.italic, k.pixelHeight);
}

}  // namespace

const ResolvedFont& resolveFont(const QString& face, double points, bool bold, bool italic,
                                int pixelHeight) {
    static QHash<Key, std::shared_ptr<ResolvedFont>> cache;
    const Key key{face, points, bold, italic, pixelHeight};
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return **it;

    FaceInfo info = faceInfo(face);
    QFont f(info.family);
    if (pixelHeight > 0) f.setPixelSize(pixelHeight);
    else f.setPointSizeF(points > 0 ? points : 1.0);
    f.setBold(bold);
    f.setItalic(italic);
    f.setKerning(false);
    // Symbol pieces must come from the symbol face itself, never from a
    // fallback family that happens to have a glyph for the same code point.
    if (info.encoding == FaceInfo::SymbolBytes) f.setStyleStrategy(QFont::NoFontMerging);
    QFontMetricsF fm(f, measureDevice());
    const double px = pixelHeight > 0 ? pixelHeight : points * 96.0 / 72.0;
    const double ascent = info.ascentEm > 0 ? info.ascentEm * px : fm.ascent();
    const double height = info.heightEm > 0 ? info.heightEm * px : fm.height();
    auto rf = std::make_shared<ResolvedFont>(ResolvedFont{f, fm, info, ascent, height, px, {}});
    cache.insert(key, rf);
    return *rf;
}

double ResolvedFont::advance(const QString& s) const {
    if (face.doubleByteCells) {
        double w = 0;
        for (QChar ch : s) w += cell(ch);
        return w;
    }
    auto it = widths.constFind(s);
    if (it != widths.constEnd()) return *it;
    if (widths.size() > 4096) widths.clear();  // a bound, never reached by a page
    const double w = metrics.horizontalAdvance(s);
    widths.insert(s, w);
    return w;
}

}  // namespace typeset
