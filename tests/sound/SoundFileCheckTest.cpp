#include "SoundFileCheck.h"
#include "SoundFontBank.h"

#include "DamagedSounds.h"
#include "SoundFileSearch.h"
#include "SoundFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace tonovka;
using namespace tonovka::fixtures;

Q_DECLARE_METATYPE(tonovka::AudioDevice)
Q_DECLARE_METATYPE(tonovka::SoundFileProblem)

class SoundFileCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wholeGoodFileIsReadAsItIs_data();
    void wholeGoodFileIsReadAsItIs();
    void badFileIsRefusedWithItsProblem_data();
    void badFileIsRefusedWithItsProblem();
    void waveWithMoreChunksAndOddLengthsIsWhole();
    void midiWithAChunkOfAnotherKindIsWhole();
    void midiWithFewerTracksThanAnnouncedIsIncomplete();
    void fileOfExactlyTheLimitIsStillRead();
#ifndef _WIN32 // permissions as POSIX has them
    void fileWithoutReadPermissionIsUnreadable();
#endif
    void soundFontHeaderIsChecked_data();
    void soundFontHeaderIsChecked();
    void installedSoundFontLooksWhole();

private:
    QTemporaryDir m_dir;
};

void SoundFileCheckTest::wholeGoodFileIsReadAsItIs_data()
{
    QTest::addColumn<AudioDevice>("device");
    QTest::newRow("waveaudio") << AudioDevice::WaveAudio;
    QTest::newRow("sequencer") << AudioDevice::Sequencer;
}

void SoundFileCheckTest::wholeGoodFileIsReadAsItIs()
{
    QFETCH(AudioDevice, device);
    const QString path = m_dir.filePath(QStringLiteral("good"));
    QVERIFY(writeFile(path, goodSound(device)));

    const SoundFileContents contents = readSoundFile(path, device);

    QCOMPARE(contents.problem, SoundFileProblem::None);
    QCOMPARE(contents.bytes, goodSound(device));
}

void SoundFileCheckTest::badFileIsRefusedWithItsProblem_data()
{
    QTest::addColumn<AudioDevice>("device");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<SoundFileProblem>("problem");
    for (const AudioDevice device : {AudioDevice::WaveAudio, AudioDevice::Sequencer}) {
        for (const DamagedSound& sound : damagedSounds()) {
            QTest::addRow("%s: %s", qPrintable(audioDeviceName(device)), sound.kind)
                << device << QString::fromLatin1(sound.kind) << sound.problem;
        }
    }
}

void SoundFileCheckTest::badFileIsRefusedWithItsProblem()
{
    QFETCH(AudioDevice, device);
    QFETCH(QString, kind);
    QFETCH(SoundFileProblem, problem);
#ifndef _WIN32
    if (kind == QLatin1String("unreadable") && ::geteuid() == 0)
        QSKIP("the superuser reads a file without permissions; see fileWithoutReadPermissionIsUnreadable");
#endif
    const QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("sound"));
    QVERIFY(makeDamagedSound(qPrintable(kind), path, device));

    const SoundFileContents contents = readSoundFile(path, device);

    QCOMPARE(contents.problem, problem);
    QVERIFY(contents.bytes.isEmpty());
}

void SoundFileCheckTest::waveWithMoreChunksAndOddLengthsIsWhole()
{
    // A three-byte chunk and its pad byte between the format and the samples.
    const QByteArray tone = waveTone(50);
    const QByteArray wave = tone.left(36) +
                            QByteArray("LIST\x03\x00\x00\x00"
                                       "abc\x00",
                                       12) +
                            tone.mid(36);
    const QString path = m_dir.filePath(QStringLiteral("chunks.wav"));
    QVERIFY(writeFile(path, wave));

    QCOMPARE(readSoundFile(path, AudioDevice::WaveAudio).problem, SoundFileProblem::None);
}

