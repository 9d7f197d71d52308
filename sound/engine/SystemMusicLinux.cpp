#include "FluidMusic.h"
#include "Music.h"
#include "SoundLog.h"

#include <cstdarg>
#include <cstdio>

namespace tonovka {

namespace {

void fromFluidSynth(int level, const char* message, void*)
{
    qCDebug(lcSound, "FluidSynth (level %d): %s", level, message);
}

void fromAlsa(const char* file, int line, const char* function, int error, const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    qCDebug(lcSound, "ALSA %s:%d (%s), error %d: %s", file, line, function, error, text);
}

// FluidSynth reads soundfonts through libinstpatch, which reports through GLib's log without a
// domain of its own.
void fromGLib(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer)
{
    qCDebug(lcSound, "GLib %s (level %d): %s", domain ? domain : "", int(level), message);
}

} // namespace

// FluidSynth renders the tune with the instruments of a General MIDI soundfont, in the mixer.
std::unique_ptr<Music> makeSystemMusic(const AudioLibraries& lib, const QStringList& soundFonts, double volume)
{
    return std::make_unique<FluidMusic>(lib, MixerFormat::SampleRate, volume, soundFonts);
}

void routeSystemAudioMessages(const AudioLibraries& lib)
{
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        lib.fluid_set_log_function(level, fromFluidSynth, nullptr);
    // SDL's audio goes through ALSA here, which prints when there is no sound card.
    lib.snd_lib_error_set_handler(fromAlsa);
    static const guint handler = lib.g_log_set_handler(
        nullptr, GLogLevelFlags(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION), fromGLib, nullptr);
    Q_UNUSED(handler);
}

} // namespace tonovka
