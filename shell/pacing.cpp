#include "pacing.h"

#include "context.h"
#include "state.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <thread>
#include <utility>

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

namespace {

// Lets window events run until now() reaches deadline (or SkipWait is set,
// where skippable), or until stop() holds after a batch of events. One timer
// for the whole wait: it only has to wake the event loop, the loop itself
// decides from the clock whether the deadline has passed. While paused()
// holds no timer is set: the loop sleeps until an event (the key that
// resumes) wakes it.
struct Wait {
    double deadline;
    bool skippable;
    std::function<bool()> stop;
    std::function<double()> now = [] { return pacingClock().seconds(); };
    std::function<bool()> paused = [] { return false; };
};

void runEvents(const Wait& w) {
    const bool timed = std::isfinite(w.deadline);
    if (!QCoreApplication::instance()) {
        // No event loop to run (a tool drawing off screen): just sleep.
        const double remaining = w.deadline - w.now();
        if (timed && !(w.skippable && SkipWait != 0) && remaining > 0)
            std::this_thread::sleep_for(std::chrono::duration<double>(remaining));
        return;
    }
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        if ((w.skippable && SkipWait != 0) || (w.stop && w.stop())) return;
        const bool paused = w.paused();
        const double remaining = w.deadline - w.now();
        if (!paused && !(remaining > 0)) return;
        if (paused) {
            wake.stop();
        } else if (timed) {
            const double ms = std::ceil(remaining / pacingClock().rate() * 1000.0);
            wake.start(int(std::min(ms, double(std::numeric_limits<int>::max()))));
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// Per canvas, the paced drawings under way on it.
struct Drawings {
    uint64_t newest = 0;  // the newest drawing under way, 0 when none is
    PacedDrawing* drawing = nullptr;  // that drawing
    bool again = false;   // it has been stopped to begin afresh
    Canvas::State base{};  // the canvas as the unfinished drawings found it
};
std::map<const Canvas*, Drawings>& drawingsOn() {
    static std::map<const Canvas*, Drawings> m;
    return m;
}
uint64_t lastDrawingId = 0;

const PacedDrawing* innermost = nullptr;  // the drawing whose wait runs the events now
PacedDrawing::Nesting nest;

std::function<void(const Canvas&)>& statusHandler() {
    static std::function<void(const Canvas&)> h;
    return h;
}
void statusChanged(const Canvas& c) {
    if (statusHandler()) statusHandler()(c);
}

PacedDrawing* newestOn(const Canvas& canvas) {
    auto it = drawingsOn().find(&canvas);
    return it == drawingsOn().end() || it->second.newest == 0 ? nullptr : it->second.drawing;
}

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

void waitUntil(double deadline) { runEvents({deadline, true, {}}); }

PacedDrawing::PacedDrawing(Canvas& canvas) : canvas_(canvas), id_(++lastDrawingId) {
    Drawings& d = drawingsOn()[&canvas_];
    // Begun while an older drawing of this canvas lies under a print's wait:
    // that one stopped wherever it was, so start from where it started.
    if (d.newest != 0) canvas_.setState(d.base);
    else d.base = canvas_.state();
    d.newest = id_;
    d.drawing = this;
    d.again = false;  // this is the fresh drawing
    statusChanged(canvas_);
}

PacedDrawing::~PacedDrawing() {
    auto it = drawingsOn().find(&canvas_);
    if (it == drawingsOn().end() || it->second.newest != id_) return;
    if (!it->second.again) {
        drawingsOn().erase(it);
        statusChanged(canvas_);
        return;
    }
    it->second.drawing = nullptr;
    // Stopped to begin afresh: the fresh drawing starts from the canvas as
    // this one found it. The flag stays for beginAgainWanted.
    canvas_.setState(it->second.base);
    it->second.newest = 0;
}

bool PacedDrawing::current() const {
    auto it = drawingsOn().find(&canvas_);
    return it != drawingsOn().end() && it->second.newest == id_ && !it->second.again;
}

double PacedDrawing::now() const {
    const double t = pacingClock().seconds();
    return t - pausedTotal_ - (paused_ ? t - pausedAt_ : 0.0);
}

bool PacedDrawing::pausedNow() const { return paused_ && current(); }

void PacedDrawing::setNote(const QString& note) {
    if (note == note_) return;
    note_ = note;
    if (current()) statusChanged(canvas_);
}

bool PacedDrawing::togglePause(const Canvas& canvas) {
    PacedDrawing* d = newestOn(canvas);
    if (!d) return false;
    const double t = pacingClock().seconds();
    if (d->paused_) d->pausedTotal_ += t - d->pausedAt_;
    else d->pausedAt_ = t;
    d->paused_ = !d->paused_;
    statusChanged(canvas);
    return true;
}

bool PacedDrawing::paused(const Canvas& canvas) {
    const PacedDrawing* d = newestOn(canvas);
    return d && d->paused_;
}

QString PacedDrawing::status(const Canvas& canvas) {
    const PacedDrawing* d = newestOn(canvas);
    if (!d) return QString();
    const QString what = d->paused_ ? QStringLiteral("一時停止") : QStringLiteral("描画中");
    return d->note_.isEmpty() ? what : d->note_ + QStringLiteral("、") + what;
}

void PacedDrawing::setStatusHandler(std::function<void(const Canvas&)> handler) {
    statusHandler() = std::move(handler);
}

bool PacedDrawing::beginAgainOnceUnwound(const Canvas& canvas) {
    if (!innermost || &innermost->canvas_ != &canvas) return false;
    auto it = drawingsOn().find(&canvas);
    if (it == drawingsOn().end() || it->second.newest != innermost->id_) return false;
    it->second.again = true;
    return true;
}

bool PacedDrawing::beginAgainWanted(const Canvas& canvas) {
    auto it = drawingsOn().find(&canvas);
    if (it == drawingsOn().end() || it->second.newest != 0) return false;
    const bool again = it->second.again;
    drawingsOn().erase(it);
    return again;
}

const PacedDrawing::Nesting& PacedDrawing::nesting() { return nest; }

void PacedDrawing::resetNesting() {
    const int depth = nest.depth;
    nest = Nesting{};
    nest.depth = depth;
}

template <class Wait>
bool PacedDrawing::around(Wait wait) {
    const PenState pen = PenState::now();
    for (auto& k : kept_) k(true);
    const PacedDrawing* const outer = std::exchange(innermost, this);
    const auto frame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    if (++nest.depth > nest.deepest) nest.deepest = nest.depth;
    if (nest.lowest == 0 || frame < nest.lowest) nest.lowest = frame;
    if (frame > nest.highest) nest.highest = frame;
    wait();
    --nest.depth;
    innermost = outer;
    pen.restore();
    for (auto& k : kept_) k(false);
    return current();
}

bool PacedDrawing::waitUntil(double deadline) {
    if (SkipWait != 0) return current();
    return around([this, deadline] {
        runEvents({deadline, true, [this] { return !current(); }, [this] { return now(); },
                   [this] { return pausedNow(); }});
    });
}

bool PacedDrawing::waitFor(const std::function<bool()>& raised) {
    if (!pausedNow() && raised()) return current();
    return around([this, &raised] {
        if (!QCoreApplication::instance()) return;  // nothing could ever raise it
        runEvents({std::numeric_limits<double>::infinity(), false,
                   [this, &raised] { return !current() || (!pausedNow() && raised()); }});
    });
}

}  // namespace shell
