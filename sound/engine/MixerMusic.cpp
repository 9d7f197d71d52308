#include "MixerMusic.h"

namespace tonovka {

MixerMusic::MixerMusic(const AudioLibraries& lib, double volume)
    : m_lib(lib), m_volume(int(volume * MIX_MAX_VOLUME + 0.5))
{
}

MixerMusic::~MixerMusic()
{
    stop();
}

bool MixerMusic::load(const QByteArray& midi, QString& error)
{
    stop();
    // The player reads the whole tune now, into events of its own.
    SDL_RWops* bytes = m_lib.SDL_RWFromConstMem(midi.constData(), int(midi.size()));
    m_music = m_lib.Mix_LoadMUSType_RW(bytes, MUS_MID, 1);
    if (!m_music) {
        error = QString::fromUtf8(m_lib.SDL_GetError());
        return false;
    }
    return true;
}

void MixerMusic::play()
{
    if (!m_music)
        return;
    m_lib.Mix_VolumeMusic(m_volume);
    m_lib.Mix_PlayMusic(m_music, 0);
}

void MixerMusic::stop()
{
    if (!m_music)
        return;
    m_lib.Mix_HaltMusic();
    m_lib.Mix_FreeMusic(m_music);
    m_music = nullptr;
}

bool MixerMusic::isPlaying() const
{
    return m_music && m_lib.Mix_PlayingMusic() != 0;
}

} // namespace tonovka
