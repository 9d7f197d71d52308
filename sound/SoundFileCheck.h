#pragma once

#include "AudioService.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace tonovka {

// The audio libraries trust their input: SDL_mixer crashes on a directory named like a MIDI file,
// and an empty or random ".mid" loads "successfully". So every sound file is read here first, and
// only bytes that passed these checks ever reach them.

// Larger files are refused before a single byte is read; both sounds are far smaller.
constexpr std::int64_t MaxSoundFileBytes = 16 * 1024 * 1024;

enum class SoundFileProblem {
    None,
    Missing,        // nothing there, or a dangling or looping link
    NotRegularFile, // a directory, a device, a FIFO or a socket
    Unreadable,     // no permission, or a read error
    TooLarge,       // over MaxSoundFileBytes
    WrongContent,   // empty, too short, or not the kind of file the device plays
    Incomplete,     // cut off: a part that the file announces is not all there
};

// The problem in a few words, for messages and reports.
const char* soundFileProblemName(SoundFileProblem problem);

struct SoundFileContents {
    SoundFileProblem problem = SoundFileProblem::Missing;
    QByteArray bytes; // the whole file when problem is None, else empty
};

// Reads the whole file if it is a regular file of a sane size that starts like a WAV file
// ("RIFF" at 0 and "WAVE" at 8) for waveaudio, or like a standard MIDI file ("MThd") for the
// sequencer, and holds every chunk it announces: for a WAV its format and its samples, for a
// MIDI file its header and as many tracks as the header counts. A cut-off file would otherwise
// play part of itself, or silence, as the library sees fit. Never blocks on a FIFO or a device:
// such files are never read.
SoundFileContents readSoundFile(const QString& path, AudioDevice device);

} // namespace tonovka
