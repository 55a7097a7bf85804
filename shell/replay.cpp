#include "replay.h"

#include "context.h"
#include "pacing_clock.h"
#include "state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

using namespace typeset;

namespace shell {

namespace {

std::map<const Canvas*, std::unique_ptr<Replay>>& showing() {
    static std::map<const Canvas*, std::unique_ptr<Replay>> m;
    return m;
}

// The recordings under way, innermost last (a page drawn for the reader
// inside another's recording is not expected, but costs nothing).
std::vector<std::pair<const Canvas*, Replay*>>& recordings() {
    static std::vector<std::pair<const Canvas*, Replay*>> v;
    return v;
}

std::function<void(const Canvas&)>& statusHandler() {
    static std::function<void(const Canvas&)> h;
    return h;
}

double worstLate = 0;

}  // namespace

Pace::Pace(Canvas& canvas) : replay_(Replay::recordingOn(canvas)) {
    if (replay_) replay_->join(canvas);
}

void Pace::alsoOn(Canvas& canvas) {
    if (replay_) replay_->join(canvas);
}

Moment Pace::now() {
    if (!replay_) return {};
    const int id = int(replay_->anchors_.size());
    replay_->anchors_.push_back(0);
    replay_->mark(Replay::Mark::Anchor).anchor = id;
    return {id, 0};
}

void Pace::waitUntil(Moment m) {
    if (!replay_ || m.anchor < 0) return;
    Replay::Mark& k = replay_->mark(Replay::Mark::Until);
    k.anchor = m.anchor;
    k.after = m.after;
}

void Pace::waitFor(std::function<bool()> released) {
    if (!replay_) {
        released();
        return;
    }
    replay_->mark(Replay::Mark::Step).released = std::move(released);
}

void Pace::then(std::function<void()> action) {
    if (!replay_) {
        action();
        return;
    }
    replay_->mark(Replay::Mark::Action).action = std::move(action);
}

void Pace::note(const QString& text) {
    if (replay_) replay_->mark(Replay::Mark::Note).note = text;
}

Replay::Replay(Canvas& canvas) : canvases_{&canvas} {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.callOnTimeout([this] { advance(); });
}

Replay::~Replay() = default;

Replay* Replay::record(Canvas& canvas, const std::function<void()>& draw) {
    // The drawing before this one stops where it stands; what it has not
    // shown is never shown (the new drawing covers it).
    std::unique_ptr<Replay> r(new Replay(canvas));
    if (auto it = showing().find(&canvas); it != showing().end()) {
        std::unique_ptr<Replay> old = std::move(it->second);
        showing().erase(it);
        for (Canvas* c : old->canvases_) c->dropHeld();
        if (!old->finished_) old->statusChanged();
        // A page entered again and again records as many marks each time:
        // the room is kept.
        r->marks_ = std::move(old->marks_);
        r->marks_.clear();
    }
    recordings().emplace_back(&canvas, r.get());
    struct Pop {
        ~Pop() { recordings().pop_back(); }
    } pop;
    draw();
    r->recording_ = false;
    if (!canvas.held()) return nullptr;  // nothing paced
    Replay* const p = r.get();
    showing()[&canvas] = std::move(r);
    p->statusChanged();
    p->advance();
    return p;
}

Replay* Replay::recordingOn(const Canvas& canvas) {
    for (auto it = recordings().rbegin(); it != recordings().rend(); ++it)
        if (it->first == &canvas) return it->second;
    return nullptr;
}

Replay* Replay::on(const Canvas& canvas) {
    auto it = showing().find(&canvas);
    return it == showing().end() || it->second->finished_ ? nullptr : it->second.get();
}

void Replay::forget(const Canvas& canvas) {
    auto it = showing().find(&canvas);
    if (it == showing().end()) return;
    std::unique_ptr<Replay> gone = std::move(it->second);
    showing().erase(it);
}

void Replay::finishAll() {
    std::vector<Replay*> all;
    for (auto& [c, r] : showing())
        if (!r->finished_) all.push_back(r.get());
    for (Replay* r : all) r->finish();
}

void Replay::poke() {
    std::vector<Replay*> waiting;
    for (auto& [c, r] : showing())
        if (!r->finished_ && !r->paused_) waiting.push_back(r.get());
    for (Replay* r : waiting) r->advance();
}

void Replay::join(Canvas& canvas) {
    if (std::find(canvases_.begin(), canvases_.end(), &canvas) == canvases_.end()) {
        if (canvases_.size() == std::tuple_size_v<decltype(Mark::positions)>) return;  // not paced there
        canvases_.push_back(&canvas);
    }
    canvas.hold();
}

Replay::Mark& Replay::mark(Mark::Kind kind) {
    Mark m;
    m.kind = kind;
    for (const Canvas* c : canvases_) m.positions[m.canvases++] = c->heldPosition();
    marks_.push_back(std::move(m));
    return marks_.back();
}

double Replay::now() const {
    const double t = pacingClock().seconds();
    return t - pausedTotal_ - (paused_ ? t - pausedAt_ : 0.0);
}

void Replay::showTo(const Mark& m) {
    for (size_t i = 0; i < m.canvases; ++i) canvases_[i]->showHeld(m.positions[i]);
}

void Replay::advance() {
    // An action that pokes or finishes must not run the marks inside their
    // own pass.
    if (finished_ || recording_ || advancing_) return;
    if (paused_) {
        timer_.stop();
        return;
    }
    advancing_ = true;
    const double t = now();
    while (next_ < marks_.size()) {
        Mark& m = marks_[next_];
        const bool skip = skipping_ || hurrySteps_ >= 0 || SkipWait != 0;
        switch (m.kind) {
        case Mark::Anchor: anchors_[size_t(m.anchor)] = t; break;
        case Mark::Until: {
            const double due = anchors_[size_t(m.anchor)] + m.after;
            if (skip) break;
            if (due > t) {
                showTo(m);
                const double ms = std::ceil((due - t) / pacingClock().rate() * 1000.0);
                timer_.start(int(std::min(ms, double(std::numeric_limits<int>::max()))));
                advancing_ = false;
                return;
            }
            worstLate = std::max(worstLate, t - due);
            break;
        }
        case Mark::Step:
            if (hurrySteps_ > 0) {
                --hurrySteps_;
            } else {
                if (hurrySteps_ == 0) hurrySteps_ = -1;  // hurried far enough
                // Finishing at once passes every step (asked all the same:
                // the chapter may note that it has been passed).
                if (!m.released() && !(skipping_ || SkipWait != 0)) {
                    showTo(m);
                    advancing_ = false;
                    return;
                }
            }
            ++stepsPassed_;
            break;
        case Mark::Action:
            showTo(m);
            m.action();
            break;
        case Mark::Note:
            if (m.note != note_) {
                note_ = m.note;
                statusChanged();
            }
            break;
        }
        ++next_;
    }
    advancing_ = false;
    end();
}

void Replay::end() {
    timer_.stop();
    for (Canvas* c : canvases_) c->release();
    finished_ = true;
    marks_.clear();
    marks_.shrink_to_fit();
    statusChanged();
    if (onFinished) std::exchange(onFinished, nullptr)();
}

void Replay::finish() {
    skipping_ = true;
    if (paused_) togglePause();
    else advance();
}

void Replay::hurryPast(int steps) {
    hurrySteps_ = std::max(steps, 0);
    advance();
}

void Replay::togglePause() {
    if (finished_) return;
    const double t = pacingClock().seconds();
    if (paused_) pausedTotal_ += t - pausedAt_;
    else pausedAt_ = t;
    paused_ = !paused_;
    statusChanged();
    advance();
}

QString Replay::status() const {
    if (finished_) return QString();
    const QString what = paused_ ? QStringLiteral("一時停止") : QStringLiteral("描画中");
    return note_.isEmpty() ? what : note_ + QStringLiteral("、") + what;
}

bool Replay::lookAhead(Canvas& target, const Canvas& of) const {
    const auto at = std::find(canvases_.begin(), canvases_.end(), &of);
    if (at == canvases_.end()) return false;
    const size_t i = size_t(at - canvases_.begin());
    size_t stop = next_;
    while (stop < marks_.size() && !(marks_[stop].kind == Mark::Step && stop > next_)) ++stop;
    // A canvas the drawing came to only after that mark is as it stands.
    const uint64_t upTo = stop >= marks_.size() ? of.heldPosition()
                          : i < marks_[stop].canvases ? marks_[stop].positions[i]
                                                      : of.shownPosition();
    of.drawAhead(target, upTo);
    return true;
}

void Replay::statusChanged() const {
    if (statusHandler()) statusHandler()(*canvases_.front());
}

void Replay::setStatusHandler(std::function<void(const Canvas&)> handler) {
    statusHandler() = std::move(handler);
}

double Replay::worstLateness() { return worstLate; }
void Replay::resetLateness() { worstLate = 0; }

}  // namespace shell
