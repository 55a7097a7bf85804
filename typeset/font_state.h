// The font properties and text colour of a canvas, kept on entry to a
// printer and put back when it returns (or when a drawing call throws), so
// that printers nest freely.
#pragma once

#include "canvas.h"

namespace typeset {

class FontState {
public:
    explicit FontState(Canvas& c)
        : c_(c), name_(c.FontName), size_(c.FontSize), bold_(c.FontBold),
          italic_(c.FontItalic), fore_(c.ForeColor) {}
    ~FontState() {
        c_.FontName = name_;
        c_.FontSize = size_;
        c_.FontBold = bold_;
        c_.FontItalic = italic_;
        c_.ForeColor = fore_;
    }
    FontState(const FontState&) = delete;
    FontState& operator=(const FontState&) = delete;

    // The font size on entry.
    float size() const { return size_; }

private:
    Canvas& c_;
    const QString name_;
    const float size_;
    const bool bold_, italic_;
    const Color fore_;
};

}  // namespace typeset
