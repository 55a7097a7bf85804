#include "color.h"

#include <QColor>

namespace typeset {

Color resolveColor(Color c) {
    // System colour references (high bit set): the only one the pages use is
    // the button-text colour, which is black on every desktop theme we target.
    if (c & 0x80000000u) return RGB(0, 0, 0);
    return c & 0xFFFFFFu;
}

QColor toQColor(Color c) {
    const Color v = resolveColor(c);
    return QColor(int(v & 255), int((v >> 8) & 255), int((v >> 16) & 255));
}

}  // namespace typeset
