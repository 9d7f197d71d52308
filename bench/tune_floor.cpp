// tune_floor: the floor under the CPU of a game whose music plays: a bare Qt program with the
// game's two 1 ms precise timers and no window, which keeps the tune playing through SDL_mixer's
// own MIDI player with the soundfont the game uses. index_cpu's "game" phase against it says what
// the game costs above a program that only ticks the same timers and plays the same tune.
//
//   tune_floor [--seconds N] [TUNE]   (10 s; rytmozan.mid in the working directory by default)
//
// As index_cpu does, it lets the tune settle for half a second, then takes the process CPU (all
// threads) over N seconds and prints "result floor cpu=PERCENT". SDL_AUDIODRIVER picks the
// output, as for the game.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "AudioEngine.h"
#include "SoundFileSearch.h"

namespace {

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int seconds = 10;
    QString tune = QStringLiteral("rytmozan.mid");
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seconds") && i + 1 < args.size())
            // A day at most, which a Qt timer counts in milliseconds without overflowing.
            seconds = int(std::clamp(args[++i].toLongLong(), 1LL, 24LL * 3600));
        else
            tune = args[i];
    }

    QTimer timers[2];
    for (QTimer& timer : timers) {
        timer.setTimerType(Qt::PreciseTimer);
        timer.start(1);
    }

    // The game's output format and soundfont; SDL_mixer reads the tune and the soundfont itself.
    const QByteArray soundFont = QFile::encodeName(tonovka::debianSoundFont());
    using tonovka::MixerFormat;
    if (SDL_Init(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudio(MixerFormat::SampleRate, AUDIO_S16SYS, MixerFormat::Channels, MixerFormat::BufferFrames) != 0) {
        std::fprintf(stderr, "tune_floor: no audio: %s\n", SDL_GetError());
        return 1;
    }
    Mix_SetSoundFonts(soundFont.constData());
    Mix_Music* music = Mix_LoadMUS(QFile::encodeName(tune).constData());
    if (!music || Mix_PlayMusic(music, 0) != 0) {
        std::fprintf(stderr, "tune_floor: the tune does not play: %s\n", Mix_GetError());
        return 1;
    }

    double cpu0 = 0;
    QElapsedTimer wall;
    QTimer::singleShot(500, [&] {
        cpu0 = processCpuSeconds();
        wall.start();
        QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, [&] {
            const double cpu = 100 * (processCpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
            std::printf("result floor cpu=%.3f playing=%d\n", cpu, Mix_PlayingMusic());
            QCoreApplication::exit(0);
        });
    });
    const int status = QCoreApplication::exec();
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    SDL_Quit();
    return status;
}
