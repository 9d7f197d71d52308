#pragma once

#include "AudioEngine.h"

#include <QString>
#include <QStringList>

#include <SDL.h>
#include <SDL_mixer.h>
#if TONOVKA_FLUIDSYNTH
#include <alsa/asoundlib.h>
#include <fluidsynth.h>
#include <glib.h>
#elif defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>
#endif

namespace tonovka {

// The functions of the audio libraries that the program calls. The program does not link them:
// SDL, SDL_mixer and FluidSynth bring dozens of libraries with them, and the audio thread loads
// them only when the first sound opens, so that none of them is mapped while the program starts.
// clang-format off
// SDL and SDL_mixer, on every system; SDL_mixer's own music player plays the tune on Windows.
#define TONOVKA_SDL_FUNCTIONS(F)                                                                   \
    F(SDL_Init) F(SDL_Quit) F(SDL_SetHint) F(SDL_GetError) F(SDL_RWFromConstMem)                   \
    F(SDL_LogSetOutputFunction)                                                                    \
    F(Mix_OpenAudioDevice) F(Mix_CloseAudio) F(Mix_Quit) F(Mix_HookMusic)                          \
    F(Mix_LoadWAV_RW) F(Mix_FreeChunk) F(Mix_AllocateChannels) F(Mix_Volume)                       \
    F(Mix_PlayChannelTimed) F(Mix_HaltChannel) F(Mix_Playing)                                      \
    F(Mix_LoadMUSType_RW) F(Mix_FreeMusic) F(Mix_PlayMusic) F(Mix_HaltMusic) F(Mix_PlayingMusic)   \
    F(Mix_VolumeMusic)
#if TONOVKA_FLUIDSYNTH
// FluidSynth, which plays the tune on Linux; ALSA and GLib only to hear what they would print.
#define TONOVKA_SYSTEM_AUDIO_FUNCTIONS(F)                                                          \
    F(new_fluid_settings) F(delete_fluid_settings) F(fluid_settings_setint)                        \
    F(fluid_settings_setnum) F(fluid_settings_setstr) F(new_fluid_synth) F(delete_fluid_synth)     \
    F(new_fluid_defsfloader) F(fluid_sfloader_set_callbacks) F(fluid_synth_add_sfloader)           \
    F(fluid_synth_sfload) F(fluid_synth_system_reset) F(fluid_synth_write_s16)                     \
    F(fluid_synth_get_active_voice_count) F(new_fluid_player) F(delete_fluid_player)               \
    F(fluid_player_add_mem) F(fluid_player_play) F(fluid_player_stop) F(fluid_player_get_status)   \
    F(fluid_set_log_function) F(snd_lib_error_set_handler) F(g_log_set_handler)
#elif defined(_WIN32)
// Windows' multimedia library, to ask whether there is a MIDI output to play the tune on.
#define TONOVKA_SYSTEM_AUDIO_FUNCTIONS(F) F(midiOutGetNumDevs)
#else
#define TONOVKA_SYSTEM_AUDIO_FUNCTIONS(F)
#endif
#define TONOVKA_AUDIO_FUNCTIONS(F) TONOVKA_SDL_FUNCTIONS(F) TONOVKA_SYSTEM_AUDIO_FUNCTIONS(F)
// clang-format on

struct AudioLibraries {
#define TONOVKA_AUDIO_POINTER(name) decltype(&::name) name = nullptr;
    TONOVKA_AUDIO_FUNCTIONS(TONOVKA_AUDIO_POINTER)
#undef TONOVKA_AUDIO_POINTER
};

// Loads the libraries (or other files in their place) and finds every function in them: each in
// the first library of the list that has it. Null, with the reason in error, when one cannot be
// loaded or a function is in none; the program then stays silent. Loaded libraries stay loaded:
// they keep threads and exit handlers of their own.
const AudioLibraries* loadAudioLibraries(const QStringList& libraries, QString& error);

} // namespace tonovka
