#include "SdlEngine.h"

#include "LibraryMessages.h"
#include "SoundLevels.h"

namespace tonovka {

namespace {

// Each channel at the sounds' volume, in SDL_mixer's steps.
constexpr int Volume = int(soundLevels::Volume * MIX_MAX_VOLUME);

// Player numbers start at 1, channels at 0.
int channelOf(int player)
{
    return player - 1;
}

} // namespace

SdlEngine::~SdlEngine()
{
    if (!m_started)
        return;
    for (const auto& [player, chunk] : m_chunks) {
        m_lib.Mix_HaltChannel(channelOf(player));
        m_lib.Mix_FreeChunk(chunk);
    }
    m_music.reset();
    m_lib.Mix_CloseAudio();
    m_lib.Mix_Quit();
    m_lib.SDL_Quit();
}

bool SdlEngine::start()
{
    routeAudioLibraryMessages(m_lib);
    // SDL would otherwise take over Ctrl+C and turn it into an event that nobody reads.
    m_lib.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (m_lib.SDL_Init(SDL_INIT_AUDIO) != 0) {
        m_error = QString::fromUtf8(m_lib.SDL_GetError());
        return false;
    }
    // Exactly this format, whatever the device's own: SDL converts, and the music is rendered
    // straight into the mixer's buffer.
    if (m_lib.Mix_OpenAudioDevice(MixerFormat::SampleRate, AUDIO_S16SYS, MixerFormat::Channels,
                                  MixerFormat::BufferFrames, nullptr, 0) != 0) {
        m_error = QString::fromUtf8(m_lib.SDL_GetError());
        m_lib.SDL_Quit();
        return false;
    }
    m_music = makeSystemMusic(m_lib, m_soundFonts, soundLevels::Volume);
    m_started = true;
    return true;
}

bool SdlEngine::loadWave(int player, const QByteArray& bytes)
{
    release(player);
    Mix_Chunk* chunk = m_lib.Mix_LoadWAV_RW(m_lib.SDL_RWFromConstMem(bytes.constData(), int(bytes.size())), 1);
    if (!chunk) {
        m_error = QString::fromUtf8(m_lib.SDL_GetError());
        return false;
    }
    m_chunks[player] = chunk;
    return true;
}

bool SdlEngine::loadMidi(int player, const QByteArray& bytes)
{
    release(player);
    m_musicPlayer = 0;
    if (!m_music->load(bytes, m_error))
        return false;
    m_musicPlayer = player;
    return true;
}

void SdlEngine::play(int player)
{
    const auto chunk = m_chunks.find(player);
    if (chunk != m_chunks.end()) {
        const int channel = channelOf(player);
        if (channel >= m_lib.Mix_AllocateChannels(-1))
            m_lib.Mix_AllocateChannels(channel + 1);
        m_lib.Mix_Volume(channel, Volume);
        if (m_lib.Mix_PlayChannelTimed(channel, chunk->second, 0, -1) < 0)
            m_error = QString::fromUtf8(m_lib.SDL_GetError());
    } else if (player == m_musicPlayer) {
        m_music->play();
    }
}

void SdlEngine::release(int player)
{
    const auto chunk = m_chunks.find(player);
    if (chunk != m_chunks.end()) {
        m_lib.Mix_HaltChannel(channelOf(player));
        m_lib.Mix_FreeChunk(chunk->second);
        m_chunks.erase(chunk);
    }
    if (player == m_musicPlayer) {
        m_music->stop();
        m_musicPlayer = 0;
    }
}

bool SdlEngine::isSounding(int player) const
{
    if (m_chunks.count(player) > 0)
        return m_lib.Mix_Playing(channelOf(player)) != 0;
    return player == m_musicPlayer && m_music->isPlaying();
}

} // namespace tonovka
