#pragma once

#include <string_view>
#include <vector>

namespace tonovka::soundgen {

// The tune is written as text, counted in steps of a sixteenth note; a bar of 4/4 has 16.
// Every reader here throws std::invalid_argument on text it cannot read, so that a slip
// in the score stops the generator instead of ending up in the file.
inline constexpr int stepsPerBar = 16;

struct Tone {
    int step;  // from the start of the text
    int steps; // length
    int key;   // MIDI key, middle C is 60
};

struct Melody {
    std::vector<Tone> tones;
    int bars;
};

// Notes as "F#5:2": name, optional # or b, octave (C4 is middle C), ':' and the length in
// steps. "-:4" is a rest of four steps. A "|" is a bar line and must fall on a whole bar,
// and so must the end.
Melody parseMelody(std::string_view text);

struct Chord {
    int root; // pitch class, C is 0
    bool minor;
};

// Bars separated by "|", each holding one or more chord names ("G", "Em", "F#m") that
// share the bar equally.
std::vector<std::vector<Chord>> parseChords(std::string_view text);

// The chord sounding at a step of a bar of several chords.
Chord chordAt(const std::vector<Chord>& bar, int step);

struct Hit {
    int step;
    int steps;
    char symbol;   // lower case
    bool accented; // the symbol was written in capitals
};

// One bar of a rhythm, one character a step: a letter strikes, capitals strike harder,
// "=" holds the last stroke one more step and "." is silence.
std::vector<Hit> parsePattern(std::string_view pattern);

// The lowest key at or above lowestKey with the given pitch class.
int keyAtOrAbove(int pitchClass, int lowestKey);

} // namespace tonovka::soundgen
