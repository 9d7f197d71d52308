// Feeds damaged copies of the game's two sounds and of its soundfont through the checks that
// every sound file passes (readSoundFile, looksLikeSoundFont) and the readers behind them (the
// tune's instruments, the soundfont's part for the tune), and, when they pass, through the
// program's audio engine as the program does (SDL_mixer for a WAV, FluidSynth for a MIDI file,
// and for the game's tune with a damaged soundfont), then plays each loaded sound for a while.
// Nothing may crash or hang.
//
//   sound_fuzz [--files N] [--seed S] [--first I] [--kinds all|wav|midi|soundfont] [--no-sdl]
//              [--play-ms M] [--timeout SECONDS] [--unchecked] [--keep DIR] [--memory-mb MB]
//              [--wav FILE] [--midi FILE] [--soundfont FILE] [--list]
//
// The copies are numbered from --first: a WAV copy where the number divided by 3 leaves 0, a
// MIDI copy where it leaves 1, a soundfont copy where it leaves 2.
// They run in a child process; when the child crashes or goes --timeout seconds without
// finishing a file, the parent notes that file, keeps it in --keep DIR, and a new child goes on
// with the next one. A file can be made again with --first I --files 1 and the same seed.
//
// Played means that the play call succeeded and the mixer then mixed --play-ms milliseconds of
// sound (FluidSynth reads a MIDI file's tracks only once it plays). The mixer runs on SDL's disk
// driver into a pipe that a thread empties, with a delay of 1 ms a buffer, so it mixes far faster than real time,
// unless SDL_AUDIODRIVER says otherwise.
//
// --unchecked also loads the files that the checks refuse, to see what the checks protect
// the program from. Exits with 0 when nothing crashed or hung, 1 otherwise, 2 on a usage error.

#include "AudioLibraries.h"
#include "FluidMusic.h"
#include "SdlEngine.h"
#include "SoundFileCheck.h"
#include "SoundFileSearch.h"
#include "SoundFontBank.h"
#include "SoundMutator.h"
#include "TuneSoundFont.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tonovka;
using namespace tonovka::reliability;

namespace {

struct Options {
    std::uint64_t files = 300;
    std::uint64_t seed = 1;
    std::uint64_t first = 0;
    SoundMutator::Kinds kinds = SoundMutator::Kinds::All;
    bool sdl = true;
    bool unchecked = false;
    bool list = false;
    int playMs = 1000;
    int timeoutSeconds = 20;
    long memoryMb = 4096;
    QString keep;
    QString wave = QStringLiteral(TONOVKA_SOURCE_DIR "/data/siren.wav");
    QString midi = QStringLiteral(TONOVKA_SOURCE_DIR "/data/rytmozan.mid");
    QString soundFont;
};

// What became of one file, as the child reports it to the parent on one line.
enum Outcome : int {
    Refused,    // the checks refused it
    Passed,     // it passed the checks (and SDL was not asked)
    SdlRefused, // it passed the checks and SDL would not load it
    Loaded,     // SDL loaded it and would not play it
    Played,     // SDL loaded it and played it, silently
    Audible,    // SDL loaded it and played it, and something was heard
    Crashed,
    Hung,
};

constexpr int KindCount = 3;
constexpr std::array<const char*, KindCount> KindNames{"WAV", "MIDI", "SF2"};

const char* kindName(SoundKind kind)
{
    return KindNames[std::size_t(kind)];
}

[[noreturn]] void usage(const char* reason)
{
    std::fprintf(stderr, "sound_fuzz: %s\n", reason);
    std::exit(2);
}

std::uint64_t number(const char* text)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (!text[0] || *end || errno)
        usage("not a whole number");
    return value;
}

