// What the fuzz targets share: a quiet sound player, a fresh drawing context
// on a recording canvas, and a way to stop on a broken promise with the
// input still reported by libFuzzer.
#pragma once

#include "context.h"
#include "backends/recording_canvas.h"
#include "sound.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace typeset;

namespace fuzz {

class SilentSound : public SoundPlayer {
public:
    void play(const std::string&) override {}
};

// Takes what is left of the input as UTF-8 text. Malformed sequences become
// replacement characters, which the printers must take as well.
inline QString text(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// abort() lets libFuzzer save the input that broke the promise.
[[noreturn]] inline void broken(const char* what) {
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

inline void check(bool ok, const char* what) {
    if (!ok) broken(what);
}

// The context as the shell leaves it on a 13-point page.
inline void freshContext(RecordingCanvas& canvas, int32_t bookman) {
    resetContext();
    InitColors();
    Pi = 3.141592653589793;
    BookmanOK = bookman;
    canvas.FontName = QStringLiteral("メイリオ");
    canvas.FontSize = 13.0f;
    CurPic = &canvas;
    UnitW = float(canvas.TextWidth(QStringLiteral("A")));
    UnitH = float(canvas.TextHeight(QStringLiteral("A")));
    PenX = 100;
    PenY = 200;
}

inline void installSilentSound() {
    static const bool once = [] {
        setSoundPlayer(std::make_unique<SilentSound>());
        return true;
    }();
    (void)once;
}

}  // namespace fuzz
