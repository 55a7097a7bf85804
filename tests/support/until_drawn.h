// The test's own waits for what now shows after the call that began it: a
// paced drawing showing on a canvas, a start-up whose construction waits
// for the reader. Each runs the event loop until it is done or a time limit
// has passed, and says whether it is done.
#pragma once

#include "form1.h"
#include "replay.h"

#include <QCoreApplication>
#include <QElapsedTimer>

template <typename Done>
bool runEventsUntil(Done done, int limitMs) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return done();
}

inline bool untilDrawn(const typeset::Canvas& canvas, int limitMs = 120000) {
    return runEventsUntil([&] { return !shell::Replay::on(canvas); }, limitMs);
}

inline bool untilStarted(const shell::Form1& w, int limitMs = 120000) {
    return runEventsUntil([&] { return w.startupDone() || w.closed(); }, limitMs) && w.startupDone();
}
