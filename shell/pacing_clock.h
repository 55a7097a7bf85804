// The clock paced drawings keep time by (see replay.h).
#pragma once

#include <QElapsedTimer>
#include <memory>

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

}  // namespace shell
