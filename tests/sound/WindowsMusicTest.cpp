#include "SdlAudioService.h"

#include "DamagedSounds.h"
#include "DiskAudioSession.h"
#include "SoundFixtures.h"

#include "Libraries.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QScopeGuard>
#include <QTest>

#include <windows.h>

using namespace tonovka;
using namespace tonovka::fixtures;

// The tune on Windows goes to the system's MIDI synthesizer, through SDL_mixer's MIDI player.
// Wine on a machine with no sound hardware has no synthesizer to hear, so a library that records
// SDL_mixer's music calls (recording-music-library.cpp) takes them, while SDL and SDL_mixer play
// the siren through SDL's disk driver as in the game.
class WindowsMusicTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // First: a library once loaded is never looked for again in the process.
    void noLibraryIsTakenFromTheWorkingFolder();
    void onlyAWholeTuneReachesTheMidiPlayerAndInOrder_data();
    void onlyAWholeTuneReachesTheMidiPlayerAndInOrder();
};

// Anyone may leave a file in the working folder, and the installer starts the game with its own
// rights. Copies of a library that marks where it was loaded lie there under every name that an
// audio library has or was once looked for by (SDL2.dll.dll), and under a name of their own.
void WindowsMusicTest::noLibraryIsTakenFromTheWorkingFolder()
{
    const QStringList libraries = installedAudioLibraries();
    QStringList planted{QStringLiteral("tonovka-planted.dll")};
    for (const QString& library : libraries) {
        const QString name = QFileInfo(library).fileName();
        // Windows' own may be loaded with Qt already; SDL's must not be.
        QVERIFY2(QFileInfo(library).path() != QCoreApplication::applicationDirPath() ||
                     !GetModuleHandleW(reinterpret_cast<LPCWSTR>(name.utf16())),
                 "the libraries beside the program are not loaded yet");
        planted << name << name + QStringLiteral(".dll");
    }
    QTemporaryDir working;
    for (const QString& name : planted)
        QVERIFY(QFile::copy(QStringLiteral(TONOVKA_PLANTED), working.filePath(name)));
    const QString before = QDir::currentPath();
    const auto back = qScopeGuard([&before] { QDir::setCurrent(before); });
    QVERIFY(QDir::setCurrent(working.path()));

    platform::keepLibrarySearchToTrustedFolders(); // as the game does first
    QLibrary(QStringLiteral("tonovka-planted")).load();
    QVector<qint16> heard;
    {
        DiskAudioSession session({}, {}, "disk", libraries);
        const QString siren = session.path(QStringLiteral("siren.wav"));
        QVERIFY(writeFile(siren, waveTone(300)));
        const int player = session.audio().addPlayer();
        session.audio().open(player, AudioDevice::WaveAudio, siren);
        session.audio().play(player);
        QVERIFY2(session.audio().waitUntilDone(EventTimeout), "the audio thread must not hang");
        session.waitForSamples(SamplesPerSecond);
        heard = session.finish();
    }
    const auto marks = [&working] { return QDir(working.path()).entryList({QStringLiteral("*.loaded")}); };
    QVERIFY2(marks().isEmpty(), qPrintable(QStringLiteral("loaded from the working folder: ") + marks().join(u' ')));
    QVERIFY2(firstLoudSample(heard) >= 0, "the audio libraries beside the program play the siren");

    // A planted copy that is loaded leaves its mark where the marks are looked for.
    QLibrary loaded(working.filePath(planted.first()));
    QVERIFY2(loaded.load(), qPrintable(loaded.errorString()));
    QCOMPARE(marks(), QStringList{planted.first() + QStringLiteral(".loaded")});
    QVERIFY(loaded.unload()); // for the working folder to be removed
}

void WindowsMusicTest::onlyAWholeTuneReachesTheMidiPlayerAndInOrder_data()
{
    QTest::addColumn<QString>("damage"); // of the tune's file, or none
    QTest::addColumn<QString>("calls");  // what the MIDI player is asked, one a line; null: not recorded
    const qint64 size = QFile(QStringLiteral(TONOVKA_TUNE)).size();
    // Played, closed, played again, and stopped as the service ends.
    const QString played = QStringLiteral("load MIDI MThd %1\nvolume 96\nplay 0\nhalt\nfree\n").arg(size);
    QTest::newRow("whole") << QString() << played + played;
    for (const char* damage : {"missing", "random bytes", "cut in half"})
        QTest::newRow(damage) << QString::fromLatin1(damage) << QStringLiteral("");
    // SDL_mixer's own player: Wine here has no MIDI device, and a Windows machine that has one
    // plays the tune; either way the siren is heard.
    QTest::newRow("SDL_mixer's own MIDI player") << QString() << QString();
}

void WindowsMusicTest::onlyAWholeTuneReachesTheMidiPlayerAndInOrder()
{
    QFETCH(QString, damage);
    QFETCH(QString, calls);
    QLibrary recorder(QStringLiteral(TONOVKA_RECORDING_MUSIC));
    QVERIFY2(recorder.load(), qPrintable(recorder.errorString()));
    const auto recorded = reinterpret_cast<const char* (*)()>(recorder.resolve("recordedMusicCalls"));
    QVERIFY(recorded);
    const QString before = QString::fromLatin1(recorded());

    const QStringList libraries = calls.isNull() ? QStringList() : QStringList{recorder.fileName()};
    DiskAudioSession session({}, {}, "disk", libraries + installedAudioLibraries());
    QString tune = session.path(QStringLiteral("rytmozan.mid"));
    if (damage.isEmpty())
        QVERIFY(QFile::copy(QStringLiteral(TONOVKA_TUNE), tune));
    else
        QVERIFY(makeDamagedSound(qPrintable(damage), tune, AudioDevice::Sequencer));
    const QString siren = session.path(QStringLiteral("siren.wav"));
    QVERIFY(writeFile(siren, waveTone(300)));
    SdlAudioService& audio = session.audio();
    const int sirenPlayer = audio.addPlayer();
    const int musicPlayer = audio.addPlayer();
    audio.open(sirenPlayer, AudioDevice::WaveAudio, siren);
    audio.play(sirenPlayer);
    audio.open(musicPlayer, AudioDevice::Sequencer, tune);
    audio.play(musicPlayer);
    audio.close(musicPlayer);
    audio.open(musicPlayer, AudioDevice::Sequencer, tune);
    audio.play(musicPlayer);
    QVERIFY2(audio.waitUntilDone(EventTimeout), "the audio thread must not hang");
    QVERIFY(session.waitForSamples(SamplesPerSecond));

    QVERIFY2(firstLoudSample(session.finish()) >= 0, "the siren must be heard beside the tune");
    if (!calls.isNull())
        QCOMPARE(QString::fromLatin1(recorded()).mid(before.size()), calls);
}

QTEST_GUILESS_MAIN(WindowsMusicTest)
#include "WindowsMusicTest.moc"
