// Paced drawing: a monotonic clock and a wait that lets window events run
// until a deadline (or until F1 has set SkipWait) without holding the CPU.
#pragma once

#include <QElapsedTimer>
#include <memory>

class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    // Seconds since an arbitrary fixed start; never goes back.
    virtual double seconds() = 0;
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
