#include "SdlMixer.h"

#include "SoundFileCheck.h"
#include "SoundFileSearch.h"
#include "SoundLog.h"

#include <QElapsedTimer>
#include <QFile>

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

const char* problemText(SoundFileProblem problem)
{
    switch (problem) {
    case SoundFileProblem::None: return "none";
    case SoundFileProblem::Missing: return "missing";
    case SoundFileProblem::NotRegularFile: return "not a regular file";
    case SoundFileProblem::Unreadable: return "unreadable";
    case SoundFileProblem::TooLarge: return "too large";
    case SoundFileProblem::WrongContent: return "not a sound of the right kind";
    case SoundFileProblem::Incomplete: return "cut off";
    }
    return "?";
}

} // namespace

SdlMixer::SdlMixer(QStringList folders, QStringList soundFonts)
    : m_folders(std::move(folders))
    , m_soundFonts(std::move(soundFonts))
{
}

SdlMixer::~SdlMixer()
{
    if (m_started != Started::Yes)
        return;
    while (!m_sounds.empty())
        release(m_sounds.begin()->first);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
}

void SdlMixer::open(int player, AudioDevice device, const QString& fileName)
{
    release(player);
    if (!start())
        return;
    const QString path = findSoundFile(fileName, m_folders);
    SoundFileContents contents = readSoundFile(path, device);
    if (contents.problem != SoundFileProblem::None) {
        qCDebug(lcSound) << "player" << player << "stays silent:" << path
                         << problemText(contents.problem);
        return;
    }
    if (device == AudioDevice::Sequencer && !m_haveSoundFont) {
        qCDebug(lcSound) << "player" << player << "stays silent: no soundfont for" << path;
        return;
    }
    Sound& sound = m_sounds[player];
    sound.bytes = std::move(contents.bytes);
    load(player, sound, device, path);
}

void SdlMixer::load(int player, Sound& sound, AudioDevice device, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    SDL_RWops* memory = SDL_RWFromConstMem(sound.bytes.constData(), int(sound.bytes.size()));
    if (device == AudioDevice::WaveAudio) {
        sound.chunk = Mix_LoadWAV_RW(memory, 1);
    } else {
        // Loading a MIDI file also loads the soundfont, which takes tens of milliseconds.
        sound.music = Mix_LoadMUSType_RW(memory, MUS_MID, 1);
    }
    if (!sound.chunk && !sound.music) {
        qCDebug(lcSound) << "player" << player << "stays silent:" << path << SDL_GetError();
        m_sounds.erase(player);
        return;
    }
    qCDebug(lcSound) << "player" << player << "loaded" << path << "in" << timer.elapsed() << "ms";
}

void SdlMixer::play(int player)
{
    const auto found = m_sounds.find(player);
    if (found == m_sounds.end())
        return;
    const Sound& sound = found->second;
    if (sound.chunk) {
        const int channel = channelOf(player);
        if (channel >= Mix_AllocateChannels(-1))
            Mix_AllocateChannels(channel + 1);
        Mix_Volume(channel, Volume);
        if (Mix_PlayChannel(channel, sound.chunk, 0) < 0)
            qCDebug(lcSound) << "player" << player << "cannot play:" << SDL_GetError();
    } else if (Mix_PlayMusic(sound.music, 1) == 0) {
        m_musicPlayer = player;
    } else {
        qCDebug(lcSound) << "player" << player << "cannot play:" << SDL_GetError();
    }
}

void SdlMixer::close(int player)
{
    release(player);
}

bool SdlMixer::isSounding(int player) const
{
    const auto found = m_sounds.find(player);
    if (found == m_sounds.end())
        return false;
    if (found->second.chunk)
        return Mix_Playing(channelOf(player)) != 0;
    return m_musicPlayer == player && Mix_PlayingMusic() != 0;
}

bool SdlMixer::start()
{
    if (m_started != Started::NotYet)
        return m_started == Started::Yes;
    m_started = Started::Failed;
    QElapsedTimer timer;
    timer.start();
    routeAudioLibraryMessages();
    // SDL would otherwise take over Ctrl+C and turn it into an event that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        qCDebug(lcSound) << "no sound: SDL audio cannot start:" << SDL_GetError();
        return false;
    }
    if (Mix_OpenAudio(MixerFormat::SampleRate, AUDIO_S16SYS, MixerFormat::Channels,
                      MixerFormat::BufferFrames) != 0) {
        qCDebug(lcSound) << "no sound: no audio device:" << SDL_GetError();
        SDL_Quit();
        return false;
    }
    // Exactly one soundfont: SDL_mixer's own default may name a bank that takes seconds and
    // hundreds of megabytes to load.
    const QString soundFont = findSoundFont(m_soundFonts);
    m_haveSoundFont = !soundFont.isEmpty();
    if (m_haveSoundFont)
        Mix_SetSoundFonts(QFile::encodeName(soundFont).constData());
    else
        qCDebug(lcSound) << "no usable soundfont among" << m_soundFonts << "- MIDI stays silent";
    Mix_VolumeMusic(Volume);
    qCDebug(lcSound) << "audio started on" << SDL_GetCurrentAudioDriver() << "in" << timer.elapsed()
                     << "ms, soundfont" << soundFont;
    m_started = Started::Yes;
    return true;
}

void SdlMixer::release(int player)
{
    const auto found = m_sounds.find(player);
    if (found == m_sounds.end())
        return;
    Sound& sound = found->second;
    if (sound.chunk) {
        Mix_HaltChannel(channelOf(player));
        Mix_FreeChunk(sound.chunk);
    }
    if (sound.music) {
        if (m_musicPlayer == player) {
            Mix_HaltMusic();
            m_musicPlayer = 0;
        }
        Mix_FreeMusic(sound.music);
    }
    m_sounds.erase(found);
}

} // namespace tonovka
