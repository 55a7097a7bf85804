#include "pacing_clock.h"

#include <utility>

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

}  // namespace shell