Options parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> const char* {
            if (i + 1 >= argc)
                usage("an option lacks its value");
            return argv[++i];
        };
        if (arg == "--files")
            options.files = number(value());
        else if (arg == "--seed")
            options.seed = number(value());
        else if (arg == "--first")
            options.first = number(value());
        else if (arg == "--play-ms")
            options.playMs = int(number(value()));
        else if (arg == "--timeout")
            options.timeoutSeconds = int(number(value()));
        else if (arg == "--memory-mb")
            options.memoryMb = long(number(value()));
        else if (arg == "--keep")
            options.keep = QString::fromLocal8Bit(value());
        else if (arg == "--wav")
            options.wave = QString::fromLocal8Bit(value());
        else if (arg == "--midi")
            options.midi = QString::fromLocal8Bit(value());
        else if (arg == "--soundfont")
            options.soundFont = QString::fromLocal8Bit(value());
        else if (arg == "--no-sdl")
            options.sdl = false;
        else if (arg == "--unchecked")
            options.unchecked = true;
        else if (arg == "--list")
            options.list = true;
        else if (arg == "--kinds") {
            const std::string kinds = value();
            if (kinds == "all")
                options.kinds = SoundMutator::Kinds::All;
            else if (kinds == "wav")
                options.kinds = SoundMutator::Kinds::WaveOnly;
            else if (kinds == "midi")
                options.kinds = SoundMutator::Kinds::MidiOnly;
            else if (kinds == "soundfont")
                options.kinds = SoundMutator::Kinds::SoundFontOnly;
            else
                usage("--kinds takes all, wav, midi or soundfont");
        } else
            usage(("unknown option " + arg).c_str());
    }
    if (options.timeoutSeconds < 1)
        usage("--timeout must be at least 1");
    return options;
}

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        usage(("cannot read " + path.toStdString()).c_str());
    return file.readAll();
}

// ---- the child: checks, loads and plays ----

std::atomic<std::uint64_t> g_framesMixed{0};
std::atomic<int> g_peak{0}; // the loudest sample mixed since the last reset
constexpr int kQuiet = 64;  // about -54 dB below full scale

