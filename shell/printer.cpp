#include "printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdio>

namespace {

class SystemPrinter : public PagePrinter {
public:
    bool printPage(const QImage& page) override {
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
        // Fit the page image into the printable area, keeping its shape.
        const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
        const QRectF target(0, 0, area.width(), area.height());
        QSizeF size = page.deviceIndependentSize();
        size.scale(target.size(), Qt::KeepAspectRatio);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRectF(QPointF(0, 0), size), page);
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

void setPagePrinter(std::unique_ptr<PagePrinter> printer) { current() = std::move(printer); }
