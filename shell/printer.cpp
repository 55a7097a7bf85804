#include "printer.h"

#include "picture.h"
#include "backends/painter_canvas.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdio>
#include <utility>

using namespace typeset;

namespace shell {

QSizeF PrintedPage::size() const {
    if (picture) return QSizeF(picture->size());
    return image.deviceIndependentSize();
}

void PrintedPage::paint(QPainter& p, const QRectF& area) const {
    const QSizeF page = size();
    if (page.isEmpty()) return;
    QSizeF fitted = page;
    fitted.scale(area.size(), Qt::KeepAspectRatio);
    p.save();
    p.translate(area.topLeft());
    p.setClipRect(QRectF(QPointF(0, 0), fitted));
    // One scale from canvas pixels to the device: every position on paper
    // is the canvas's.
    p.scale(fitted.width() / page.width(), fitted.height() / page.height());
    if (picture) {
        PainterCanvas paper(p, picture->size().width(), picture->size().height());
        paper.replay(*picture);
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRectF(QPointF(0, 0), page), image);
    }
    p.restore();
}

namespace {

class SystemPrinter : public PagePrinter {
public:
    bool printPage(const PrintedPage& page) override {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            std::fprintf(stderr, "印刷: no default printer is configured; nothing was printed\n");
            return false;
        }
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("page"));
        printer.setFullPage(false);
        QPainter p;
        if (!p.begin(&printer)) {
            std::fprintf(stderr, "印刷: the printer %s could not be opened; nothing was printed\n",
                         qPrintable(info.printerName()));
            return false;
        }
        // Fit the page into the printable area, keeping its shape.
        const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
        page.paint(p, QRectF(0, 0, area.width(), area.height()));
        const bool ok = p.end();
        if (!ok || printer.printerState() == QPrinter::Error) {
            std::fprintf(stderr, "印刷: the printer %s reported an error\n",
                         qPrintable(info.printerName()));
            return false;
        }
        return true;
    }
};

std::unique_ptr<PagePrinter>& current() {
    static std::unique_ptr<PagePrinter> p;
    return p;
}

}  // namespace

std::unique_ptr<PagePrinter> makeSystemPrinter() { return std::make_unique<SystemPrinter>(); }

PagePrinter& pagePrinter() {
    if (!current()) current() = makeSystemPrinter();
    return *current();
}

std::unique_ptr<PagePrinter> setPagePrinter(std::unique_ptr<PagePrinter> printer) {
    return std::exchange(current(), std::move(printer));
}

}  // namespace shell
