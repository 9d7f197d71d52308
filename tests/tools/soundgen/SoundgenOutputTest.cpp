// Runs the sound generator and compares what it writes with the files in data/, so that
// the committed sounds are always the ones the code makes.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SoundgenOutputTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_output;

    static int runGenerator(const QStringList& arguments)
    {
        QProcess generator;
        generator.start(QStringLiteral(SOUNDGEN_PATH), arguments);
        if (!generator.waitForFinished(60000) || generator.exitStatus() != QProcess::NormalExit)
            return -1;
        return generator.exitCode();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        // A folder that does not exist yet, two levels down, as a fresh checkout would give.
        m_output = m_folder.filePath(QStringLiteral("new/sounds"));
        QCOMPARE(runGenerator({m_output}), 0);
    }

    void generatorWritesExactlyTheTwoSoundFiles()
    {
        const QStringList written = QDir(m_output).entryList(QDir::Files, QDir::Name);
        QCOMPARE(written, QStringList({QStringLiteral("rytmozan.mid"), QStringLiteral("siren.wav")}));
    }

    void regeneratedSirenHasTheBytesOfTheCommittedOne()
    {
        const QByteArray committed = contentsOf(QStringLiteral(TONOVKA_DATA_DIR "/siren.wav"));
        QVERIFY(!committed.isEmpty());
        QVERIFY(contentsOf(m_output + QStringLiteral("/siren.wav")) == committed);
    }

    void regeneratedTuneHasTheBytesOfTheCommittedOne()
    {
        const QByteArray committed = contentsOf(QStringLiteral(TONOVKA_DATA_DIR "/rytmozan.mid"));
        QVERIFY(!committed.isEmpty());
        QVERIFY(contentsOf(m_output + QStringLiteral("/rytmozan.mid")) == committed);
    }

    void secondRunOverTheFirstWritesTheSameBytes()
    {
        const QByteArray siren = contentsOf(m_output + QStringLiteral("/siren.wav"));
        const QByteArray tune = contentsOf(m_output + QStringLiteral("/rytmozan.mid"));
        QCOMPARE(runGenerator({m_output}), 0);
        QVERIFY(contentsOf(m_output + QStringLiteral("/siren.wav")) == siren);
        QVERIFY(contentsOf(m_output + QStringLiteral("/rytmozan.mid")) == tune);
    }

    void generatorWithoutAFolderRefusesToRun() { QCOMPARE(runGenerator({}), 2); }
};

QTEST_GUILESS_MAIN(SoundgenOutputTest)
#include "SoundgenOutputTest.moc"
