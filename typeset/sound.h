// Event sounds through the desktop's asynchronous sound player. A request
// returns at once; where no sound server runs nothing is heard.
#pragma once

#include <memory>
#include <string>

namespace typeset {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Asks for the named freedesktop event sound; never blocks, never throws.
    virtual void play(const std::string& eventId) = 0;
};

// The desktop's player. When sounds cannot be played (no sound device, no
// server) it says so once on standard error and is quiet afterwards.
std::unique_ptr<SoundPlayer> makeDesktopSoundPlayer();
// A player that plays nothing (sounds turned off).
std::unique_ptr<SoundPlayer> makeSilentSoundPlayer();

// The player in use (the desktop's by default). Tests install their own.
SoundPlayer& soundPlayer();
void setSoundPlayer(std::unique_ptr<SoundPlayer> player);

}  // namespace typeset

// The ding of an unknown entity and the ring-out at the end of a traced graph.
void PlayDing();
void PlayRingout();
