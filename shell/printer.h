// The printer seam: sends one finished page to the default printer.
#pragma once

#include <QImage>
#include <QRectF>
#include <memory>

class QPainter;

namespace typeset {
class Picture;
}

namespace shell {


// A page for paper: the print canvas's 96-dpi image and, when there is one,
// its picture (text that stays text at the printer's resolution). A bare
// image converts to one.
struct PrintedPage {
    PrintedPage(QImage page, std::shared_ptr<const typeset::Picture> vectors = nullptr)
        : image(std::move(page)), picture(std::move(vectors)) {}
    QImage image;
    std::shared_ptr<const typeset::Picture> picture;

    // The page's size in canvas pixels (1/96 inch).
    QSizeF size() const;
    // Draws the page as large as fits into area (painter coordinates),
    // keeping its shape, from the top-left: as vectors when it has them.
    void paint(QPainter& p, const QRectF& area) const;
};

class PagePrinter {
public:
    virtual ~PagePrinter() = default;
    // Prints the page as one sheet, scaled to fit the paper, with no dialog.
    // Failures (no printer, a printer error) are reported on standard error
    // and leave the program running; the result says whether a page went out.
    virtual bool printPage(const PrintedPage& page) = 0;
};

// Keeps the last page it is sent instead of printing it (the page renderer,
// benchmarks, tests).
class KeepingPrinter : public PagePrinter {
public:
    bool printPage(const PrintedPage& page) override {
        last = page;
        ++pages;
        return true;
    }
    PrintedPage last{QImage()};
    int pages = 0;
};

// The printer in use: the system's default printer unless a test or tool
// installed another. Installing one gives back the one it replaces (null
// while none was made yet).
PagePrinter& pagePrinter();
std::unique_ptr<PagePrinter> setPagePrinter(std::unique_ptr<PagePrinter> printer);

// The real one, through the platform's print service.
std::unique_ptr<PagePrinter> makeSystemPrinter();

}  // namespace shell
