#pragma once

#include "AudioService.h"
#include "PlayerSounds.h"

#include <chrono>

namespace tonovka {

// The audio service of the program in a browser page. The page has one thread, and the page
// itself decodes the sounds and loads the synthesizer in the background, so the commands are
// carried out as they are given. The sound files are read from the program's own file system,
// where the page put what its server gave it.
class WebAudioService final : public AudioService {
public:
    WebAudioService();

    int addPlayer() override;
    void open(int player, AudioDevice device, const QString& fileName) override;
    void play(int player) override;
    void close(int player) override;
    bool isSounding(int player) const override;

    // Nothing keeps the first window from the processor here; a page's sounds start once the
    // player's first click or key lets them. Once the first window shows, the page loads what the
    // tune needs, while the network is surely there.
    void holdCommands(std::chrono::milliseconds) {}
    void releaseCommands();

private:
    PlayerSounds m_sounds;
    int m_players = 0;
};

} // namespace tonovka
