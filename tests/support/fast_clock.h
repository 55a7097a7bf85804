// A pacing clock that runs a given number of times faster than real time:
// paced drawings' waits are shortened, not skipped.
#pragma once

#include "pacing.h"

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
