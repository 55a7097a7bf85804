// The entity decoder and printer take any text: every byte they produce is a
// printable ASCII code or the code of a known entity, and never more bytes
// than the printer's buffer holds.
#include "entities.h"
#include "fuzz_support.h"

#include <vector>

using namespace typeset;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installSilentSound();
    if (EntityName[246].isEmpty()) InitEntities();
    const QString input = fuzz::text(data, size);

    std::vector<uint8_t> bytes;
    int32_t count = -1;
    DecodeEntities(bytes, count, input);
    fuzz::check(count >= 0 && size_t(count) <= bytes.size(), "count outside the buffer");
    fuzz::check(count <= 2 * input.size(), "more bytes than dsp_entity's buffer holds");
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[size_t(i)];
        const bool plain = b >= 32 && b <= 127;
        fuzz::check(plain || !EntityName[b].isEmpty(), "a byte that is neither text nor an entity");
    }

    RecordingCanvas canvas;
    fuzz::freshContext(canvas, -1);
    int32_t x = 10, y = 20;
    dsp_entity(canvas, input, x, y);
    fuzz::check(x >= 10 && y == 20, "dsp_entity moved the pen backwards or down");
    return 0;
}
