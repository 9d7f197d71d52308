#include "SdlAudioService.h"

#include "DiskAudioSession.h"
#include "HeldLoad.h"
#include "SoundFixtures.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <csignal>
#include <future>

using namespace tonovka;
using namespace tonovka::fixtures;

namespace {

// One buffer of output, all channels together.
constexpr qsizetype BufferSamples = MixerFormat::BufferFrames * MixerFormat::Channels;

} // namespace

class SdlAudioServiceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void waveSoundIsHeardOnceAndThenEnds();
    void midiTuneIsHeardOnceAndThenEnds();
    void bothSoundsTogetherCarryMoreEnergyThanEither();
    void closeSilencesTheMusicFromTheNextBuffer();
    void closingTheMusicLeavesTheSirenSounding();
    void callsReturnWhileTheAudioThreadIsStillLoading();
    void heldCommandsWaitForTheReleaseOrTheirTime_data();
    void heldCommandsWaitForTheReleaseOrTheirTime();
    void relativeNameIsFound_data();
    void relativeNameIsFound();
    void ctrlCIsLeftToTheProgram();
    void programEndsWithStatus0WhileTheMusicRenders();

private:
    static void skipWithoutSoundFont();
    // The output of one session that plays the sounds given and waits until both have ended.
    static QVector<qint16> playToTheEnd(const QByteArray& wave, const QByteArray& midi);
};

void SdlAudioServiceTest::skipWithoutSoundFont()
{
    if (installedSoundFont().isEmpty())
        QSKIP("MIDI needs the timgm6mb-soundfont package");
}

QVector<qint16> SdlAudioServiceTest::playToTheEnd(const QByteArray& wave, const QByteArray& midi)
{
    DiskAudioSession session;
    SdlAudioService& audio = session.audio();
    const int siren = audio.addPlayer();
    const int music = audio.addPlayer();
    if (!wave.isEmpty() && writeFile(session.path(QStringLiteral("siren.wav")), wave)) {
        audio.open(siren, AudioDevice::WaveAudio, session.path(QStringLiteral("siren.wav")));
        audio.play(siren);
    }
    if (!midi.isEmpty() && writeFile(session.path(QStringLiteral("rytmozan.mid")), midi)) {
        audio.open(music, AudioDevice::Sequencer, session.path(QStringLiteral("rytmozan.mid")));
        audio.play(music);
    }
    if (!audio.waitUntilDone(EventTimeout) || session.waitForSound() < 0 || !session.waitUntilSilent(siren) ||
        !session.waitUntilSilent(music))
        return {};
    return session.samples();
}

void SdlAudioServiceTest::waveSoundIsHeardOnceAndThenEnds()
{
    const QVector<qint16> samples = playToTheEnd(waveTone(300, 8000), {});

    const qsizetype first = firstLoudSample(samples);
    QVERIFY(first >= 0);
    qsizetype last = samples.size() - 1;
    while (last > first && std::abs(int(samples[last])) <= 64)
        --last;
    const double seconds = double(last - first) / SamplesPerSecond;
    QVERIFY2(seconds > 0.25 && seconds < 0.35, qPrintable(QString::number(seconds)));
    // Played at 96 of 128, the tone of 8000 reaches about 6000.
    const int loudest = peak(samples);
    QVERIFY2(loudest > 5500 && loudest < 6500, qPrintable(QString::number(loudest)));
}

void SdlAudioServiceTest::midiTuneIsHeardOnceAndThenEnds()
{
    skipWithoutSoundFont();
    const QVector<qint16> samples = playToTheEnd({}, midiTune(4));

    const qsizetype first = firstLoudSample(samples);
    QVERIFY(first >= 0);
    qsizetype last = samples.size() - 1;
    while (last > first && std::abs(int(samples[last])) <= 64)
        --last;
    // Four half-second notes and the echo of the last; a second round would last past 4 s.
    const double seconds = double(last - first) / SamplesPerSecond;
    QVERIFY2(seconds > 1.9 && seconds < 3.5, qPrintable(QString::number(seconds)));
    QVERIFY(peak(samples) > 1000);
}

void SdlAudioServiceTest::bothSoundsTogetherCarryMoreEnergyThanEither()
{
    skipWithoutSoundFont();
    const double wave = energy(playToTheEnd(waveTone(1000, 8000), {}));
    const double midi = energy(playToTheEnd({}, midiTune(2)));
    const QVector<qint16> bothSamples = playToTheEnd(waveTone(1000, 8000), midiTune(2));
    const double both = energy(bothSamples);

    QVERIFY(wave > 0 && midi > 0);
    // The two are mixed as a plain sum of unrelated sounds, so their energies add up.
    const QByteArray energies = QStringLiteral("%1 %2 %3").arg(wave).arg(midi).arg(both).toLatin1();
    QVERIFY2(both > std::max(wave, midi), energies.constData());
    QVERIFY2(std::abs(both - (wave + midi)) < 0.2 * (wave + midi), energies.constData());
    QVERIFY(peak(bothSamples) < 32767);
}

