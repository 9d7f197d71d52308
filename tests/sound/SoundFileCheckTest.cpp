#include "SoundFileCheck.h"

#include "DamagedSounds.h"
#include "SoundFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    void fileWithoutReadPermissionIsUnreadable();
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
    if (kind == QLatin1String("unreadable") && ::geteuid() == 0)
        QSKIP("the superuser reads a file without permissions; see fileWithoutReadPermissionIsUnreadable");
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

void SoundFileCheckTest::soundFontHeaderIsChecked_data()
{
    QByteArray whole("RIFF\x04\x01\x00\x00sfbk", 12);
    whole.append(QByteArray(0x104 - 4, 'x'));
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("whole");
    QTest::newRow("whole") << whole << true;
    QTest::newRow("with a tail") << whole + "tail" << true;
    QTest::newRow("cut off") << whole.left(200) << false;
    QTest::newRow("not a soundfont") << QByteArray("RIFF\x04\x01\x00\x00WAVE", 12) + whole.mid(12) << false;
    QTest::newRow("random bytes") << randomBytes(300, 3) << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void SoundFileCheckTest::soundFontHeaderIsChecked()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, whole);
    const QString path = m_dir.filePath(QStringLiteral("bank.sf2"));
    QVERIFY(writeFile(path, bytes));

    QCOMPARE(looksLikeSoundFont(path), whole);
}

void SoundFileCheckTest::installedSoundFontLooksWhole()
{
    const QString path = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
    if (!QFile::exists(path))
        QSKIP("the timgm6mb-soundfont package is not installed");
    QVERIFY(looksLikeSoundFont(path));
    QVERIFY(!looksLikeSoundFont(m_dir.path()));
    QVERIFY(!looksLikeSoundFont(m_dir.filePath(QStringLiteral("none.sf2"))));
}

QTEST_GUILESS_MAIN(SoundFileCheckTest)
#include "SoundFileCheckTest.moc"
