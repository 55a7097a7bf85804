#include "sound.h"

#include <alsa/asoundlib.h>
#include <canberra.h>
#include <cstdio>

namespace typeset {

namespace {

// The sound library's ALSA backend writes several lines of ALSA's own errors
// for every sound it cannot play (no card, no default device); over a long
// session that is thousands of lines. The player says once what went wrong
// instead.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class CanberraPlayer : public SoundPlayer {
public:
    CanberraPlayer() { snd_lib_error_set_handler(quietAlsa); }
    ~CanberraPlayer() override {
        if (ctx_) ca_context_destroy(ctx_);
    }
    void play(const std::string& eventId) override {
        if (!ctx_ && !failed_) {
            const int r = ca_context_create(&ctx_);
            if (r != CA_SUCCESS) {
                ctx_ = nullptr;
                failed_ = true;
                reportOnce(r);
            }
        }
        if (!ctx_) return;
        // Asynchronous: the call returns once the sound is under way. It is
        // still tried after a failure, in case a sound server comes up.
        const int r = ca_context_play(ctx_, 0, CA_PROP_EVENT_ID, eventId.c_str(), nullptr);
        if (r != CA_SUCCESS) reportOnce(r);
    }

private:
    void reportOnce(int error) {
        if (reported_) return;
        reported_ = true;
        std::fprintf(stderr, "sound: event sounds cannot be played (%s); going on without them\n",
                     ca_strerror(error));
    }

    ca_context* ctx_ = nullptr;
    bool failed_ = false;
    bool reported_ = false;
};

std::unique_ptr<SoundPlayer>& current() {
    static std::unique_ptr<SoundPlayer> p = makeDesktopSoundPlayer();
    return p;
}

}  // namespace

std::unique_ptr<SoundPlayer> makeDesktopSoundPlayer() { return std::make_unique<CanberraPlayer>(); }

std::unique_ptr<SoundPlayer> makeSilentSoundPlayer() {
    struct Silent : SoundPlayer {
        void play(const std::string&) override {}
    };
    return std::make_unique<Silent>();
}

SoundPlayer& soundPlayer() { return *current(); }

void setSoundPlayer(std::unique_ptr<SoundPlayer> player) { current() = std::move(player); }

}  // namespace typeset

using typeset::soundPlayer;

void PlayDing() { soundPlayer().play("bell"); }

void PlayRingout() { soundPlayer().play("complete"); }