void SdlAudioServiceTest::closeSilencesTheMusicFromTheNextBuffer()
{
    skipWithoutSoundFont();
    DiskAudioSession session;
    SdlAudioService& audio = session.audio();
    const int music = audio.addPlayer();
    QVERIFY(writeFile(session.path(QStringLiteral("long.mid")), midiTune(20)));
    audio.open(music, AudioDevice::Sequencer, session.path(QStringLiteral("long.mid")));
    audio.play(music);
    const qsizetype start = session.waitForSound();
    QVERIFY(start >= 0);
    QVERIFY(session.waitForSamples(start + SamplesPerSecond / 2));

    const qsizetype beforeClose = session.samplesWritten();
    audio.close(music);
    QVERIFY(audio.waitUntilDone(EventTimeout));
    // The buffer being mixed as the close was carried out may still hold the tune; none after it.
    const qsizetype closedAt = session.samplesWritten() + BufferSamples;
    QVERIFY(session.waitForSamples(closedAt + SamplesPerSecond / 2));

    const QVector<qint16> samples = session.samples();
    QVERIFY(peak(samples, beforeClose - BufferSamples, beforeClose) > 64);
    QCOMPARE(peak(samples, closedAt), 0);
    QVERIFY(!audio.isSounding(music));
}

void SdlAudioServiceTest::closingTheMusicLeavesTheSirenSounding()
{
    skipWithoutSoundFont();
    DiskAudioSession session;
    SdlAudioService& audio = session.audio();
    const int siren = audio.addPlayer();
    const int music = audio.addPlayer();
    QVERIFY(writeFile(session.path(QStringLiteral("siren.wav")), waveTone(20000, 8000)));
    QVERIFY(writeFile(session.path(QStringLiteral("rytmozan.mid")), midiTune(20)));
    audio.open(siren, AudioDevice::WaveAudio, session.path(QStringLiteral("siren.wav")));
    audio.open(music, AudioDevice::Sequencer, session.path(QStringLiteral("rytmozan.mid")));
    audio.play(siren);
    audio.play(music);
    const qsizetype start = session.waitForSound();
    QVERIFY(start >= 0);
    QVERIFY(session.waitForSamples(start + SamplesPerSecond / 2));

    audio.close(music);
    QVERIFY(audio.waitUntilDone(EventTimeout));
    const qsizetype closedAt = session.samplesWritten() + BufferSamples;
    QVERIFY(session.waitForSamples(closedAt + SamplesPerSecond / 2));

    // The siren alone, played at 96 of 128, reaches about 6000; with the tune it would go higher.
    const int afterClose = peak(session.samples(), closedAt, closedAt + SamplesPerSecond / 2);
    QVERIFY2(afterClose > 5500 && afterClose < 6500, qPrintable(QString::number(afterClose)));
    QVERIFY(audio.isSounding(siren));
    QVERIFY(!audio.isSounding(music));
}

void SdlAudioServiceTest::callsReturnWhileTheAudioThreadIsStillLoading()
{
    HeldLoad load;
    {
        DiskAudioSession session({installedSoundFont()}, {}, "disk", load.libraries());
        SdlAudioService& audio = session.audio();
        const int siren = audio.addPlayer();
        QVERIFY(writeFile(session.path(QStringLiteral("siren.wav")), waveTone(300)));
        audio.open(siren, AudioDevice::WaveAudio, session.path(QStringLiteral("siren.wav")));
        QVERIFY(load.waitUntilLoading(EventTimeout));

        // The audio thread is in the load and stays there: every call must return all the same.
        auto calls = std::async(std::launch::async, [&audio, siren] {
            const int music = audio.addPlayer();
            audio.open(music, AudioDevice::Sequencer, QStringLiteral("rytmozan.mid"));
            audio.play(siren);
            audio.play(music);
            audio.close(music);
            return audio.isSounding(siren) && !audio.waitUntilDone(std::chrono::milliseconds(0));
        });
        const bool returned = calls.wait_for(EventTimeout) == std::future_status::ready;
        load.release();
        QVERIFY2(returned, "the calls waited for the audio thread");
        QVERIFY(calls.get());
        QVERIFY(audio.waitUntilDone(EventTimeout));
        QVERIFY(session.waitForSound() >= 0);
    }
}

void SdlAudioServiceTest::heldCommandsWaitForTheReleaseOrTheirTime_data()
{
    QTest::addColumn<bool>("released");
    QTest::newRow("released") << true;
    QTest::newRow("time up") << false;
}

