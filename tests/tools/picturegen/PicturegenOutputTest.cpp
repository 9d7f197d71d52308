// picturegen draws the committed pictures again, byte for byte, and the desktop icons pixel for
// pixel.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDir kSourceDir(QStringLiteral(TONOVKA_SOURCE_DIR));

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int runGenerator(const QStringList& arguments)
{
    QProcess generator;
    generator.start(QStringLiteral(PICTUREGEN_PATH), arguments);
    if (!generator.waitForFinished(60000))
        return -1;
    return generator.exitStatus() == QProcess::NormalExit ? generator.exitCode() : -1;
}

QString desktopIcon(int size)
{
    return QStringLiteral("hicolor/%1x%1/apps/cz.tonovka.Tonovka.png").arg(size);
}

} // namespace

class PicturegenOutputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_out.isValid());
        QCOMPARE(runGenerator({m_out.filePath("assets"), m_out.filePath("icons")}), 0);
    }

    void generatorWritesTheCommittedFilesAgain_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* name :
             {"images/welcome.bmp", "images/roof.bmp", "images/window-empty.bmp", "images/window-man.bmp",
              "images/window-woman.bmp", "icons/program.ico", "icons/warning.ico"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void generatorWritesTheCommittedFilesAgain()
    {
        QFETCH(QString, file);
        const QByteArray committed = readAll(kSourceDir.filePath("assets/" + file));
        QVERIFY(!committed.isEmpty());
        QVERIFY2(readAll(m_out.filePath("assets/" + file)) == committed,
                 "the committed file differs from what picturegen draws now");
    }

    void desktopIconsAreTheProgramIconEnlargedWithCrispPixels_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {32, 48, 64, 128})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }

    void desktopIconsAreTheProgramIconEnlargedWithCrispPixels()
    {
        QFETCH(int, size);
        const QImage icon = QImage(m_out.filePath("assets/icons/program.ico")).convertToFormat(QImage::Format_ARGB32);
        const QImage drawn =
            QImage(m_out.filePath("icons/" + desktopIcon(size))).convertToFormat(QImage::Format_ARGB32);
        const QImage committed =
            QImage(kSourceDir.filePath("packaging/icons/" + desktopIcon(size))).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(icon.size(), QSize(32, 32));
        QCOMPARE(drawn.size(), QSize(size, size));
        QCOMPARE(drawn, committed);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                QCOMPARE(drawn.pixel(x, y), icon.pixel(x * 32 / size, y * 32 / size));
    }

    void generatorRefusesAMissingArgument()
    {
        QVERIFY(runGenerator({m_out.filePath("elsewhere")}) != 0);
        QVERIFY(!QFileInfo::exists(m_out.filePath("elsewhere")));
    }

private:
    QTemporaryDir m_out;
};

QTEST_GUILESS_MAIN(PicturegenOutputTest)
#include "PicturegenOutputTest.moc"