void SoundFileCheckTest::midiWithAChunkOfAnotherKindIsWhole()
{
    const QByteArray tune = midiTune(1);
    const QByteArray midi = tune.left(14) + QByteArray("XFIH\x00\x00\x00\x02hi", 10) + tune.mid(14);
    const QString path = m_dir.filePath(QStringLiteral("chunks.mid"));
    QVERIFY(writeFile(path, midi));

    QCOMPARE(readSoundFile(path, AudioDevice::Sequencer).problem, SoundFileProblem::None);
}

void SoundFileCheckTest::midiWithFewerTracksThanAnnouncedIsIncomplete()
{
    QByteArray midi = midiTune(1);
    midi[11] = 2; // two tracks announced, one there
    const QString path = m_dir.filePath(QStringLiteral("tracks.mid"));
    QVERIFY(writeFile(path, midi));

    QCOMPARE(readSoundFile(path, AudioDevice::Sequencer).problem, SoundFileProblem::Incomplete);
}

void SoundFileCheckTest::fileOfExactlyTheLimitIsStillRead()
{
    const QString path = m_dir.filePath(QStringLiteral("limit.mid"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(midiTune(1)) > 0);
    QVERIFY(file.resize(MaxSoundFileBytes));
    file.close();

    const SoundFileContents contents = readSoundFile(path, AudioDevice::Sequencer);

    QCOMPARE(contents.problem, SoundFileProblem::None);
    QCOMPARE(contents.bytes.size(), qsizetype(MaxSoundFileBytes));
}

#ifndef _WIN32
void SoundFileCheckTest::fileWithoutReadPermissionIsUnreadable()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.wav"));
    QVERIFY(writeFile(path, waveTone(100)));
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0), 0);
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);

    if (::geteuid() != 0) {
        QCOMPARE(readSoundFile(path, AudioDevice::WaveAudio).problem, SoundFileProblem::Unreadable);
        return;
    }
    // The superuser reads any file, so the check runs in a child that has become an ordinary user.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const bool refused = readSoundFile(path, AudioDevice::WaveAudio).problem == SoundFileProblem::Unreadable;
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}
#endif

void SoundFileCheckTest::soundFontHeaderIsChecked_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("damage"); // a damaged soundfont made in place of the bytes
    QTest::addColumn<bool>("whole");
    const QByteArray empty = emptySoundFont();
    QTest::newRow("whole") << empty << QString() << true;
    QTest::newRow("with a tail") << empty + "tail" << QString() << true;
    QTest::newRow("lists out of order") << empty.left(24) + empty.mid(36) + empty.mid(24, 12) << QString() << false;
    QTest::newRow("not a soundfont") << QByteArray("RIFF\x28\x00\x00\x00WAVE", 12) + empty.mid(12) << QString()
                                     << false;
    QTest::newRow("empty") << QByteArray() << QString() << false;
    for (const DamagedSoundFont& soundFont : damagedSoundFonts())
        QTest::newRow(soundFont.kind) << QByteArray() << QString::fromLatin1(soundFont.kind) << soundFont.looksWhole;
}

void SoundFileCheckTest::soundFontHeaderIsChecked()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, damage);
    QFETCH(bool, whole);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bank.sf2"));
    if (damage.isEmpty())
        QVERIFY(writeFile(path, bytes));
    else if (!makeDamagedSoundFont(qPrintable(damage), path))
        QSKIP("made from the timgm6mb-soundfont package");

    QCOMPARE(looksLikeSoundFont(path.toStdU16String()), whole);
}

void SoundFileCheckTest::installedSoundFontLooksWhole()
{
    if (!QFile::exists(debianSoundFont()))
        QSKIP("the timgm6mb-soundfont package is not installed");
    QVERIFY(looksLikeSoundFont(debianSoundFont().toStdU16String()));
}

QTEST_GUILESS_MAIN(SoundFileCheckTest)
#include "SoundFileCheckTest.moc"
