#include "LibraryMessages.h"

#include "AudioLibraries.h"
#include "SoundLog.h"

#include <cstdarg>
#include <cstdio>

namespace tonovka {

namespace {

void fromSdl(void*, int category, SDL_LogPriority priority, const char* message)
{
    qCDebug(lcSound, "SDL (category %d, priority %d): %s", category, int(priority), message);
}

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

void routeAudioLibraryMessages(const AudioLibraries& lib)
{
    lib.SDL_LogSetOutputFunction(fromSdl, nullptr);
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        lib.fluid_set_log_function(level, fromFluidSynth, nullptr);
    lib.snd_lib_error_set_handler(fromAlsa);
    static const guint handler = lib.g_log_set_handler(
        nullptr, GLogLevelFlags(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION), fromGLib, nullptr);
    Q_UNUSED(handler);
}

} // namespace tonovka
