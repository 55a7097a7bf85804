// The markup printers and MarkupWidth on the recording canvas take any text:
// they return with the canvas's font as they found it, a finite position,
// and only drawing operations with finite coordinates.
#include "fuzz_support.h"
#include "markup.h"

#include <cmath>

using namespace typeset;

namespace {

struct FontProps {
    QString name;
    float size;
    bool bold, italic;
    explicit FontProps(const Canvas& c)
        : name(c.FontName), size(c.FontSize), bold(c.FontBold), italic(c.FontItalic) {}
    bool operator==(const FontProps&) const = default;
};

}  // namespace

// Input: one byte choosing the printer, the face's weight and slant, the
// Bookman test and the MarkupWidth variant; one byte for the size; the rest
// is the markup text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    fuzz::installSilentSound();
    const uint8_t mode = data[0];
    const float fontSize = 4.0f + float(data[1] % 64);
    const QString text = fuzz::text(data + 2, size - 2);

    RecordingCanvas canvas;
    fuzz::freshContext(canvas, (mode & 0x10) ? 1 : -1);
    Variant.plainMarkupWidth = (mode & 0x20) != 0;
    canvas.FontSize = fontSize;
    canvas.FontBold = (mode & 0x04) != 0;
    canvas.FontItalic = (mode & 0x08) != 0;
    if (mode & 0x40) canvas.FontName = QStringLiteral("Times New Roman");
    const FontProps before(canvas);

    float x = 50;
    switch (mode & 0x03) {
    case 0: dsp_sup(canvas, x, 100, text); break;
    case 1: dsp_sub(canvas, x, 100, text); break;
    case 2: dsp_limit(canvas, x, 100, text); break;
    case 3: {
        const int32_t w = MarkupWidth(text);
        fuzz::check(w >= 0, "negative MarkupWidth");
        break;
    }
    }
    fuzz::check(std::isfinite(x) && x >= 50, "the printer left x non-finite or before its start");
    fuzz::check(FontProps(canvas) == before, "the printer did not restore the canvas font");
    for (const DrawOp& op : canvas.ops)
        fuzz::check(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.font.size),
                    "a drawing operation with a non-finite position or size");
    return 0;
}
