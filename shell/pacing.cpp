#include "pacing.h"

#include "state.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

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
        const double ms = std::ceil(remaining * 1000.0);
        wake.start(int(std::min(ms, double(std::numeric_limits<int>::max()))));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
