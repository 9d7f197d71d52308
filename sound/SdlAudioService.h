#pragma once

#include "AudioService.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace tonovka {

// The audio service of the program: SDL_mixer plays WAV files on a channel per player, and
// FluidSynth renders MIDI files into its output.
//
// Loading the audio libraries, opening the device and reading a soundfont can take from
// milliseconds to seconds, so all of it runs on one audio thread of this service, which carries
// out the commands in the order they were given. Every call returns to the user-interface thread at once. Nothing needs
// this thread to be stopped at the end: the program may leave with _exit() while sounds play. Destroying the service
// (as tests do) stops the sounds and waits for the thread.
class SdlAudioService final : public AudioService {
public:
    // Looks for sounds in the working directory, then the installed folders; uses the Debian
    // soundfont or one installed with the game, and the installed audio libraries.
    SdlAudioService();
    // folders: where to look for a sound that the working directory lacks.
    // soundFonts: the soundfonts to try, in order; the first whole one is used.
    // libraries: the audio libraries to load (see loadAudioLibraries).
    SdlAudioService(QStringList folders, QStringList soundFonts, QStringList libraries);
    ~SdlAudioService() override;
    SdlAudioService(const SdlAudioService&) = delete;
    SdlAudioService& operator=(const SdlAudioService&) = delete;

    int addPlayer() override;
    void open(int player, AudioDevice device, const QString& fileName) override;
    void play(int player) override;
    void close(int player) override;
    bool isSounding(int player) const override;

    // The audio thread keeps the commands given from now on until releaseCommands(), or until
    // atMost has passed: loading the libraries takes the processor for tens of milliseconds,
    // which the first window would otherwise share with it.
    void holdCommands(std::chrono::milliseconds atMost);
    void releaseCommands();

    // For tests and tools, never for a screen: waits until every command given so far has been
    // carried out, or the time is up. Tells whether they were.
    bool waitUntilDone(std::chrono::milliseconds timeout);

private:
    enum class Kind { Open, Play, Close };
    struct Command {
        Kind kind;
        int player;
        AudioDevice device = AudioDevice::WaveAudio;
        QString fileName;
    };

    void give(Command command);
    void run(QStringList folders, QStringList soundFonts, QStringList libraries);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake; // a command came, or the end
    std::condition_variable m_done; // the queue ran empty
    std::deque<Command> m_commands;
    bool m_busy = false; // a command is being carried out
    bool m_ending = false;
    bool m_held = false; // commands wait for releaseCommands() or m_heldUntil
    std::chrono::steady_clock::time_point m_heldUntil;
    std::map<int, int> m_playsWaiting; // "play" commands not carried out yet, per player
    std::set<int> m_sounding;          // players heard at the last look
    int m_players = 0;
    std::thread m_thread; // last, so that it starts after everything it uses
};

} // namespace tonovka