void countMixed(void*, Uint8* stream, int bytes)
{
    int peak = g_peak;
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    for (int i = 0; i < bytes / 2; ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    g_peak = peak;
    g_framesMixed += std::uint64_t(bytes) / MixerFormat::BytesPerFrame;
}

class Child {
public:
    Child(const Options& options, const SoundMutator& mutator, const QByteArray& tune, int report, QString folder)
        : m_options(options), m_mutator(mutator), m_tune(tune), m_report(report), m_folder(std::move(folder))
    {
    }

    int run(std::uint64_t from)
    {
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer reserves terabytes of address space for itself
        if (m_options.memoryMb > 0) {
            const rlim_t bytes = rlim_t(m_options.memoryMb) * 1024 * 1024;
            const rlimit limit{bytes, bytes};
            setrlimit(RLIMIT_AS, &limit);
        }
#endif
        if (m_options.sdl && !startSdl())
            return 3;
        for (std::uint64_t index = from; index < m_options.first + m_options.files; ++index) {
            const MutatedFile file = m_mutator.make(index, m_options.kinds);
            say("B %" PRIu64 "\n", index);
            const auto started = std::chrono::steady_clock::now();
            const Outcome outcome = handle(index, file);
            const auto took =
                std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
            say("E %" PRIu64 " %d %d %d %lld\n", index, int(outcome), int(m_problem), int(m_partMade),
                (long long)took.count());
        }
        m_music.reset();
        m_engine.reset();
        return 0;
    }

private:
    template <typename... Args> void say(const char* format, Args... args)
    {
        char line[128];
        const int length = std::snprintf(line, sizeof line, format, args...);
        if (::write(m_report, line, std::size_t(length)) != length)
            std::_Exit(4);
    }

    // A pipe whose reading end a thread empties for good. SDL's disk driver takes a pipe as its
    // output on every SDL 2 release; since 2.32 it refuses /dev/null, which is not a regular file.
    static std::string discardingPipe()
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return "/dev/null";
        std::thread([reader = ends[0]] {
            char buffer[65536];
            for (;;) {
                const ssize_t got = ::read(reader, buffer, sizeof buffer);
                if (got == 0 || (got < 0 && errno != EINTR))
                    return;
            }
        }).detach();
        return "/proc/self/fd/" + std::to_string(ends[1]);
    }

    bool startSdl()
    {
        // A mixer that runs far faster than real time and writes nowhere, unless asked otherwise.
        ::setenv("SDL_AUDIODRIVER", "disk", 0);
        if (!::getenv("SDL_DISKAUDIOFILE"))
            ::setenv("SDL_DISKAUDIOFILE", discardingPipe().c_str(), 1);
        ::setenv("SDL_DISKAUDIODELAY", "1", 0);
        QString error;
        const AudioLibraries* libraries = loadAudioLibraries(installedAudioLibraries(), error);
        if (libraries)
            m_engine = std::make_unique<SdlEngine>(*libraries, QStringList());
        if (!m_engine || !m_engine->start()) {
            std::fprintf(stderr, "sound_fuzz: the audio engine cannot start: %s\n",
                         m_engine ? qPrintable(m_engine->lastError()) : qPrintable(error));
            return false;
        }
        // Each tune with the soundfont it is given, which the engine's own music, given its
        // soundfonts once, cannot take; this music renders into the mixer in place of the engine's.
        m_music = std::make_unique<FluidMusic>(*libraries, MixerFormat::SampleRate, 0.75);
        // The module's SDL_mixer is the one this program links: its output is counted here.
        Mix_SetPostMix(countMixed, nullptr);
        return true;
    }

    Outcome handle(std::uint64_t index, const MutatedFile& file)
    {
        // Each soundfont by a name of its own: the engine reads a soundfont again only by another name.
        const QString name = file.kind == SoundKind::Wave   ? QStringLiteral("sound.wav")
                             : file.kind == SoundKind::Midi ? QStringLiteral("sound.mid")
                                                            : QStringLiteral("bank-%1.sf2").arg(index);
        const QString path = m_folder + u'/' + name;
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(file.bytes) != file.bytes.size())
            std::_Exit(5);
        out.close();
        m_partMade = -1;
        if (file.kind == SoundKind::SoundFont) {
            const Outcome outcome = handleSoundFont(path);
            QFile::remove(path);
            return outcome;
        }
        const AudioDevice device = file.kind == SoundKind::Wave ? AudioDevice::WaveAudio : AudioDevice::Sequencer;
        const SoundFileContents contents = readSoundFile(path, device);
        m_problem = contents.problem;
        const bool passed = contents.problem == SoundFileProblem::None;
        if (passed && contents.bytes != file.bytes)
            std::_Exit(6); // the checks must hand on the file as it is
        if (passed && device == AudioDevice::Sequencer)
            instrumentsOfTune(contents.bytes.toStdString());
        if (!m_options.sdl || (!passed && !m_options.unchecked))
            return passed ? Passed : Refused;
        return loadAndPlay(passed ? contents.bytes : file.bytes, file.kind, m_options.soundFont);
    }

    // The check that chooses a soundfont, the reader that makes the tune's part of it (every byte
    // of which is read here), then the game's tune played with it.
    Outcome handleSoundFont(const QString& path)
    {
        const bool passed = looksLikeSoundFont(path.toStdU16String());
        m_problem = passed ? SoundFileProblem::None : SoundFileProblem::WrongContent;
        const auto part = soundFontForTune(path.toStdU16String(), instrumentsOfTune(m_tune.toStdString()));
        m_partMade = part != nullptr;
        if (part) {
            std::string bytes(std::size_t(std::min<std::int64_t>(part->size(), 1 << 20)), '\0');
            for (std::int64_t at = 0; at < part->size(); at += std::int64_t(bytes.size())) {
                if (!part->read(at, bytes.data(),
                                std::size_t(std::min<std::int64_t>(part->size() - at, std::int64_t(bytes.size())))))
                    std::_Exit(7); // the part holds together, or is not made
            }
        }
        if (!m_options.sdl || (!passed && !m_options.unchecked))
            return passed ? Passed : Refused;
        return loadAndPlay(m_tune, SoundKind::Midi, path);
    }

    Outcome loadAndPlay(const QByteArray& bytes, SoundKind kind, const QString& soundFont)
    {
        constexpr int player = 1;
        const bool wave = kind == SoundKind::Wave;
        QString error;
        const bool loaded = wave ? m_engine->loadWave(player, bytes) : m_music->load(bytes, soundFont, error);
        if (!loaded)
            return SdlRefused;
        g_peak = 0;
        if (wave)
            m_engine->play(player);
        else
            m_music->play();
        const bool playing = wave ? m_engine->isSounding(player) : m_music->isPlaying();
        if (playing) {
            const std::uint64_t until =
                g_framesMixed + std::uint64_t(m_options.playMs) * MixerFormat::SampleRate / 1000;
            while (g_framesMixed < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (wave)
            m_engine->release(player);
        else
            m_music->stop();
        // FluidSynth dithers its output, so that even silence has samples of 1 or 2 in it.
        return !playing ? Loaded : g_peak > kQuiet ? Audible : Played;
    }

    const Options& m_options;
    const SoundMutator& m_mutator;
    const QByteArray& m_tune;
    int m_report;
    QString m_folder;
    SoundFileProblem m_problem = SoundFileProblem::None;
    int m_partMade = -1; // for a soundfont: whether the reader made the tune's part of it
    std::unique_ptr<AudioEngine> m_engine;
    std::unique_ptr<FluidMusic> m_music;
};

// ---- the parent: runs children, watches them, counts ----

struct Counts {
    std::uint64_t files = 0;
    std::uint64_t passed = 0;
    std::map<SoundFileProblem, std::uint64_t> refused;
    std::uint64_t sdlRefused = 0;
    std::uint64_t loaded = 0;
    std::uint64_t played = 0;
    std::uint64_t audible = 0;
    std::uint64_t crashed = 0;
    std::uint64_t hung = 0;
    std::uint64_t refusedButLoaded = 0; // --unchecked only
    std::uint64_t partMade = 0;         // soundfonts whose part for the tune the reader made
};

class Parent {
public:
    Parent(const Options& options, const SoundMutator& mutator, const QByteArray& tune, QString folder)
        : m_options(options), m_mutator(mutator), m_tune(tune), m_folder(std::move(folder))
    {
    }

    int run()
    {
        const std::uint64_t end = m_options.first + m_options.files;
        std::uint64_t next = m_options.first;
        while (next < end) {
            const std::uint64_t stopped = runChild(next);
            if (stopped == UINT64_MAX)
                return 3;
            next = stopped;
        }
        report();
        return badFiles() == 0 ? 0 : 1;
    }

private:
    // Runs a child from file `from`; gives the number of the file to go on with.
    std::uint64_t runChild(std::uint64_t from)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return UINT64_MAX;
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid < 0)
            return UINT64_MAX;
        if (pid == 0) {
            ::close(fds[0]);
            Child child(m_options, m_mutator, m_tune, fds[1], m_folder);
            std::_Exit(child.run(from));
        }
        ::close(fds[1]);
        std::string pending;
        std::int64_t current = -1; // the file that the child is on
        bool timedOut = false;
        char buffer[4096];
        for (;;) {
            pollfd watch{fds[0], POLLIN, 0};
            const int ready = ::poll(&watch, 1, m_options.timeoutSeconds * 1000);
            if (ready == 0) {
                timedOut = true;
                ::kill(pid, SIGKILL);
                break;
            }
            if (ready < 0 && errno == EINTR)
                continue;
            const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            pending.append(buffer, std::size_t(got));
            std::size_t newline;
            while ((newline = pending.find('\n')) != std::string::npos) {
                const std::string line = pending.substr(0, newline);
                pending.erase(0, newline + 1);
                current = take(line, current);
            }
        }
        ::close(fds[0]);
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        if (current < 0) {
            // Ended between files: all is well only when it came to the end.
            if (!timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0)
                return m_options.first + m_options.files;
            if (WIFEXITED(status) && WEXITSTATUS(status) == 3) {
                std::fprintf(stderr, "sound_fuzz: the child could not start SDL\n");
                return UINT64_MAX;
            }
            std::fprintf(stderr, "sound_fuzz: the child ended between files (status %d)\n", status);
            return UINT64_MAX;
        }
        const auto index = std::uint64_t(current);
        const MutatedFile file = m_mutator.make(index, m_options.kinds);
        Counts& counts = m_counts[int(file.kind)];
        ++counts.files;
        ++m_byMutation[int(file.kind)][file.mutation][timedOut ? Hung : Crashed];
        std::string how;
        if (timedOut) {
            ++counts.hung;
            how = "hung (no end within " + std::to_string(m_options.timeoutSeconds) + " s)";
        } else {
            ++counts.crashed;
            how = WIFSIGNALED(status) ? std::string("crashed: signal ") + strsignal(WTERMSIG(status))
                                      : "ended with status " + std::to_string(WEXITSTATUS(status));
        }
        const QString kept = keep(index, file, timedOut ? "hang" : "crash");
        std::printf("FILE %" PRIu64 " (%s, %s) %s%s%s\n", index, kindName(file.kind), mutationName(file.mutation),
                    how.c_str(), kept.isEmpty() ? "" : "; kept as ", kept.toLocal8Bit().constData());
        std::printf("  again: sound_fuzz --seed %" PRIu64 " --first %" PRIu64 " --files 1%s\n", m_options.seed, index,
                    m_options.kinds == SoundMutator::Kinds::All ? "" : " --kinds (as before)");
        std::fflush(stdout);
        return index + 1;
    }

    // Counts an "E" line; gives the file the child is on after the line.
    std::int64_t take(const std::string& line, std::int64_t current)
    {
        unsigned long long index = 0;
        int outcome = 0;
        int problem = 0;
        int partMade = -1;
        long long micros = 0;
        if (std::sscanf(line.c_str(), "B %llu", &index) == 1)
            return std::int64_t(index);
        if (std::sscanf(line.c_str(), "E %llu %d %d %d %lld", &index, &outcome, &problem, &partMade, &micros) != 5)
            return current;
        const MutatedFile file = m_mutator.make(index, m_options.kinds);
        const int kind = int(file.kind);
        Counts& counts = m_counts[kind];
        ++counts.files;
        counts.partMade += partMade == 1;
        const auto why = SoundFileProblem(problem);
        if (why == SoundFileProblem::None) {
            ++counts.passed;
        } else {
            ++counts.refused[why];
            if (outcome == Loaded || outcome == Played || outcome == Audible)
                ++counts.refusedButLoaded;
        }
        if (why == SoundFileProblem::None || m_options.unchecked) {
            if (outcome == SdlRefused)
                ++counts.sdlRefused;
            if (outcome == Loaded || outcome == Played || outcome == Audible)
                ++counts.loaded;
            if (outcome == Played || outcome == Audible)
                ++counts.played;
            if (outcome == Audible)
                ++counts.audible;
        }
        ++m_byMutation[kind][file.mutation][outcome];
        if (micros > m_slowestMicros) {
            m_slowestMicros = micros;
            m_slowest = index;
        }
        if (m_options.list)
            std::printf("file %llu %s %s %s outcome=%d %.1f ms\n", index, kindName(file.kind),
                        mutationName(file.mutation), soundFileProblemName(why), outcome, double(micros) / 1000);
        return -1;
    }

    QString keep(std::uint64_t index, const MutatedFile& file, const char* what) const
    {
        if (m_options.keep.isEmpty())
            return {};
        QDir().mkpath(m_options.keep);
        const QString path = QStringLiteral("%1/%2-%3-%4.%5")
                                 .arg(m_options.keep, QString::fromLatin1(what))
                                 .arg(index, 6, 10, QLatin1Char('0'))
                                 .arg(QString::fromLatin1(mutationName(file.mutation)),
                                      QString::fromLatin1(std::array{"wav", "mid", "sf2"}[std::size_t(file.kind)]));
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(file.bytes);
        return path;
    }

    void report() const
    {
        std::printf("sound_fuzz: seed %" PRIu64 ", files %" PRIu64 " to %" PRIu64 "%s%s\n", m_options.seed,
                    m_options.first, m_options.first + m_options.files - 1,
                    m_options.sdl ? "" : ", checks only (no SDL)",
                    m_options.unchecked ? ", refused files loaded too (--unchecked)" : "");
        if (m_options.sdl)
            std::printf("  played = the play call succeeded and %d ms of sound were mixed after it;"
                        " audible = and some of it was louder than -54 dB\n",
                        m_options.playMs);
        std::printf("  for SF2: passed = looks whole to the soundfont check; part = the reader made the tune's part"
                    " (else the engine gives FluidSynth the whole file)\n");
        std::printf("%-5s %6s %7s %8s %-32s %6s %7s %7s %7s %8s %8s %5s\n", "kind", "files", "passed", "refused",
                    "(wrong-content/incomplete/other)", "part", "sdl-ok", "sdl-no", "played", "audible", "crashed",
                    "hung");
        for (int kind = 0; kind < KindCount; ++kind) {
            const Counts& c = m_counts[kind];
            if (c.files == 0)
                continue;
            std::uint64_t refused = 0;
            for (const auto& [problem, n] : c.refused)
                refused += n;
            const auto of = [&](SoundFileProblem p) {
                const auto found = c.refused.find(p);
                return found == c.refused.end() ? std::uint64_t(0) : found->second;
            };
            const std::uint64_t other = refused - of(SoundFileProblem::WrongContent) - of(SoundFileProblem::Incomplete);
            char detail[64];
            std::snprintf(detail, sizeof detail, "(%" PRIu64 "/%" PRIu64 "/%" PRIu64 ")",
                          of(SoundFileProblem::WrongContent), of(SoundFileProblem::Incomplete), other);
            const std::string part = kind == int(SoundKind::SoundFont) ? std::to_string(c.partMade) : "";
            std::printf("%-5s %6" PRIu64 " %7" PRIu64 " %8" PRIu64 " %-32s %6s %7" PRIu64 " %7" PRIu64 " %7" PRIu64
                        " %8" PRIu64 " %8" PRIu64 " %5" PRIu64 "\n",
                        KindNames[std::size_t(kind)], c.files, c.passed, refused, detail, part.c_str(), c.loaded,
                        c.sdlRefused, c.played, c.audible, c.crashed, c.hung);
            if (m_options.unchecked)
                std::printf("      of the refused files, SDL loaded %" PRIu64 "\n", c.refusedButLoaded);
        }
        std::printf("by damage (files: refused / passed, no SDL / sdl-refused / loaded, not played / played silent"
                    " / audible / crashed / hung)\n");
        for (int kind = 0; kind < KindCount; ++kind) {
            for (const auto& [mutation, outcomes] : m_byMutation[kind]) {
                const auto n = [&](Outcome o) {
                    const auto found = outcomes.find(o);
                    return found == outcomes.end() ? std::uint64_t(0) : found->second;
                };
                std::printf("  %-4s %-18s %4" PRIu64 " / %4" PRIu64 " / %4" PRIu64 " / %4" PRIu64 " / %4" PRIu64
                            " / %4" PRIu64 " / %4" PRIu64 " / %4" PRIu64 "\n",
                            KindNames[std::size_t(kind)], mutationName(mutation), n(Refused), n(Passed), n(SdlRefused),
                            n(Loaded), n(Played), n(Audible), n(Crashed), n(Hung));
            }
        }
        std::printf("slowest file: %" PRIu64 ", %.1f ms\n", m_slowest, double(m_slowestMicros) / 1000);
        std::uint64_t files = 0;
        for (const Counts& c : m_counts)
            files += c.files;
        const std::uint64_t bad = badFiles();
        std::printf("%s: %" PRIu64 " crashed or hung of %" PRIu64 " files\n", bad ? "FAILED" : "ok", bad, files);
    }

    std::uint64_t badFiles() const
    {
        std::uint64_t bad = 0;
        for (const Counts& c : m_counts)
            bad += c.crashed + c.hung;
        return bad;
    }

    const Options& m_options;
    const SoundMutator& m_mutator;
    const QByteArray& m_tune;
    QString m_folder;
    Counts m_counts[KindCount];
    std::map<Mutation, std::map<int, std::uint64_t>> m_byMutation[KindCount];
    long long m_slowestMicros = 0;
    std::uint64_t m_slowest = 0;
};

} // namespace

