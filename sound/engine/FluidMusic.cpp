#include "FluidMusic.h"

#include <QFile>

#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace tonovka {

namespace {

// FluidSynth reads an instrument's samples only when the tune first plays it, and it opens the
// soundfont again by its name to do so. It crashes when the file is gone by then (a package
// upgrade replaces it), so it reads through a descriptor held since the soundfont was loaded,
// which keeps the file that it loaded. One soundfont is held at a time.
std::mutex g_heldMutex;
std::string g_heldPath;
int g_held = -1;

void holdSoundFont(const std::string& path)
{
    const std::lock_guard lock(g_heldMutex);
    if (g_held >= 0)
        ::close(g_held);
    g_held = path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    g_heldPath = g_held >= 0 ? path : std::string();
}

void* openSoundFont(const char* path)
{
    const std::lock_guard lock(g_heldMutex);
    if (g_held < 0 || g_heldPath != path)
        return std::fopen(path, "rbe");
    // A duplicate shares its position with the others; only one reader reads at a time.
    const int copy = ::fcntl(g_held, F_DUPFD_CLOEXEC, 0);
    std::FILE* file = copy >= 0 ? ::fdopen(copy, "rb") : nullptr;
    if (!file && copy >= 0)
        ::close(copy);
    if (file)
        std::rewind(file);
    return file;
}

int readSoundFont(void* buffer, fluid_long_long_t count, void* file)
{
    return std::fread(buffer, std::size_t(count), 1, static_cast<std::FILE*>(file)) == 1 || count == 0
        ? FLUID_OK : FLUID_FAILED;
}

int seekSoundFont(void* file, fluid_long_long_t offset, int origin)
{
    return ::fseeko(static_cast<std::FILE*>(file), off_t(offset), origin) == 0 ? FLUID_OK : FLUID_FAILED;
}

fluid_long_long_t tellSoundFont(void* file)
{
    return ::ftello(static_cast<std::FILE*>(file));
}

int closeSoundFont(void* file)
{
    return std::fclose(static_cast<std::FILE*>(file)) == 0 ? FLUID_OK : FLUID_FAILED;
}

// Four instruments, at most eight notes at once, each note of one or two voices, and the tails
// of the notes that have just ended.
constexpr int Polyphony = 32;

// FluidSynth's own gain is 0.2; at full volume 1.2 matches what SDL_mixer's MIDI player gave.
constexpr double FullGain = 1.2;

} // namespace

FluidMusic::FluidMusic(const AudioLibraries& lib, int sampleRate, double volume)
    : m_lib(lib)
    , m_settings(m_lib.new_fluid_settings())
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
    holdSoundFont({});
}

bool FluidMusic::load(const QByteArray& midi, const QString& soundFontPath, QString& error)
{
    stop();
    if (!m_synth) {
        // Read outside the lock, so that the siren goes on while the soundfont is read.
        fluid_synth_t* synth = m_lib.new_fluid_synth(m_settings);
        if (!synth) {
            error = QStringLiteral("FluidSynth cannot start");
            return false;
        }
        fluid_sfloader_t* loader = m_lib.new_fluid_defsfloader(m_settings);
        m_lib.fluid_sfloader_set_callbacks(loader, openSoundFont, readSoundFont, seekSoundFont,
                                     tellSoundFont, closeSoundFont);
        m_lib.fluid_synth_add_sfloader(synth, loader);
        const QByteArray path = QFile::encodeName(soundFontPath);
        holdSoundFont(path.toStdString());
        if (m_lib.fluid_synth_sfload(synth, path.constData(), 1) == FLUID_FAILED) {
            m_lib.delete_fluid_synth(synth);
            holdSoundFont({});
            error = QStringLiteral("the soundfont %1 cannot be read").arg(soundFontPath);
            return false;
        }
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
    if (m_lib.fluid_player_get_status(m_player) != FLUID_PLAYER_PLAYING
        && m_lib.fluid_synth_get_active_voice_count(m_synth) == 0)
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
