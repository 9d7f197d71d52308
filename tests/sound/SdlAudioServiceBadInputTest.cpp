#include "SdlAudioService.h"

#include "DamagedSounds.h"
#include "DiskAudioSession.h"
#include "SoundFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

using namespace tonovka;
using namespace tonovka::fixtures;

Q_DECLARE_METATYPE(tonovka::AudioDevice)

namespace {

// Sends everything written on stderr to a file for as long as it lives.
class StderrCapture {
public:
    explicit StderrCapture(int file)
    {
        std::fflush(stderr);
        m_saved = ::dup(2);
        ::dup2(file, 2);
    }
    ~StderrCapture()
    {
        std::fflush(stderr);
        ::dup2(m_saved, 2);
        ::close(m_saved);
    }

private:
    int m_saved;
};

} // namespace

class SdlAudioServiceBadInputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void badFileLeavesThePlayerSilentAndTheServiceWorking_data();
    void badFileLeavesThePlayerSilentAndTheServiceWorking();
    void noAudioMakesEveryCallHarmless_data();
    void noAudioMakesEveryCallHarmless();
    void badSoundFontSilencesAtMostTheMusic_data();
    void badSoundFontSilencesAtMostTheMusic();
    void libraryMessagesStayOffStderr();
};

void SdlAudioServiceBadInputTest::badFileLeavesThePlayerSilentAndTheServiceWorking_data()
{
    QTest::addColumn<AudioDevice>("device");
    QTest::addColumn<QString>("kind");
    for (const AudioDevice device : {AudioDevice::WaveAudio, AudioDevice::Sequencer}) {
        for (const DamagedSound& sound : damagedSounds()) {
            QTest::addRow("%s: %s", qPrintable(audioDeviceName(device)), sound.kind)
                << device << QString::fromLatin1(sound.kind);
        }
    }
}

void SdlAudioServiceBadInputTest::badFileLeavesThePlayerSilentAndTheServiceWorking()
{
    QFETCH(AudioDevice, device);
    QFETCH(QString, kind);
    if (device == AudioDevice::Sequencer && installedSoundFont().isEmpty())
        QSKIP("MIDI needs the timgm6mb-soundfont package");
    if (kind == QLatin1String("unreadable") && ::geteuid() == 0)
        QSKIP("the superuser reads a file without permissions; SoundFileCheckTest covers the refusal");
    DiskAudioSession session;
    QString path =
        session.path(device == AudioDevice::WaveAudio ? QStringLiteral("siren.wav") : QStringLiteral("rytmozan.mid"));
    QVERIFY(makeDamagedSound(qPrintable(kind), path, device));
    SdlAudioService& audio = session.audio();
    const int player = audio.addPlayer();

    audio.open(player, device, path);
    audio.play(player);
    QVERIFY2(audio.waitUntilDone(EventTimeout), "the audio thread must not hang");
    QVERIFY(!audio.isSounding(player));
    QVERIFY(session.waitForSamples(SamplesPerSecond / 4));
    QCOMPARE(peak(session.samples()), 0);

    // The same player, given a good file now, is heard.
    const QString good = session.path(QStringLiteral("good"));
    QVERIFY(writeFile(good, goodSound(device)));
    const qsizetype before = session.samplesWritten();
    audio.open(player, device, good);
    audio.play(player);
    QVERIFY2(session.waitForSound(before) >= 0, "a good file after the bad one must be heard");
}

void SdlAudioServiceBadInputTest::noAudioMakesEveryCallHarmless_data()
{
    QTest::addColumn<QByteArray>("driver");
    QTest::addColumn<QString>("library");
    QTest::newRow("no audio device") << QByteArray("nosuchdriver") << QString();
    QTest::newRow("an audio library missing")
        << QByteArray("disk") << QStringLiteral("/nonexistent/libSDL2_mixer-2.0.so.0");
    // A file in a library's place that is no library at all.
    QTest::newRow("an audio library damaged") << QByteArray("disk") << QStringLiteral("siren.wav");
    // A library that lacks the functions.
    QTest::newRow("another library in its place") << QByteArray("disk") << QStringLiteral("libz.so.1");
}

