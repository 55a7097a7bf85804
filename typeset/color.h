// Canvas colours: 24-bit RGB values with red in the lowest byte, as the pages
// write them, and what a backend paints for one.
#pragma once

#include <cstdint>

class QColor;

using Color = uint32_t;

constexpr Color RGB(int r, int g, int b) {
    return Color(r & 255) | (Color(g & 255) << 8) | (Color(b & 255) << 16);
}

// The system's button-text colour reference; backends resolve it to black.
constexpr Color colSystemText = 0x80000012u;

namespace typeset {

// The colour a backend paints for a canvas colour value.
Color resolveColor(Color c);
// The same as a QColor.
QColor toQColor(Color c);

}  // namespace typeset
