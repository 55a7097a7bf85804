// A printer that keeps a copy of every page it is sent.
#pragma once

#include "printer.h"

#include <QImage>
#include <vector>

using namespace typeset;
using namespace shell;

class RecordingPrinter : public PagePrinter {
public:
    explicit RecordingPrinter(std::vector<QImage>& pages) : pages_(pages) {}
    bool printPage(const PrintedPage& page) override {
        pages_.push_back(page.image.copy());
        return true;
    }

private:
    std::vector<QImage>& pages_;
};
