// The printer seam: sends one finished page image to the default printer.
#pragma once

#include <QImage>
#include <memory>

class PagePrinter {
public:
    virtual ~PagePrinter() = default;
    // Prints the image as one page, scaled to fit the paper, with no dialog.
    // Failures (no printer, a printer error) are reported on standard error
    // and leave the program running; the result says whether a page went out.
    virtual bool printPage(const QImage& page) = 0;
};

// The printer in use: the system's default printer unless a test or tool
// installed another.
PagePrinter& pagePrinter();
void setPagePrinter(std::unique_ptr<PagePrinter> printer);

// The real one, through the platform's print service.
std::unique_ptr<PagePrinter> makeSystemPrinter();
