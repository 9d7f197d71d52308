#pragma once

#include "AudioService.h"
#include "SoundFileCheck.h"

#include <QString>

#include <vector>

namespace tonovka::fixtures {

// A whole sound of the kind the device plays: a 0.4 s tone, or a tune of two notes.
QByteArray goodSound(AudioDevice device);

// The damaged sounds that the file checks and the audio service are both given, each with the
// problem that the checks find in it.
struct DamagedSound {
    const char* kind;
    SoundFileProblem problem;
};
const std::vector<DamagedSound>& damagedSounds();

// Puts a damaged sound of this kind where path names, for a player of this device; path may be
// changed (to an empty name, or a device). False when it cannot be made.
bool makeDamagedSound(const char* kind, QString& path, AudioDevice device);

// The damaged soundfonts that the soundfont check, the soundfont's reader and the audio service
// are given, each with whether it still looks whole from outside (looksLikeSoundFont) and whether
// the tune stays silent with it. This program's reader refuses every one; FluidSynth, given the
// whole file then, makes something of a few.
struct DamagedSoundFont {
    const char* kind;
    bool looksWhole;
    bool silent;
};
const std::vector<DamagedSoundFont>& damagedSoundFonts();

// Puts a damaged soundfont of this kind at path; most are made from the installed soundfont.
// Besides the list's, "loops of no length or reversed": loops that FluidSynth mends as it loads
// them, so that the tune still plays. False when it cannot be made.
bool makeDamagedSoundFont(const char* kind, const QString& path);

// The smallest file that looks like a whole soundfont: its header and three empty lists.
QByteArray emptySoundFont();

} // namespace tonovka::fixtures
