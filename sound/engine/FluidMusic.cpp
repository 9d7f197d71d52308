#include "FluidMusic.h"

#include "SoundFontView.h"

#include <QFile>

#include <cstdio>
#include <cstring>
#include <string>

namespace tonovka {

namespace {

// FluidSynth reads an instrument's samples only when the tune first plays it, and it opens the
// soundfont again by its name to do so. It crashes when the file is gone by then (a package
// upgrade replaces it), so every read goes through the view made when the soundfont loaded, whose
// descriptor keeps the file that it loaded. One soundfont is held at a time.
std::mutex g_heldMutex;
std::string g_heldPath;
std::shared_ptr<const SoundFontView> g_held;

void holdSoundFont(const std::string& path, std::shared_ptr<const SoundFontView> view)
{
    const std::lock_guard lock(g_heldMutex);
    g_held = std::move(view);
    g_heldPath = g_held ? path : std::string();
}

struct SoundFontReader {
    std::shared_ptr<const SoundFontView> view;
    off_t at = 0;
};

void* openSoundFont(const char* path)
{
    std::shared_ptr<const SoundFontView> view;
    {
        const std::lock_guard lock(g_heldMutex);
        if (g_held && g_heldPath == path)
            view = g_held;
    }
    if (!view)
        view = wholeSoundFont(path);
    return view ? new SoundFontReader{std::move(view)} : nullptr;
}

int readSoundFont(void* buffer, fluid_long_long_t count, void* file)
{
    auto* reader = static_cast<SoundFontReader*>(file);
    if (count < 0 || !reader->view->read(reader->at, buffer, std::size_t(count)))
        return FLUID_FAILED;
    reader->at += off_t(count);
    return FLUID_OK;
}

int seekSoundFont(void* file, fluid_long_long_t offset, int origin)
{
    auto* reader = static_cast<SoundFontReader*>(file);
    const off_t from = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? reader->at : reader->view->size();
    if (offset < -from || offset > reader->view->size() - from)
        return FLUID_FAILED;
    reader->at = from + off_t(offset);
    return FLUID_OK;
}

fluid_long_long_t tellSoundFont(void* file)
{
    return static_cast<SoundFontReader*>(file)->at;
}

int closeSoundFont(void* file)
{
    delete static_cast<SoundFontReader*>(file);
    return FLUID_OK;
}

// Four instruments, at most eight notes at once, each note of one or two voices, and the tails
// of the notes that have just ended.
constexpr int Polyphony = 32;

// FluidSynth's own gain is 0.2; at full volume 1.2 matches what SDL_mixer's MIDI player gave.
constexpr double FullGain = 1.2;

} // namespace

FluidMusic::FluidMusic(const AudioLibraries& lib, int sampleRate, double volume)
    : m_lib(lib), m_settings(m_lib.new_fluid_settings())
{
    m_lib.fluid_settings_setnum(m_settings, "synth.sample-rate", sampleRate);
    m_lib.fluid_settings_setnum(m_settings, "synth.gain", volume * FullGain);
    m_lib.fluid_settings_setint(m_settings, "synth.polyphony", Polyphony);
    m_lib.fluid_settings_setint(m_settings, "synth.reverb.active", 0);
    m_lib.fluid_settings_setint(m_settings, "synth.chorus.active", 0);
    m_lib.fluid_settings_setint(m_settings, "synth.dynamic-sample-loading", 1);
    // The tune advances with the samples rendered, not with a timer thread of its own.
    m_lib.fluid_settings_setstr(m_settings, "player.timing-source", "sample");
}

FluidMusic::~FluidMusic()
{
    dropPlayer();
    if (m_synth)
        m_lib.delete_fluid_synth(m_synth);
    m_lib.delete_fluid_settings(m_settings);
    holdSoundFont({}, nullptr);
}

bool FluidMusic::load(const QByteArray& midi, const QString& soundFontPath, QString& error)
{
    stop();
    const TuneInstruments instruments = instrumentsOfTune(midi);
    if (m_synth && m_soundFontPart && !m_instruments.holds(instruments)) {
        // The soundfont was read for another tune's instruments.
        fluid_synth_t* synth = m_synth;
        {
            const std::lock_guard lock(m_mutex);
            m_synth = nullptr;
        }
        m_lib.delete_fluid_synth(synth);
    }
    if (!m_synth) {
        // Read outside the lock, so that the siren goes on while the soundfont is read.
        fluid_synth_t* synth = m_lib.new_fluid_synth(m_settings);
        if (!synth) {
            error = QStringLiteral("FluidSynth cannot start");
            return false;
        }
        fluid_sfloader_t* loader = m_lib.new_fluid_defsfloader(m_settings);
        m_lib.fluid_sfloader_set_callbacks(loader, openSoundFont, readSoundFont, seekSoundFont, tellSoundFont,
                                           closeSoundFont);
        m_lib.fluid_synth_add_sfloader(synth, loader);
        const std::string path = QFile::encodeName(soundFontPath).toStdString();
        // Only the presets of the tune's instruments; FluidSynth reads the whole file itself when
        // its preset data is not as this program expects.
        std::shared_ptr<const SoundFontView> view = soundFontForTune(path, instruments);
        m_soundFontPart = view != nullptr;
        holdSoundFont(path, m_soundFontPart ? std::move(view) : wholeSoundFont(path));
        if (m_lib.fluid_synth_sfload(synth, path.c_str(), 1) == FLUID_FAILED) {
            m_lib.delete_fluid_synth(synth);
            holdSoundFont({}, nullptr);
            error = QStringLiteral("the soundfont %1 cannot be read").arg(soundFontPath);
            return false;
        }
        m_instruments = instruments;
        const std::lock_guard lock(m_mutex);
        m_synth = synth;
    }
    const std::lock_guard lock(m_mutex);
    m_player = m_lib.new_fluid_player(m_synth);
    if (!m_player || m_lib.fluid_player_add_mem(m_player, midi.constData(), std::size_t(midi.size())) != FLUID_OK) {
        dropPlayer();
        error = QStringLiteral("FluidSynth refuses the tune");
        return false;
    }
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
    m_lib.fluid_synth_write_s16(m_synth, bytes / 4, stream, 0, 2, stream, 1, 2);
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
