#pragma once

#include "AudioLibraries.h"
#include "Music.h"

namespace tonovka {

// The tune played by SDL_mixer's own MIDI player. On Windows that player sends the tune, as read
// from the disk, to the system's MIDI synthesizer, whose instruments the player knows from every
// other MIDI program.
class MixerMusic final : public Music {
public:
    // volume: 0 to 1, as a share of full.
    MixerMusic(const AudioLibraries& lib, double volume);
    ~MixerMusic() override;
    MixerMusic(const MixerMusic&) = delete;
    MixerMusic& operator=(const MixerMusic&) = delete;

    bool load(const QByteArray& midi, QString& error) override;
    void play() override;
    void stop() override;
    bool isPlaying() const override;

private:
    const AudioLibraries& m_lib;
    const int m_volume;
    Mix_Music* m_music = nullptr;
};

} // namespace tonovka
