// A pacing clock that runs a given number of times faster than real time:
// paced drawings' waits are shortened, not skipped.
#pragma once

#include "pacing_clock.h"

#include <QElapsedTimer>

class FastClock : public shell::MonotonicClock {
public:
    explicit FastClock(double speed) : speed_(speed) { timer_.start(); }
    double seconds() override { return double(timer_.nsecsElapsed()) * 1e-9 * speed_; }
    double rate() const override { return speed_; }

private:
    QElapsedTimer timer_;
    double speed_;
};

// So fast (a thousand times real time) that every paced wait is over almost
// at once, while a construction's steps still wait for their clicks.
class RushingClock : public FastClock {
public:
    RushingClock() : FastClock(1000) {}
};
