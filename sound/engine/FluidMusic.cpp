#include "FluidMusic.h"

#include "SoundFileSearch.h"
#include "SoundLevels.h"
#include "SoundFontLoader.h"
#include "TuneSoundFont.h"

#include <cstring>
#include <filesystem>
#include <string_view>

namespace tonovka {

namespace {

void renderInto(void* music, Uint8* stream, int bytes)
{
    static_cast<FluidMusic*>(music)->render(stream, bytes);
}

} // namespace

FluidMusic::FluidMusic(const AudioLibraries& lib, int sampleRate, double volume, QStringList soundFonts)
    : m_lib(lib), m_soundFonts(std::move(soundFonts)), m_settings(m_lib.new_fluid_settings())
{
    m_lib.fluid_settings_setnum(m_settings, "synth.sample-rate", sampleRate);
    m_lib.fluid_settings_setnum(m_settings, "synth.gain", volume * soundLevels::FluidSynthFullGain);
    m_lib.fluid_settings_setint(m_settings, "synth.polyphony", soundLevels::FluidSynthPolyphony);
    m_lib.fluid_settings_setint(m_settings, "synth.reverb.active", 0);
    m_lib.fluid_settings_setint(m_settings, "synth.chorus.active", 0);
    // Every sample point is read when the soundfont loads, on the audio thread: loaded as the
    // tune first plays a note, it would be read from the disk inside the device's callback.
    m_lib.fluid_settings_setint(m_settings, "synth.dynamic-sample-loading", 0);
    // The tune advances with the samples rendered, not with a timer thread of its own.
    m_lib.fluid_settings_setstr(m_settings, "player.timing-source", "sample");
    // SDL_mixer takes the synthesizer's output in place of its own music stream.
    m_lib.Mix_HookMusic(renderInto, this);
}

FluidMusic::~FluidMusic()
{
    // The device stops calling the synthesizer before it goes. SDL_mixer keeps the hook past
    // Mix_CloseAudio, and the next device opened in this process would call it.
    m_lib.Mix_HookMusic(nullptr, nullptr);
    dropPlayer();
    if (m_synth)
        m_lib.delete_fluid_synth(m_synth);
    m_lib.delete_fluid_settings(m_settings);
}

bool FluidMusic::load(const QByteArray& midi, QString& error)
{
    const QString soundFont = findSoundFont(m_soundFonts);
    if (soundFont.isEmpty()) {
        error = QStringLiteral("no usable soundfont among %1").arg(m_soundFonts.join(u' '));
        return false;
    }
    return load(midi, soundFont, error);
}

bool FluidMusic::load(const QByteArray& midi, const QString& soundFontPath, QString& error)
{
    stop();
    const TuneInstruments instruments = instrumentsOfTune(std::string_view(midi.constData(), std::size_t(midi.size())));
    if (m_synth && (soundFontPath != m_soundFontPath || (m_soundFontPart && !m_instruments.holds(instruments)))) {
        // The synthesizer holds another soundfont, or this one read for another tune's instruments.
        fluid_synth_t* synth = m_synth;
        {
            const std::lock_guard lock(m_mutex);
            m_synth = nullptr;
        }
        m_lib.delete_fluid_synth(synth);
    }
    if (!m_synth && !loadSoundFont(soundFontPath, instruments, error))
        return false;
    const std::lock_guard lock(m_mutex);
    m_player = m_lib.new_fluid_player(m_synth);
    if (!m_player || m_lib.fluid_player_add_mem(m_player, midi.constData(), std::size_t(midi.size())) != FLUID_OK) {
        dropPlayer();
        error = QStringLiteral("FluidSynth refuses the tune");
        return false;
    }
    return true;
}

bool FluidMusic::loadSoundFont(const QString& soundFontPath, const TuneInstruments& instruments, QString& error)
{
    // Read outside the lock, so that the siren goes on while the soundfont is read.
    fluid_synth_t* synth = m_lib.new_fluid_synth(m_settings);
    if (!synth) {
        error = QStringLiteral("FluidSynth cannot start");
        return false;
    }
    addSoundFontViewLoader(m_lib, m_settings, synth);
    const std::filesystem::path path(soundFontPath.toStdU16String());
    // Only what the tune's instruments need; the whole file where this program cannot make that
    // part of it, or FluidSynth refuses the part.
    m_soundFontPart = loadSoundFontView(m_lib, synth, soundFontForTune(path, instruments));
    if (!m_soundFontPart && !loadSoundFontView(m_lib, synth, wholeSoundFont(path))) {
        m_lib.delete_fluid_synth(synth);
        error = QStringLiteral("the soundfont %1 cannot be read").arg(soundFontPath);
        return false;
    }
    m_soundFontPath = soundFontPath;
    m_instruments = instruments;
    const std::lock_guard lock(m_mutex);
    m_synth = synth;
    return true;
}

void FluidMusic::play()
{
    const std::lock_guard lock(m_mutex);
    if (m_player && m_lib.fluid_player_play(m_player) == FLUID_OK)
        m_rendering = true;
}

void FluidMusic::stop()
{
    const std::lock_guard lock(m_mutex);
    dropPlayer();
    if (m_synth)
        m_lib.fluid_synth_system_reset(m_synth);
    m_rendering = false;
}

bool FluidMusic::isPlaying() const
{
    const std::lock_guard lock(m_mutex);
    return m_player && m_rendering && m_lib.fluid_player_get_status(m_player) == FLUID_PLAYER_PLAYING;
}

void FluidMusic::render(unsigned char* stream, int bytes)
{
    std::memset(stream, 0, std::size_t(bytes));
    const std::lock_guard lock(m_mutex);
    if (!m_rendering)
        return;
    constexpr int Channels = MixerFormat::Channels;
    m_lib.fluid_synth_write_s16(m_synth, bytes / MixerFormat::BytesPerFrame, stream, 0, Channels, stream, 1, Channels);
    // Once the tune and the tails of its last notes have ended, the synthesizer rests.
    if (m_lib.fluid_player_get_status(m_player) != FLUID_PLAYER_PLAYING &&
        m_lib.fluid_synth_get_active_voice_count(m_synth) == 0)
        m_rendering = false;
}

void FluidMusic::dropPlayer()
{
    if (!m_player)
        return;
    m_lib.fluid_player_stop(m_player);
    m_lib.delete_fluid_player(m_player);
    m_player = nullptr;
}

} // namespace tonovka