void SdlAudioServiceBadInputTest::noAudioMakesEveryCallHarmless()
{
    QFETCH(QByteArray, driver);
    QFETCH(QString, library);
    QTemporaryDir dir;
    if (library == QLatin1String("siren.wav")) {
        library = dir.filePath(library);
        QVERIFY(writeFile(library, waveTone(300)));
    }
    QStringList libraries = installedAudioLibraries();
    if (!library.isEmpty())
        libraries = QStringList{library};
    DiskAudioSession session({installedSoundFont()}, {}, driver, libraries);
    SdlAudioService& audio = session.audio();
    const int siren = audio.addPlayer();
    const int music = audio.addPlayer();
    QVERIFY(writeFile(session.path(QStringLiteral("siren.wav")), waveTone(300)));
    QVERIFY(writeFile(session.path(QStringLiteral("rytmozan.mid")), midiTune(2)));

    audio.open(siren, AudioDevice::WaveAudio, session.path(QStringLiteral("siren.wav")));
    audio.play(siren);
    audio.open(music, AudioDevice::Sequencer, session.path(QStringLiteral("rytmozan.mid")));
    audio.play(music);
    audio.close(music);
    audio.open(music, AudioDevice::Sequencer, session.path(QStringLiteral("rytmozan.mid")));
    audio.play(music);

    QVERIFY(audio.waitUntilDone(EventTimeout));
    QVERIFY(!audio.isSounding(siren));
    QVERIFY(!audio.isSounding(music));
    QVERIFY(!QFile::exists(session.path(QStringLiteral("out.raw"))));
}

void SdlAudioServiceBadInputTest::badSoundFontSilencesAtMostTheMusic_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("silent");
    for (const DamagedSoundFont& soundFont : damagedSoundFonts())
        QTest::newRow(soundFont.kind) << QString::fromLatin1(soundFont.kind) << soundFont.silent;
    QTest::newRow("gone when the music opens") << QStringLiteral("gone when the music opens") << true;
}

void SdlAudioServiceBadInputTest::badSoundFontSilencesAtMostTheMusic()
{
    QFETCH(QString, kind);
    QFETCH(bool, silent);
    const bool gone = kind == QLatin1String("gone when the music opens");
    QTemporaryDir dir;
    const QString soundFont = dir.filePath(QStringLiteral("bank.sf2"));
    if (gone ? !QFile::copy(installedSoundFont(), soundFont) : !makeDamagedSoundFont(qPrintable(kind), soundFont))
        QSKIP("made from the timgm6mb-soundfont package");

    DiskAudioSession session({soundFont});
    SdlAudioService& audio = session.audio();
    const int siren = audio.addPlayer();
    const int music = audio.addPlayer();
    QVERIFY(writeFile(session.path(QStringLiteral("siren.wav")), waveTone(300)));
    QVERIFY(writeFile(session.path(QStringLiteral("rytmozan.mid")), midiTune(2)));
    // The audio starts with a siren that is not there, while the soundfont is still in place.
    audio.open(siren, AudioDevice::WaveAudio, session.path(QStringLiteral("none.wav")));
    QVERIFY(audio.waitUntilDone(EventTimeout));
    if (gone)
        QVERIFY(QFile::remove(soundFont));
    audio.open(music, AudioDevice::Sequencer, session.path(QStringLiteral("rytmozan.mid")));
    audio.play(music);
    QVERIFY(audio.waitUntilDone(EventTimeout));
    QVERIFY(session.waitForSamples(SamplesPerSecond / 2));
    // A synthesizer without instruments may still play its tune as dither, one step either way.
    if (silent)
        QVERIFY2(peak(session.samples()) <= 1, qPrintable(QString::number(peak(session.samples()))));

    const qsizetype before = session.samplesWritten();
    audio.open(siren, AudioDevice::WaveAudio, session.path(QStringLiteral("siren.wav")));
    audio.play(siren);
    QVERIFY2(session.waitForSound(before) >= 0, "the siren must still be heard");
}

void SdlAudioServiceBadInputTest::libraryMessagesStayOffStderr()
{
    if (installedSoundFont().isEmpty())
        QSKIP("the damaged soundfont is made from the timgm6mb-soundfont package");
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("damaged.sf2"));
    const QString tune = dir.filePath(QStringLiteral("rytmozan.mid"));
    QVERIFY(makeDamagedSoundFont("preset list renamed", damaged));
    QVERIFY(writeFile(tune, midiTune(2)));
    QTemporaryFile captured;
    QVERIFY(captured.open());

    bool done = true;
    {
        const StderrCapture capture(captured.handle());
        // SDL announces its disk driver, FluidSynth and the soundfont reader report the damage,
        // and ALSA complains where there is no sound card; the default driver may try several.
        for (const QByteArray& driver :
             {QByteArray("disk"), QByteArray("alsa"), QByteArray(), QByteArray("nosuchdriver")}) {
            DiskAudioSession session({damaged}, {}, driver);
            const int player = session.audio().addPlayer();
            session.audio().open(player, AudioDevice::Sequencer, tune);
            done = session.audio().waitUntilDone(EventTimeout) && done;
            session.audio().close(player);
        }
    }

    QVERIFY(done);
    // The capture shared the file's position, which is now at its end.
    QVERIFY(captured.seek(0));
    QCOMPARE(QString::fromLocal8Bit(captured.readAll()), QString());
}

QTEST_GUILESS_MAIN(SdlAudioServiceBadInputTest)
#include "SdlAudioServiceBadInputTest.moc"