void SdlAudioServiceTest::heldCommandsWaitForTheReleaseOrTheirTime()
{
    QFETCH(bool, released);
    using namespace std::chrono;
    HeldLoad load;
    // The held load is the first thing the first command does: it shows when the command starts.
    DiskAudioSession session({installedSoundFont()}, {}, "disk", load.libraries());
    SdlAudioService& audio = session.audio();
    const auto heldFor = released ? duration_cast<milliseconds>(hours(1)) : milliseconds(1000);
    const auto heldAt = steady_clock::now();
    audio.holdCommands(heldFor);
    audio.open(audio.addPlayer(), AudioDevice::WaveAudio, session.path(QStringLiteral("none.wav")));
    bool heldBack = true;
    if (released) {
        // Were the hold lost, the load would start at once: half a second is plenty to see it.
        heldBack = !load.waitUntilLoading(milliseconds(500));
        audio.releaseCommands();
    }
    const bool started = load.waitUntilLoading(EventTimeout);
    const auto startedAfter = steady_clock::now() - heldAt;
    load.release();

    QVERIFY(started);
    QVERIFY2(heldBack, "the command started before the release");
    if (!released)
        QVERIFY2(startedAfter >= heldFor, "the command started before its time was up");
    QVERIFY(audio.waitUntilDone(EventTimeout));
}

void SdlAudioServiceTest::relativeNameIsFound_data()
{
    QTest::addColumn<bool>("inWorkingDirectory");
    QTest::newRow("in the working directory") << true;
    QTest::newRow("in an installed folder only") << false;
}

void SdlAudioServiceTest::relativeNameIsFound()
{
    QFETCH(bool, inWorkingDirectory);
    QTemporaryDir installed;
    DiskAudioSession session({installedSoundFont()}, {installed.path()});
    const QString saved = QDir::currentPath();
    QVERIFY(QDir::setCurrent(session.path(QString())));
    QVERIFY(
        writeFile(inWorkingDirectory ? QStringLiteral("siren.wav") : installed.filePath(QStringLiteral("siren.wav")),
                  waveTone(300)));
    SdlAudioService& audio = session.audio();
    const int siren = audio.addPlayer();
    audio.open(siren, AudioDevice::WaveAudio, QStringLiteral("siren.wav"));
    audio.play(siren);
    const bool done = audio.waitUntilDone(EventTimeout);
    QDir::setCurrent(saved);

    QVERIFY(done);
    QVERIFY(session.waitForSound() >= 0);
}

void SdlAudioServiceTest::ctrlCIsLeftToTheProgram()
{
    struct sigaction before[2]{};
    QCOMPARE(::sigaction(SIGINT, nullptr, &before[0]), 0);
    QCOMPARE(::sigaction(SIGTERM, nullptr, &before[1]), 0);

    DiskAudioSession session;
    SdlAudioService& audio = session.audio();
    audio.open(audio.addPlayer(), AudioDevice::WaveAudio, session.path(QStringLiteral("none.wav")));
    QVERIFY(audio.waitUntilDone(EventTimeout));
    QVERIFY2(session.waitForSamples(1), "SDL has started");

    struct sigaction after[2]{};
    QCOMPARE(::sigaction(SIGINT, nullptr, &after[0]), 0);
    QCOMPARE(::sigaction(SIGTERM, nullptr, &after[1]), 0);
    QVERIFY(after[0].sa_handler == before[0].sa_handler);
    QVERIFY(after[1].sa_handler == before[1].sa_handler);
}

void SdlAudioServiceTest::programEndsWithStatus0WhileTheMusicRenders()
{
    // The tool plays the ten-second tune like the main window, and once it hears the tune in the
    // output it leaves with _exit(0), as the game does, while FluidSynth renders on. A limit of
    // seconds whose milliseconds pass an int must not end it first.
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("rytmozan.mid")), midiTune(20)));
    QProcess tool;
    tool.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    environment.insert(QStringLiteral("SDL_DISKAUDIOFILE"), dir.filePath(QStringLiteral("out.raw")));
    tool.setProcessEnvironment(environment);

    tool.start(QStringLiteral(TONOVKA_PLAYSOUNDS),
               {QStringLiteral("--seconds"), QStringLiteral("3000000"), QStringLiteral("--watch"),
                dir.filePath(QStringLiteral("out.raw")), QStringLiteral("--until-heard"), QStringLiteral("none.wav"),
                QStringLiteral("rytmozan.mid")});
    QVERIFY(tool.waitForFinished(int(std::chrono::milliseconds(EventTimeout).count())));
    QVERIFY2(tool.readAllStandardOutput().contains("first sound in"), "it ended once the tune was heard");

    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 0);
    const QVector<qint16> samples = rawSamples(dir.filePath(QStringLiteral("out.raw")));
    QVERIFY2(firstLoudSample(samples) >= 0, "the tune was heard");
    QVERIFY2(samples.size() < 10 * SamplesPerSecond, "the program ended before the tune");
}

QTEST_GUILESS_MAIN(SdlAudioServiceTest)
#include "SdlAudioServiceTest.moc"
