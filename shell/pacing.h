// Paced drawing: a monotonic clock and a wait that lets window events run
// until a deadline (or until F1 has set SkipWait) without holding the CPU.
#pragma once

#include "canvas.h"

#include <QElapsedTimer>
#include <QString>
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
// draw (another page, a print) may move the pen, switch CurPic or change the
// script ratios; so after every wait the drawing takes back the pen, CurPic,
// the script ratios and any chapter variables given to keep().
//
// A newer paced drawing of the same canvas takes over: the older one's waits
// then return false, and it should stop at once, leaving the canvas alone.
// Drawings never pile up inside each other's waits: a page that is to be
// drawn again while its own drawing is the one waiting stops that drawing
// (beginAgainOnceUnwound), and whoever started it draws the page afresh once
// it has returned (beginAgainWanted).
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

    // The drawing's own time: pacingClock() less the time it stood paused.
    // Deadlines of waitUntil are in this time, so a pause delays what is
    // left of the drawing without hurrying it afterwards.
    double now() const;
    // Until now() reaches deadline, or at once while SkipWait is set.
    bool waitUntil(double deadline);
    // Until raised() holds and the drawing is not paused; it is asked before
    // the first wait and after every batch of events (a click or a key
    // raises the flag it reads).
    bool waitFor(const std::function<bool()>& raised);
    // False once a newer drawing of the same canvas has begun, or once this
    // one has been asked to begin again.
    bool current() const;

    // For whoever is about to draw a page on canvas: true when the newest
    // drawing of canvas is the one waiting innermost. That drawing is then
    // stopped (its wait returns false as soon as the events in hand have
    // run), and the page is to be drawn afresh by whoever started it. False
    // when nothing waits there, or when the drawing there lies under another
    // one's wait (a paced print): draw at once, the older drawing gives way.
    static bool beginAgainOnceUnwound(const typeset::Canvas& canvas);
    // After a page routine on canvas has returned: true, once, when its
    // drawing was stopped to begin again. The canvas has been put back as the
    // stopped drawing found it.
    static bool beginAgainWanted(const typeset::Canvas& canvas);

    // Where the drawing stands, in words for the reader (a construction's
    // "Step 3 / 5"); said with the drawing's state until it ends.
    void setNote(const QString& note);

    // The newest drawing on canvas stops where it is, or goes on: its waits
    // do not end while it is paused, and sleep without a timer. False when
    // no drawing is under way there.
    static bool togglePause(const typeset::Canvas& canvas);
    static bool paused(const typeset::Canvas& canvas);
    // Where the drawing on canvas stands: "描画中" or "一時停止", after its
    // note; empty when no drawing is under way there.
    static QString status(const typeset::Canvas& canvas);
    // Called whenever status(canvas) may have changed (the window tells
    // screen readers); one handler at a time, empty for none.
    static void setStatusHandler(std::function<void(const typeset::Canvas&)> handler);

    // How deep paced waits have nested and how far apart their frames lie on
    // the stack, since the last reset: the storms check that neither grows.
    struct Nesting {
        int depth = 0;          // waits under way now
        int deepest = 0;        // most waits under way at once
        uintptr_t lowest = 0;   // stack addresses of the waits' frames
        uintptr_t highest = 0;
        size_t spread() const { return deepest ? size_t(highest - lowest) : 0; }
    };
    static const Nesting& nesting();
    static void resetNesting();

private:
    template <class Wait>
    bool around(Wait wait);
    bool pausedNow() const;

    typeset::Canvas& canvas_;
    uint64_t id_;
    bool paused_ = false;
    double pausedAt_ = 0, pausedTotal_ = 0;  // in pacingClock() seconds
    QString note_;
    std::vector<std::function<void(bool save)>> kept_;
};

}  // namespace shell
