#include "page_reading.h"

#include "page_box.h"
#include "page_text.h"

#include <QLabel>

using namespace typeset;

namespace shell {

QStringList pageLines(PageBox& box) {
    std::vector<TextPiece> pieces;
    appendPieces(pieces, box.canvas().picture());
    // What lies on the page as widgets of its own, as far as it is in view:
    // each figure box a figure, the labels on the page one more.
    int block = 0;
    const int labels = 1;
    for (QWidget* w : box.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&box)) continue;
        const QPointF at = w->mapTo(&box, QPoint(0, 0));
        if (auto* figure = qobject_cast<PageBox*>(w)) {
            appendPieces(pieces, figure->canvas().picture(), at, labels + ++block);
        } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            pieces.push_back({QRectF(at, QSizeF(label->size())), label->text(), false, labels << 16});
        }
    }
    return readingLines(pieces);
}

QString pageText(PageBox& box) { return pageLines(box).join(QLatin1Char('\n')); }

QString pageHeading(PageBox& box) { return firstHeading(pageLines(box)); }

}  // namespace shell
