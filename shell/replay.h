// Paced drawing as a timed replay. A page routine drawn for the reader runs
// to its end at once; where the reader's time enters (wait so long, wait for
// a step's click, play a sound or show a control when the drawing gets
// there) it leaves marks, and the canvases it draws on are held (see
// Canvas::hold). A timer then shows the recording mark by mark. Nothing
// waits inside a page routine, so no drawing ever runs inside another's
// wait, and a drawing can stand still, be shown finished at once, or be
// looked ahead of.
#pragma once

#include "canvas.h"

#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace shell {

// A time in a paced drawing: `after` seconds after its showing reached a
// point of the recording (Pace::now).
struct Moment {
    int anchor = -1;
    double after = 0;
    Moment operator+(double s) const { return {anchor, after + s}; }
};

class Replay;

// What a page routine paces with, made on the canvas it draws on. When the
// shell records the page for the reader its waits and actions become marks;
// anywhere else (paper, a PDF, a tool) the drawing goes straight through:
// waits take no time and actions run at once.
class Pace {
public:
    explicit Pace(typeset::Canvas& canvas);
    bool recorded() const { return replay_ != nullptr; }
    // Another canvas the same drawing draws on (a figure box of the page).
    void alsoOn(typeset::Canvas& canvas);
    // The moment the showing gets here.
    Moment now();
    // Shows nothing drawn after this before moment m.
    void waitUntil(Moment m);
    // Shows nothing drawn after this until released() holds; it is asked
    // when the showing gets here and whenever Replay::poke says something
    // may have changed. Unrecorded it is asked once.
    void waitFor(std::function<bool()> released);
    // Runs when the showing gets here (a sound, a control shown).
    void then(std::function<void()> action);
    // Where the drawing stands from here on, for the reader ("Step 3 / 5").
    void note(const QString& text);

private:
    Replay* replay_;
};

class Replay {
public:
    ~Replay();
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    // Draws a page for the reader on canvas. What draw paces is recorded,
    // and its showing begins at once (finished at once while SkipWait is
    // set). The replay showing on canvas before ends where it stands. Null
    // when draw paced nothing.
    static Replay* record(typeset::Canvas& canvas, const std::function<void()>& draw);
    // The replay showing on canvas, null when none is under way there.
    static Replay* on(const typeset::Canvas& canvas);
    // The canvas is going away: its replay ends without a word.
    static void forget(const typeset::Canvas& canvas);
    // Every replay shows itself finished (F1).
    static void finishAll();
    // Something a waitFor asks may have changed (a step's click).
    static void poke();

    bool finished() const { return finished_; }
    // The steps the showing has passed.
    int stepsPassed() const { return stepsPassed_; }
    // Shows at once everything up to the step after the next `steps` ones
    // (passing those whether released or not), then goes on in time there.
    void hurryPast(int steps);
    bool paused() const { return paused_; }
    void togglePause();
    // Shows the rest at once, steps passed and actions run in order.
    void finish();
    // "描画中" or "一時停止", after the note; empty once finished.
    QString status() const;
    // The status of the replay on canvas; empty when none is under way.
    static QString statusOn(const typeset::Canvas& canvas) {
        const Replay* r = on(canvas);
        return r ? r->status() : QString();
    }
    // Called once, when the showing has reached the end.
    std::function<void()> onFinished;
    // The canvas the page was recorded on.
    typeset::Canvas& canvas() const { return *canvases_.front(); }

    // Draws on target what the canvas will show when the replay next waits
    // for the reader (a step), or when it ends: the picture shown so far and
    // the held rest up to there. `of` is the page's canvas or one of its
    // figure boxes; false for a canvas the replay does not draw on.
    bool lookAhead(typeset::Canvas& target, const typeset::Canvas& of) const;
    void lookAhead(typeset::Canvas& target) const { lookAhead(target, canvas()); }

    // Called whenever a replay's status may have changed (the window tells
    // screen readers); one handler at a time, empty for none.
    static void setStatusHandler(std::function<void(const typeset::Canvas&)> handler);

    // How late, at worst, the showing reached a timed mark since the last
    // reset, in seconds: the event loop's stalls as the reader sees them.
    static double worstLateness();
    static void resetLateness();

private:
    friend class Pace;
    explicit Replay(typeset::Canvas& canvas);
    struct Mark {
        enum Kind : uint8_t { Anchor, Until, Step, Action, Note } kind = Anchor;
        // Of each canvas, as far as drawn here (a page and its figure boxes).
        std::array<uint64_t, 4> positions{};
        uint8_t canvases = 0;
        int anchor = -1;
        double after = 0;
        std::function<bool()> released;
        std::function<void()> action;
        QString note;
    };
    static Replay* recordingOn(const typeset::Canvas& canvas);
    void join(typeset::Canvas& canvas);
    Mark& mark(Mark::Kind kind);
    double now() const;
    // Shows what the recording holds up to the next mark that is not due
    // and sets the timer for it; the end once every mark is passed.
    void advance();
    void showTo(const Mark& m);
    void end();
    void statusChanged() const;

    std::vector<typeset::Canvas*> canvases_;
    std::vector<Mark> marks_;
    std::vector<double> anchors_;  // when the showing passed each anchor
    size_t next_ = 0;
    bool recording_ = true, finished_ = false, paused_ = false, skipping_ = false;
    bool advancing_ = false;
    int stepsPassed_ = 0;
    int hurrySteps_ = -1;  // steps still to pass at once; -1 when not hurrying
    double pausedAt_ = 0, pausedTotal_ = 0;  // in pacingClock() seconds
    QString note_;
    QTimer timer_;
};

}  // namespace shell
