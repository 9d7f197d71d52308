#include "SoundFileSearch.h"

#include "DamagedSounds.h"
#include "SoundFixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tonovka;
using namespace tonovka::fixtures;

class SoundFileSearchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void nameInTheWorkingDirectoryWins();
    void nameMissingHereIsTakenFromTheFirstFolderThatHasIt();
    void brokenFileInTheWorkingDirectoryStillWins();
    void absoluteNameIsNeverLookedForElsewhere();
    void nameFoundNowhereComesBackAsItIs();
    void emptyNameIsNotLookedFor();
    void installedFoldersAreTheDataFolderThenTheExecutablesFolder();
    void soundFontIsTriedFromTheDebianPathThenEachFolder();
    void firstWholeSoundFontIsChosen();
    void noWholeSoundFontGivesNone();

private:
    QString folder(const QString& name);

    QTemporaryDir m_dir;
    QString m_savedWorkingDirectory;
};

void SoundFileSearchTest::init()
{
    QVERIFY(m_dir.isValid());
    m_savedWorkingDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder(QStringLiteral("work"))));
}

void SoundFileSearchTest::cleanup()
{
    QDir::setCurrent(m_savedWorkingDirectory);
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

QString SoundFileSearchTest::folder(const QString& name)
{
    const QString path = m_dir.filePath(name);
    QDir().mkpath(path);
    return path;
}

void SoundFileSearchTest::nameInTheWorkingDirectoryWins()
{
    const QString data = folder(QStringLiteral("data"));
    QVERIFY(writeFile(QStringLiteral("siren.wav"), waveTone(10)));
    QVERIFY(writeFile(data + QLatin1String("/siren.wav"), waveTone(10)));

    QCOMPARE(findSoundFile(QStringLiteral("siren.wav"), {data}), QStringLiteral("siren.wav"));
}

void SoundFileSearchTest::nameMissingHereIsTakenFromTheFirstFolderThatHasIt()
{
    const QString data = folder(QStringLiteral("data"));
    const QString program = folder(QStringLiteral("program"));
    const QString other = folder(QStringLiteral("other"));
    QVERIFY(writeFile(program + QLatin1String("/rytmozan.mid"), midiTune(1)));
    QVERIFY(writeFile(other + QLatin1String("/rytmozan.mid"), midiTune(1)));

    QCOMPARE(findSoundFile(QStringLiteral("rytmozan.mid"), {data, program, other}),
             QDir(program).filePath(QStringLiteral("rytmozan.mid")));
}

void SoundFileSearchTest::brokenFileInTheWorkingDirectoryStillWins()
{
    // Something broken of the right name is what the player was told to play; it stays silent
    // rather than play another file.
    const QString data = folder(QStringLiteral("data"));
    QVERIFY(writeFile(data + QLatin1String("/siren.wav"), waveTone(10)));
    QVERIFY(QDir().mkdir(QStringLiteral("siren.wav")));
    QVERIFY(QFile::link(QStringLiteral("nowhere"), QStringLiteral("rytmozan.mid")));
    QVERIFY(writeFile(data + QLatin1String("/rytmozan.mid"), midiTune(1)));

    QCOMPARE(findSoundFile(QStringLiteral("siren.wav"), {data}), QStringLiteral("siren.wav"));
    QCOMPARE(findSoundFile(QStringLiteral("rytmozan.mid"), {data}), QStringLiteral("rytmozan.mid"));
}

void SoundFileSearchTest::absoluteNameIsNeverLookedForElsewhere()
{
    const QString data = folder(QStringLiteral("data"));
    QVERIFY(writeFile(data + QLatin1String("/siren.wav"), waveTone(10)));
    const QString absolute = m_dir.filePath(QStringLiteral("gone/siren.wav"));

    QCOMPARE(findSoundFile(absolute, {data}), absolute);
}

void SoundFileSearchTest::nameFoundNowhereComesBackAsItIs()
{
    QCOMPARE(
        findSoundFile(QStringLiteral("siren.wav"), {folder(QStringLiteral("data")), folder(QStringLiteral("program"))}),
        QStringLiteral("siren.wav"));
}

void SoundFileSearchTest::emptyNameIsNotLookedFor()
{
    // Joined to a folder, an empty name would name the folder itself.
    QCOMPARE(findSoundFile(QString(), {folder(QStringLiteral("data"))}), QString());
}

void SoundFileSearchTest::installedFoldersAreTheDataFolderThenTheExecutablesFolder()
{
    const QStringList folders = installedSoundFolders();
#ifdef _WIN32
    // The game is one folder, its sounds beside the program.
    QCOMPARE(folders, QStringList{QCoreApplication::applicationDirPath()});
#else

    QCOMPARE(folders.size(), 3);
    QVERIFY(QDir::isAbsolutePath(folders[0]));
    QVERIFY2(folders[0].endsWith(QLatin1String("/share/games/tonovka")), qPrintable(folders[0]));
    // The data folder as it lies from the program's folder, for a game installed elsewhere.
    const QDir program(QCoreApplication::applicationDirPath());
    QCOMPARE(folders[1], QDir::cleanPath(program.filePath(QStringLiteral("../share/games/tonovka"))));
    QCOMPARE(folders[2], QCoreApplication::applicationDirPath());
#endif
}

void SoundFileSearchTest::soundFontIsTriedFromTheDebianPathThenEachFolder()
{
    QCOMPARE(soundFontCandidates({QStringLiteral("/opt/data"), QStringLiteral("/opt/bin")}),
             QStringList({"/usr/share/sounds/sf2/TimGM6mb.sf2", "/opt/data/TimGM6mb.sf2", "/opt/bin/TimGM6mb.sf2"}));
}

void SoundFileSearchTest::firstWholeSoundFontIsChosen()
{
    const QString missing = m_dir.filePath(QStringLiteral("missing.sf2"));
    const QString broken = m_dir.filePath(QStringLiteral("broken.sf2"));
    const QString first = m_dir.filePath(QStringLiteral("first.sf2"));
    const QString second = m_dir.filePath(QStringLiteral("second.sf2"));
    QVERIFY(writeFile(broken, "RIFF\xff\xff\x00\x00sfbk"));
    QVERIFY(writeFile(first, emptySoundFont()));
    QVERIFY(writeFile(second, emptySoundFont()));

    QCOMPARE(findSoundFont({missing, broken, first, second}), first);
}

void SoundFileSearchTest::noWholeSoundFontGivesNone()
{
    const QString broken = m_dir.filePath(QStringLiteral("broken.sf2"));
    QVERIFY(writeFile(broken, "not a soundfont"));

    QCOMPARE(findSoundFont({m_dir.filePath(QStringLiteral("missing.sf2")), broken, m_dir.path()}), QString());
}

QTEST_GUILESS_MAIN(SoundFileSearchTest)
#include "SoundFileSearchTest.moc"
