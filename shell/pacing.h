// Paced drawing: a monotonic clock and a wait that lets window events run
// until a deadline (or until F1 has set SkipWait) without holding the CPU.
#pragma once

#include "canvas.h"

#include <QElapsedTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace shell {

class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    // Seconds since an arbitrary fixed start; never goes back.
    virtual double seconds() = 0;
    // Clock seconds per real second: a wait's wake-up timer is set in real
    // time, so a clock that runs fast must say how fast.
    virtual double rate() const { return 1.0; }
};

// The clock of the running program (QElapsedTimer: monotonic, unaffected by
// changes of the time of day).
class SteadyClock : public MonotonicClock {
public:
    SteadyClock() { timer_.start(); }
    double seconds() override { return double(timer_.nsecsElapsed()) * 1e-9; }

private:
    QElapsedTimer timer_;
};

// A clock for tests: time stands still until it is set or advanced.
class ManualClock : public MonotonicClock {
public:
    double now = 0;
    double seconds() override { return now; }
    void advance(double s) { now += s; }
};

// The clock paced drawings read. Installing nullptr brings back the real one.
MonotonicClock& pacingClock();
void setPacingClock(std::unique_ptr<MonotonicClock> clock);

// Lets window events run until pacingClock() reaches deadline or SkipWait is
// nonzero. Between events the thread sleeps in the event loop; a timer wakes
// it at the deadline. Returns at once when either holds already.
void waitUntil(double deadline);

// One paced drawing on a canvas: a traced graph, a construction that waits
// for the reader. Its waits let window events run, and whatever those events
// draw (a page change, a print, the same page drawn afresh) may move the pen,
// switch CurPic or change the canvas's properties. So each wait hands the
// canvas back as it was when this drawing began, and afterwards restores the
// pen, CurPic, the script ratios, the canvas's properties and any chapter
// variables given to keep().
//
// A newer paced drawing of the same canvas takes over: the older one's waits
// then return false, and it should stop at once, leaving the canvas alone.
class PacedDrawing {
public:
    explicit PacedDrawing(typeset::Canvas& canvas);
    ~PacedDrawing();
    PacedDrawing(const PacedDrawing&) = delete;
    PacedDrawing& operator=(const PacedDrawing&) = delete;

    // Also restore v after every wait (chapter state such as a graph's
    // geometry). v must outlive this drawing.
    template <class T>
    void keep(T& v) {
        kept_.push_back([&v, saved = std::make_shared<T>()](bool save) {
            if (save) *saved = v;
            else v = *saved;
        });
    }

    // Until pacingClock() reaches deadline, or at once while SkipWait is set.
    bool waitUntil(double deadline);
    // Until raised() holds; it is asked before the first wait and after every
    // batch of events (a click or a key raises the flag it reads).
    bool waitFor(const std::function<bool()>& raised);
    // False once a newer drawing of the same canvas has begun.
    bool current() const;

private:
    template <class Wait>
    bool around(Wait wait);

    typeset::Canvas& canvas_;
    uint64_t id_;
    typeset::Canvas::State entryState_;
    std::vector<std::function<void(bool save)>> kept_;
};

}  // namespace shell
