// A sound player that keeps the requests instead of playing them.
#pragma once

#include "sound.h"

#include <memory>
#include <string>
#include <vector>

using namespace typeset;

class RecordingSound : public SoundPlayer {
public:
    void play(const std::string& eventId) override { played->push_back(eventId); }
    std::shared_ptr<std::vector<std::string>> played = std::make_shared<std::vector<std::string>>();

    // Installs a recording player and returns its log.
    static std::shared_ptr<std::vector<std::string>> install() {
        auto p = std::make_unique<RecordingSound>();
        auto log = p->played;
        setSoundPlayer(std::move(p));
        return log;
    }
};
