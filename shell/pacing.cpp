#include "pacing.h"

#include "context.h"
#include "state.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <thread>

using namespace typeset;

namespace shell {

namespace {
std::unique_ptr<MonotonicClock>& current() {
    static std::unique_ptr<MonotonicClock> c = std::make_unique<SteadyClock>();
    return c;
}
}  // namespace

MonotonicClock& pacingClock() { return *current(); }

void setPacingClock(std::unique_ptr<MonotonicClock> clock) {
    current() = clock ? std::move(clock) : std::make_unique<SteadyClock>();
}

void waitUntil(double deadline) {
    // One timer for the whole wait: it only has to wake the event loop, the
    // loop itself decides from the clock whether the deadline has passed.
    if (!QCoreApplication::instance()) {
        // No event loop to run (a tool drawing off screen): just sleep.
        const double remaining = deadline - pacingClock().seconds();
        if (SkipWait == 0 && remaining > 0)
            std::this_thread::sleep_for(std::chrono::duration<double>(remaining));
        return;
    }
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        if (SkipWait != 0) return;
        const double remaining = deadline - pacingClock().seconds();
        if (!(remaining > 0)) return;
        const double ms = std::ceil(remaining / pacingClock().rate() * 1000.0);
        wake.start(int(std::min(ms, double(std::numeric_limits<int>::max()))));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

namespace {
// Per canvas, the newest paced drawing on it.
std::map<const Canvas*, uint64_t>& newestDrawing() {
    static std::map<const Canvas*, uint64_t> m;
    return m;
}
uint64_t lastDrawingId = 0;

// The drawing context a wait must give back: the current canvas, the pen and
// the script ratios (a page may change SupSize for good before it waits).
struct PenState {
    Canvas* pic;
    float x, y;
    float supRaise, supSize, subDrop, subSize;
    static PenState now() { return {CurPic, PenX, PenY, SupRaise, SupSize, SubDrop, SubSize}; }
    void restore() const {
        CurPic = pic;
        PenX = x;
        PenY = y;
        SupRaise = supRaise;
        SupSize = supSize;
        SubDrop = subDrop;
        SubSize = subSize;
    }
};
}  // namespace

PacedDrawing::PacedDrawing(Canvas& canvas)
    : canvas_(canvas), id_(++lastDrawingId), entryState_(canvas.state()) {
    newestDrawing()[&canvas_] = id_;
}

PacedDrawing::~PacedDrawing() {
    auto it = newestDrawing().find(&canvas_);
    if (it != newestDrawing().end() && it->second == id_) newestDrawing().erase(it);
}

bool PacedDrawing::current() const {
    auto it = newestDrawing().find(&canvas_);
    return it != newestDrawing().end() && it->second == id_;
}

template <class Wait>
bool PacedDrawing::around(Wait wait) {
    const PenState pen = PenState::now();
    const Canvas::State drawing = canvas_.state();
    for (auto& k : kept_) k(true);
    canvas_.setState(entryState_);
    wait();
    pen.restore();
    for (auto& k : kept_) k(false);
    if (!current()) return false;  // the canvas belongs to the newer drawing now
    canvas_.setState(drawing);
    return true;
}

bool PacedDrawing::waitUntil(double deadline) {
    if (SkipWait != 0) return current();
    return around([deadline] { shell::waitUntil(deadline); });
}

bool PacedDrawing::waitFor(const std::function<bool()>& raised) {
    if (raised()) return current();
    return around([&raised] {
        if (!QCoreApplication::instance()) return;  // nothing could ever raise it
        while (!raised()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    });
}

}  // namespace shell