int main(int argc, char** argv)
{
    Options options = parse(argc, argv);
    if (options.soundFont.isEmpty())
        options.soundFont = findSoundFont(soundFontCandidates({}));
    const QByteArray wave = readWhole(options.wave);
    const QByteArray midi = readWhole(options.midi);
    // The unchanged files must pass, or every count below means nothing.
    for (const auto& [path, device] :
         {std::pair{options.wave, AudioDevice::WaveAudio}, std::pair{options.midi, AudioDevice::Sequencer}}) {
        if (readSoundFile(path, device).problem != SoundFileProblem::None)
            usage(("the unchanged file does not pass the checks: " + path.toStdString()).c_str());
    }
    if (options.soundFont.isEmpty() || !looksLikeSoundFont(options.soundFont.toStdU16String()) ||
        !soundFontForTune(options.soundFont.toStdU16String(), instrumentsOfTune(midi.toStdString())))
        usage("no whole soundfont (the timgm6mb-soundfont package, or --soundfont FILE)");
    const SoundMutator mutator(wave, midi, readWhole(options.soundFont), options.seed);

    const QString base = QString::fromLocal8Bit(qgetenv("TMPDIR").isEmpty() ? "/tmp" : qgetenv("TMPDIR"));
    QByteArray pattern = QFile::encodeName(base + QStringLiteral("/sound_fuzz.XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        usage("cannot make a temporary folder");
    const QString work = QFile::decodeName(pattern);
    std::signal(SIGPIPE, SIG_IGN);
    Parent parent(options, mutator, midi, work);
    const int result = parent.run();
    QDir(work).removeRecursively();
    return result;
}
