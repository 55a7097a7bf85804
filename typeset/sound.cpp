#include "sound.h"

#include <canberra.h>

namespace {

class CanberraPlayer : public SoundPlayer {
public:
    ~CanberraPlayer() override {
        if (ctx_) ca_context_destroy(ctx_);
    }
    void play(const std::string& eventId) override {
        if (!ctx_ && !failed_) failed_ = ca_context_create(&ctx_) != CA_SUCCESS;
        if (!ctx_) return;
        // ca_context_play is asynchronous; a missing sound or server is not
        // an error worth showing to a reader.
        ca_context_play(ctx_, 0, CA_PROP_EVENT_ID, eventId.c_str(), nullptr);
    }

private:
    ca_context* ctx_ = nullptr;
    bool failed_ = false;
};

std::unique_ptr<SoundPlayer>& current() {
    static std::unique_ptr<SoundPlayer> p = std::make_unique<CanberraPlayer>();
    return p;
}

}  // namespace

SoundPlayer& soundPlayer() { return *current(); }

void setSoundPlayer(std::unique_ptr<SoundPlayer> player) { current() = std::move(player); }

void PlayDing() { soundPlayer().play("bell"); }

void PlayRingout() { soundPlayer().play("complete"); }
