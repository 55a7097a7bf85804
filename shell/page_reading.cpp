#include "page_reading.h"

#include "page_box.h"
#include "linear_text.h"
#include "page_text.h"

#include <QLabel>
#include <map>

using namespace typeset;

namespace shell {

QStringList pageLines(PageBox& box, bool spoken) {
    std::vector<TextPiece> pieces;
    appendPieces(pieces, box.canvas().picture(), QPointF(), 0, spoken);
    // What lies on the page as widgets of its own, as far as it is in view:
    // each figure box a figure, the labels on the page one more.
    int block = 0;
    const int labels = 1;
    for (QWidget* w : box.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&box)) continue;
        const QPointF at = w->mapTo(&box, QPoint(0, 0));
        if (auto* figure = qobject_cast<PageBox*>(w)) {
            appendPieces(pieces, figure->canvas().picture(), at, labels + ++block, spoken);
        } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            pieces.push_back({QRectF(at, QSizeF(label->size())), label->text(), false, labels << 16});
        }
    }
    QStringList lines = readingLines(pieces);
    if (spoken)
        for (QString& line : lines) line = words(line);
    return lines;
}

QString pageText(PageBox& box, bool spoken) { return pageLines(box, spoken).join(QLatin1Char('\n')); }

QString pageHeading(PageBox& box) {
    const QStringList lines = pageLines(box);
    if (QString heading = sectionHeading(lines); !heading.isEmpty()) return heading;
    // A page that goes on with the section of a page before it is named by
    // that section, as its outline entry is.
    if (const QWidget* parent = box.parentWidget(); parent && box.page > 0) {
        std::map<int, PageBox*> before;
        for (QObject* o : parent->children())
            if (auto* page = qobject_cast<PageBox*>(o); page && page->page >= 0 && page->page < box.page)
                before[page->page] = page;
        for (auto p = before.rbegin(); p != before.rend(); ++p)
            if (const QString heading = sectionHeading(pageLines(*p->second)); !heading.isEmpty())
                return heading + QStringLiteral(" (続き)");
    }
    return firstHeading(lines);
}

}  // namespace shell
