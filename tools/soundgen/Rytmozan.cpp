#include "Rytmozan.h"

#include "MidiFile.h"
#include "MidiTrack.h"
#include "Notation.h"

#include <stdexcept>
#include <string_view>
#include <vector>

namespace tonovka::soundgen {

namespace {

using Tick = MidiTrack::Tick;

constexpr Tick ticksPerStep = Rytmozan::ticksPerQuarter / 4;
// Melodic notes stop a little before their full length, which keeps the tune bouncy.
constexpr Tick articulationGap = 24;
constexpr Tick drumLength = Rytmozan::ticksPerQuarter / 8;

// General MIDI percussion keys.
constexpr int kick = 36;
constexpr int snare = 38;
constexpr int clap = 39;
constexpr int closedHat = 42;
constexpr int openHat = 46;
constexpr int crash = 49;

struct Voice {
    std::string_view name;
    int channel;
    int program;
    int volume;
    int pan;
    int reverb;
};

constexpr Voice lead{"Melodie", 0, 80, 96, 64, 40}; // Lead 1 (square)
constexpr Voice piano{"Akordy", 1, 1, 78, 40, 30};  // Bright Acoustic Piano
constexpr Voice bass{"Basa", 2, 33, 110, 64, 10};   // Electric Bass (finger)
constexpr Voice drums{"Bubny", 9, 0, 100, 64, 20};  // channel 10: the standard kit

struct DrumLine {
    int key;
    std::string_view pattern;
};

// How the band plays one bar of a groove, and the last bar of a section.
struct Groove {
    std::string_view bass;  // R root, F fifth above it, O root an octave up
    std::string_view piano; // C the chord
    std::vector<DrumLine> drums;
    std::vector<DrumLine> fill;
};

const Groove intro{"R==R==F=O=F=R=..",
                   "..C...c...C...c.",
                   {{kick, "X.......X......."}, {closedHat, "x.x.x.x.x.x.x.x."}},
                   {{kick, "X.......X......."}, {closedHat, "x.x.x.x.x......."}, {snare, "........x.x.XxXX"}}};

const Groove verse{"R==R==F=O=F=R=..",
                   "..C...c...C...c.",
                   {{kick, "X.....x.X......."}, {snare, "....X.......X..."}, {closedHat, "x.X.x.X.x.X.x.X."}},
                   {{kick, "X.....x.X......."}, {snare, "....X.......XxXX"}, {closedHat, "x.X.x.X.x.X....."}}};

const Groove bridge{"R=R=O=R=R=R=O=F=",
                    "C=====c=====c===",
                    {{kick, "X...X...X...X..."},
                     {clap, "....X.......X..."},
                     {closedHat, "x...x...x...x..."},
                     {openHat, "..X...X...X...X."}},
                    {{kick, "X...X...X...X..."},
                     {clap, "....X.......X..."},
                     {snare, "............XXXX"},
                     {openHat, "..X...X...X....."}}};

const Groove last{
    "R==============.", "C==============.", {{kick, "X..............."}, {snare, "X..............."}}, {}};

struct Section {
    const Groove* groove;
    bool crashOnEntry;
    std::string_view chords;
    std::string melody;
};

constexpr std::string_view verseChords = "G | D | Em | C | G | D | C D | G";
constexpr std::string_view verseHead = "D5:3 B4:3 G4:2 B4:2 D5:2 G5:4 | F#5:2 E5:2 D5:2 A4:2 F#4:4 A4:4 |"
                                       " G4:2 B4:2 E5:2 G5:2 F#5:2 E5:2 D5:2 E5:2 | C5:4 E5:2 G5:2 E5:6 -:2 |"
                                       " D5:3 B4:3 G4:2 B4:2 D5:2 G5:2 B5:2 | A5:2 G5:2 F#5:2 E5:2 D5:4 F#5:4 |"
                                       " E5:2 G5:2 E5:2 C5:2 D5:2 F#5:2 A5:2 F#5:2 | ";
// The verse comes home to G, or leads on through B towards the bridge's E minor.
constexpr std::string_view verseHome = "G5:6 D5:2 G4:4 -:4";
constexpr std::string_view verseOnward = "G5:6 F#5:2 E5:2 D5:2 B4:4";

constexpr std::string_view bridgeChords = "Em | C | G | D | Em | C | Am | D";
constexpr std::string_view bridgeMelody =
    "B4:4 E5:4 G5:6 F#5:2 | E5:4 C5:4 G4:8 | D5:4 G5:4 B5:6 A5:2 | A5:8 F#5:4 D5:4 |"
    " G5:2 F#5:2 E5:2 B4:2 E5:4 G5:4 | G5:2 E5:2 C5:2 E5:2 G5:4 C6:4 |"
    " B5:2 A5:2 G5:2 E5:2 C5:4 A4:4 | D5:2 E5:2 F#5:2 G5:2 A5:6 -:2";

std::vector<Section> form()
{
    const std::string verseToHome = std::string(verseHead) + std::string(verseHome);
    return {
        {&intro, false, "G | D", "-:16 | -:16"},
        {&verse, true, verseChords, verseToHome},
        {&verse, true, verseChords, std::string(verseHead) + std::string(verseOnward)},
        {&bridge, true, bridgeChords, std::string(bridgeMelody)},
        {&verse, true, verseChords, verseToHome},
        {&verse, false, "C D", "E5:2 G5:2 C6:4 F#5:2 A5:2 D6:4"},
        {&last, true, "G", "G5:12 -:4"},
    };
}

MidiTrack startTrack(const Voice& voice)
{
    MidiTrack track(voice.name);
    track.addProgram(0, voice.channel, voice.program);
    track.addController(0, voice.channel, 7, voice.volume);
    track.addController(0, voice.channel, 10, voice.pan);
    track.addController(0, voice.channel, 91, voice.reverb);
    return track;
}

Tick length(int steps)
{
    return static_cast<Tick>(steps) * ticksPerStep - articulationGap;
}

void playBass(MidiTrack& track, Tick barStart, const std::vector<Chord>& chords, std::string_view pattern)
{
    for (const Hit& hit : parsePattern(pattern)) {
        if (hit.symbol != 'r' && hit.symbol != 'f' && hit.symbol != 'o')
            throw std::invalid_argument("unknown bass note in a pattern");
        // Roots from C2 to B2 keep the bass low but clear on small speakers.
        const int root = keyAtOrAbove(chordAt(chords, hit.step).root, 36);
        const int key = hit.symbol == 'f' ? root + 7 : hit.symbol == 'o' ? root + 12 : root;
        track.addNote(barStart + hit.step * ticksPerStep, length(hit.steps), bass.channel, key,
                      hit.accented ? 110 : 96);
    }
}

void playPiano(MidiTrack& track, Tick barStart, const std::vector<Chord>& chords, std::string_view pattern)
{
    for (const Hit& hit : parsePattern(pattern)) {
        const Chord chord = chordAt(chords, hit.step);
        // Each chord tone at its lowest from G3 up keeps the hand in one place.
        for (const int interval : {0, chord.minor ? 3 : 4, 7}) {
            track.addNote(barStart + hit.step * ticksPerStep, length(hit.steps), piano.channel,
                          keyAtOrAbove(chord.root + interval, 55), hit.accented ? 84 : 70);
        }
    }
}

void playDrums(MidiTrack& track, Tick barStart, const std::vector<DrumLine>& lines)
{
    for (const DrumLine& line : lines) {
        for (const Hit& hit : parsePattern(line.pattern)) {
            track.addNote(barStart + hit.step * ticksPerStep, drumLength, drums.channel, line.key,
                          hit.accented ? 112 : 80);
        }
    }
}

void playMelody(MidiTrack& track, Tick sectionStart, const std::vector<Tone>& tones)
{
    for (const Tone& tone : tones) {
        const bool onBeat = tone.step % 4 == 0;
        track.addNote(sectionStart + tone.step * ticksPerStep, length(tone.steps), lead.channel, tone.key,
                      onBeat ? 104 : 92);
    }
}

} // namespace

std::string Rytmozan::midiFile() const
{
    MidiTrack conductor("Rytmozan");
    conductor.addTempo(0, microsecondsPerQuarter);
    conductor.addTimeSignature(0, 4, 2);

    MidiTrack melodyTrack = startTrack(lead);
    MidiTrack pianoTrack = startTrack(piano);
    MidiTrack bassTrack = startTrack(bass);
    MidiTrack drumTrack = startTrack(drums);

    Tick barStart = 0;
    for (const Section& section : form()) {
        const auto bars = parseChords(section.chords);
        const Melody melody = parseMelody(section.melody);
        if (static_cast<std::size_t>(melody.bars) != bars.size())
            throw std::invalid_argument("melody and chords of a section differ in length");

        playMelody(melodyTrack, barStart, melody.tones);
        for (std::size_t bar = 0; bar < bars.size(); ++bar) {
            const Groove& groove = *section.groove;
            const bool lastBar = bar + 1 == bars.size();
            playBass(bassTrack, barStart, bars[bar], groove.bass);
            playPiano(pianoTrack, barStart, bars[bar], groove.piano);
            playDrums(drumTrack, barStart, lastBar && !groove.fill.empty() ? groove.fill : groove.drums);
            if (bar == 0 && section.crashOnEntry)
                drumTrack.addNote(barStart, drumLength, drums.channel, crash, 112);
            barStart += stepsPerBar * ticksPerStep;
        }
    }

    return encodeMidiFile(ticksPerQuarter, {conductor, melodyTrack, pianoTrack, bassTrack, drumTrack}, barStart);
}

} // namespace tonovka::soundgen
