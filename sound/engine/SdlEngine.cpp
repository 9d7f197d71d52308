#include "SdlEngine.h"

#include "LibraryMessages.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace tonovka {

namespace {

// Both sounds together add up as a plain sum; this leaves room for their loudest moments.
constexpr int Volume = 96;

// Player numbers start at 1, channels at 0.
int channelOf(int player)
{
    return player - 1;
}

void renderMusic(void* music, Uint8* stream, int bytes)
{
    static_cast<FluidMusic*>(music)->render(stream, bytes);
}

} // namespace

SdlEngine::~SdlEngine()
{
    if (!m_started)
        return;
    for (const auto& [player, chunk] : m_chunks) {
        Mix_HaltChannel(channelOf(player));
        Mix_FreeChunk(chunk);
    }
    // The device stops calling the music before the music goes. SDL_mixer keeps the hook past
    // Mix_CloseAudio, and the next device opened in this process would call it.
    Mix_HookMusic(nullptr, nullptr);
    Mix_CloseAudio();
    m_music.reset();
    Mix_Quit();
    SDL_Quit();
}

bool SdlEngine::start()
{
    routeAudioLibraryMessages();
    // SDL would otherwise take over Ctrl+C and turn it into an event that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        m_error = QString::fromUtf8(SDL_GetError());
        return false;
    }
    // Exactly this format, whatever the device's own: SDL converts, and the music is rendered
    // straight into the mixer's buffer.
    if (Mix_OpenAudioDevice(MixerFormat::SampleRate, AUDIO_S16SYS, MixerFormat::Channels,
                            MixerFormat::BufferFrames, nullptr, 0) != 0) {
        m_error = QString::fromUtf8(SDL_GetError());
        SDL_Quit();
        return false;
    }
    m_music = std::make_unique<FluidMusic>(MixerFormat::SampleRate, double(Volume) / MIX_MAX_VOLUME);
    Mix_HookMusic(renderMusic, m_music.get());
    m_started = true;
    return true;
}

bool SdlEngine::loadWave(int player, const QByteArray& bytes)
{
    release(player);
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.constData(), int(bytes.size())), 1);
    if (!chunk) {
        m_error = QString::fromUtf8(SDL_GetError());
        return false;
    }
    m_chunks[player] = chunk;
    return true;
}

bool SdlEngine::loadMidi(int player, const QByteArray& bytes, const QString& soundFontPath)
{
    release(player);
    m_musicPlayer = 0;
    if (!m_music->load(bytes, soundFontPath, m_error))
        return false;
    m_musicPlayer = player;
    return true;
}

void SdlEngine::play(int player)
{
    const auto chunk = m_chunks.find(player);
    if (chunk != m_chunks.end()) {
        const int channel = channelOf(player);
        if (channel >= Mix_AllocateChannels(-1))
            Mix_AllocateChannels(channel + 1);
        Mix_Volume(channel, Volume);
        if (Mix_PlayChannel(channel, chunk->second, 0) < 0)
            m_error = QString::fromUtf8(SDL_GetError());
    } else if (player == m_musicPlayer) {
        m_music->play();
    }
}

void SdlEngine::release(int player)
{
    const auto chunk = m_chunks.find(player);
    if (chunk != m_chunks.end()) {
        Mix_HaltChannel(channelOf(player));
        Mix_FreeChunk(chunk->second);
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
        return Mix_Playing(channelOf(player)) != 0;
    return player == m_musicPlayer && m_music->isPlaying();
}

} // namespace tonovka

extern "C" __attribute__((visibility("default"))) tonovka::AudioEngine* tonovka_make_audio_engine()
{
    return new tonovka::SdlEngine;
}
