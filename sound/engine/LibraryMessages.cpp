#include "LibraryMessages.h"

#include "AudioLibraries.h"
#include "Music.h"
#include "SoundLog.h"

namespace tonovka {

namespace {

void fromSdl(void*, int category, SDL_LogPriority priority, const char* message)
{
    qCDebug(lcSound, "SDL (category %d, priority %d): %s", category, int(priority), message);
}

} // namespace

void routeAudioLibraryMessages(const AudioLibraries& lib)
{
    lib.SDL_LogSetOutputFunction(fromSdl, nullptr);
    routeSystemAudioMessages(lib);
}

} // namespace tonovka
