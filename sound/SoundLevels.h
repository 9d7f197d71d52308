#pragma once

// How loud the game's two sounds play, the same on every system.
namespace tonovka::soundLevels {

// Either sound's share of the full volume (96 of SDL_mixer's 128). Both sounds add up as a plain
// sum; this leaves room for their loudest moments.
constexpr double Volume = 0.75;

// FluidSynth's gain for the tune at full volume: its own is 0.2; 1.2 matches what SDL_mixer's
// MIDI player gave.
constexpr double FluidSynthFullGain = 1.2;

// The tune's voices: four instruments, at most eight notes at once, each note of one or two
// voices, and the tails of the notes that have just ended.
constexpr int FluidSynthPolyphony = 32;

} // namespace tonovka::soundLevels
