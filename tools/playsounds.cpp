// Plays the siren and the music through the real audio service, the way the two screens do, and
// prints how long each call took. For a listening check, or a timing check on SDL's disk driver:
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/tmp/out.raw playsounds --watch /tmp/out.raw
//
// Options: --seconds N    stop after N seconds (by default when both sounds have ended)
//          --watch FILE   print when the first sound appears in SDL's disk output FILE
//          --until-heard  stop as soon as the first sound appears there
//          --warm         load the audio module and open the device before the clock starts, as
//                         the siren has done by the time the game opens the music
// then the names of the WAV and the MIDI file (siren.wav and rytmozan.mid by default).
// It ends with _exit(0) while anything may still play, as the game does.

#include "SdlAudioService.h"
#include "SoundPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include <unistd.h>

using namespace tonovka;

namespace {

// Watches the raw samples that SDL's disk driver writes, for the first one that is not silence.
class FirstSoundWatch {
public:
    explicit FirstSoundWatch(const QString& path) : m_file(path) {}

    bool heard()
    {
        if (m_heard)
            return true;
        if (!m_file.isOpen() && !m_file.open(QIODevice::ReadOnly))
            return false;
        m_pending += m_file.readAll();
        const qsizetype whole = m_pending.size() / 2 * 2;
        for (qsizetype i = 0; i < whole && !m_heard; i += 2)
            m_heard = qAbs(qint16(quint8(m_pending[i]) | quint8(m_pending[i + 1]) << 8)) > 64;
        m_pending.remove(0, whole);
        return m_heard;
    }

private:
    QFile m_file;
    QByteArray m_pending;
    bool m_heard = false;
};

double microseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1000.0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    int seconds = 0;
    QString watchPath;
    bool warm = false;
    bool untilHeard = false;
    while (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--"))) {
        const QString option = arguments.takeFirst();
        if (option == QLatin1String("--warm"))
            warm = true;
        else if (option == QLatin1String("--until-heard"))
            untilHeard = true;
        else if (option == QLatin1String("--seconds") && !arguments.isEmpty()) {
            bool isNumber = false;
            seconds = arguments.takeFirst().toInt(&isNumber);
            if (!isNumber || seconds < 0) {
                std::fprintf(stderr, "playsounds: --seconds takes a whole number of seconds\n");
                return 2;
            }
        } else if (option == QLatin1String("--watch") && !arguments.isEmpty())
            watchPath = arguments.takeFirst();
        else {
            std::fprintf(stderr, "playsounds: unknown option or missing value: %s\n", qPrintable(option));
            return 2;
        }
    }
    if (untilHeard && watchPath.isEmpty()) {
        std::fprintf(stderr, "playsounds: --until-heard needs --watch FILE, where the first sound is heard\n");
        return 2;
    }
    // std::chrono's milliseconds hold any int of seconds; an int of them would overflow past 24 days.
    const std::chrono::milliseconds limit = std::chrono::seconds(seconds);
    const QString wave = arguments.value(0, QStringLiteral("siren.wav"));
    const QString midi = arguments.value(1, QStringLiteral("rytmozan.mid"));

    SdlAudioService audio;
    SoundPlayer siren(audio);
    SoundPlayer music(audio);
    siren.setDeviceType(QStringLiteral("waveaudio"));
    siren.setFileName(wave);
    music.setDeviceType(QStringLiteral("sequencer"));
    music.setFileName(midi);

    if (warm) {
        // A sound that is not there still starts the audio.
        audio.open(audio.addPlayer(), AudioDevice::WaveAudio, QStringLiteral("/nonexistent.wav"));
        audio.waitUntilDone(std::chrono::seconds(10));
    }
    QElapsedTimer sinceOpen;
    sinceOpen.start();
    QElapsedTimer call;
    double took[4];
    call.start();
    siren.command(QStringLiteral("open"));
    took[0] = microseconds(call);
    call.start();
    siren.command(QStringLiteral("play"));
    took[1] = microseconds(call);
    call.start();
    music.command(QStringLiteral("open"));
    took[2] = microseconds(call);
    call.start();
    music.command(QStringLiteral("play"));
    took[3] = microseconds(call);
    std::printf("calls returned after (us): siren open %.1f, play %.1f; music open %.1f, play %.1f\n", took[0], took[1],
                took[2], took[3]);

    std::optional<FirstSoundWatch> watch;
    if (!watchPath.isEmpty())
        watch.emplace(watchPath);
    bool reported = false;
    for (;;) {
        if (watch && !reported && watch->heard()) {
            reported = true;
            std::printf("first sound in %s %.1f ms after the first open\n", qPrintable(watchPath),
                        double(sinceOpen.nsecsElapsed()) / 1e6);
        }
        const bool playing =
            siren.state() == SoundPlayer::State::Playing || music.state() == SoundPlayer::State::Playing;
        if ((seconds > 0 && std::chrono::milliseconds(sinceOpen.elapsed()) >= limit) ||
            (seconds == 0 && !untilHeard && !playing) || (untilHeard && reported))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(watch && !reported ? 1 : 50));
    }
    std::printf("ending after %.1f s\n", double(sinceOpen.elapsed()) / 1000.0);
    std::fflush(stdout);
    _exit(0);
}
