#pragma once

#include "AudioService.h"
#include "PlayerSounds.h"

#include <chrono>
#include <functional>
#include <vector>

namespace tonovka {

// The audio service of the program in a browser page. The page has one thread, and the page
// itself decodes the sounds and renders the tune in the background, so the commands are carried
// out as they are given, once the first window shows. The sound files are read from the program's
// own file system, where the page put what its server gave it.
class WebAudioService final : public AudioService {
public:
    WebAudioService();

    int addPlayer() override;
    void open(int player, AudioDevice device, const QString& fileName) override;
    void play(int player) override;
    void close(int player) override;
    bool isSounding(int player) const override;

    // Opening the page's audio device, as the siren's "open" does, keeps the page's one thread
    // for some 50 ms: the commands given from now on wait until the first window, which
    // releaseCommands() is called on as it is first exposed, has been drawn. A page always draws
    // it, if only once it is in front; and a page sounds only after the player's first click or
    // key anyway. Then the page also loads what the tune needs, while the network is surely there.
    void holdCommands(std::chrono::milliseconds) { m_held = true; }
    void releaseCommands();

private:
    void carryOut(std::function<void()> command);
    void carryOutWaiting();

    PlayerSounds m_sounds;
    int m_players = 0;
    bool m_held = false;
    std::vector<std::function<void()>> m_waiting;
};

} // namespace tonovka
