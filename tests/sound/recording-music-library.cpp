// A library with SDL_mixer's music functions alone, which records each call, in order, instead of
// playing. Loaded ahead of SDL and SDL_mixer, it takes the music's calls, and they play the rest:
// the tests see what the game asks of SDL_mixer's MIDI player where no synthesizer can be heard.
// It also stands in for Windows' answer to whether there is a MIDI output: there is one.

#include <SDL.h>
#include <SDL_mixer.h>

#include <mutex>
#include <string>

#ifdef _WIN32
#define RECORDER_EXPORT extern "C" __declspec(dllexport)
#else
#define RECORDER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

std::mutex guard;
std::string calls;
bool playing = false;
int volume = MIX_MAX_VOLUME;
// What the recorder hands out as the tune; nobody looks inside.
Mix_Music* const tune = reinterpret_cast<Mix_Music*>(&calls);

void record(const std::string& call)
{
    calls += call;
    calls += '\n';
}

} // namespace

RECORDER_EXPORT Mix_Music* Mix_LoadMUSType_RW(SDL_RWops* bytes, Mix_MusicType type, int freeBytes)
{
    const std::lock_guard lock(guard);
    char magic[5] = {};
    const Sint64 size = bytes ? bytes->size(bytes) : -1;
    if (bytes && bytes->read(bytes, magic, 1, 4) != 4)
        magic[0] = '\0';
    if (bytes && freeBytes)
        bytes->close(bytes);
    record("load " + std::string(type == MUS_MID ? "MIDI " : "other ") + magic + ' ' + std::to_string(size));
    return tune;
}

RECORDER_EXPORT int Mix_VolumeMusic(int newVolume)
{
    const std::lock_guard lock(guard);
    record("volume " + std::to_string(newVolume));
    const int old = volume;
    if (newVolume >= 0)
        volume = newVolume;
    return old;
}

RECORDER_EXPORT int Mix_PlayMusic(Mix_Music* music, int loops)
{
    const std::lock_guard lock(guard);
    record(std::string(music == tune ? "play " : "play another ") + std::to_string(loops));
    playing = true;
    return 0;
}

RECORDER_EXPORT int Mix_PlayingMusic()
{
    const std::lock_guard lock(guard);
    return playing ? 1 : 0;
}

RECORDER_EXPORT int Mix_HaltMusic()
{
    const std::lock_guard lock(guard);
    record("halt");
    playing = false;
    return 0;
}

RECORDER_EXPORT void Mix_FreeMusic(Mix_Music* music)
{
    const std::lock_guard lock(guard);
    record(music == tune ? "free" : "free another");
}

#ifdef _WIN32
RECORDER_EXPORT unsigned int midiOutGetNumDevs()
{
    return 1;
}
#endif

// The calls so far, one a line, for the test, which loads this library too.
RECORDER_EXPORT const char* recordedMusicCalls()
{
    const std::lock_guard lock(guard);
    static std::string copy;
    copy = calls;
    return copy.c_str();
}
