// The music engine rendering the game's tune into buffers as the audio device would ask for them,
// with no device: which part of the soundfont it holds, and that rendering reads nothing more.

#include "FluidMusic.h"
#include "LibraryMessages.h"

#include "DamagedSounds.h"
#include "DiskAudioSession.h"
#include "SoundFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tonovka;
using namespace tonovka::fixtures;

namespace {

// FluidSynth refuses the first soundfont it is given, as it would a part of the soundfont that it
// cannot use, and loads every later one.
const AudioLibraries* g_libraries = nullptr;
int g_loads = 0;

int refuseTheFirstLoad(fluid_synth_t* synth, const char* name, int resetPresets)
{
    return ++g_loads == 1 ? FLUID_FAILED : g_libraries->fluid_synth_sfload(synth, name, resetPresets);
}

QByteArray gameTune()
{
    QFile file(QStringLiteral(TONOVKA_TUNE));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every buffer of the tune, from play until it and its last notes have ended.
QByteArray renderToTheEnd(FluidMusic& music)
{
    constexpr int BufferBytes = MixerFormat::BufferFrames * MixerFormat::BytesPerFrame;
    constexpr int MostBuffers = 5 * 60 * MixerFormat::SampleRate / MixerFormat::BufferFrames;
    QByteArray rendered;
    music.play();
    for (int buffer = 0; buffer < MostBuffers && music.isPlaying(); ++buffer) {
        rendered.resize(rendered.size() + BufferBytes);
        music.render(reinterpret_cast<unsigned char*>(rendered.data() + rendered.size() - BufferBytes), BufferBytes);
    }
    return rendered;
}

// The first frame where the two differ, or -1.
qsizetype firstDifferentFrame(const QByteArray& a, const QByteArray& b)
{
    for (qsizetype at = 0; at < std::min(a.size(), b.size()); ++at) {
        if (a[at] != b[at])
            return at / MixerFormat::BytesPerFrame;
    }
    return a.size() == b.size() ? -1 : std::min(a.size(), b.size()) / MixerFormat::BytesPerFrame;
}

} // namespace

class FluidMusicTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void partRefusedByFluidSynthGivesWayToTheWholeSoundFont();
    void tunesPartRendersFrameForFrameAsTheWholeSoundFont_data();
    void tunesPartRendersFrameForFrameAsTheWholeSoundFont();
    void soundFontCutOffOnceTheTuneLoadedChangesNoFrame();

private:
    // The tune rendered with the installed soundfont, by this engine's own loading.
    QByteArray render(const AudioLibraries& libraries, const QString& soundFont, bool expectPart);

    const AudioLibraries* m_libraries = nullptr;
    AudioLibraries m_refusing;
    QByteArray m_tune;
};

void FluidMusicTest::initTestCase()
{
    if (installedSoundFont().isEmpty())
        QSKIP("the tune needs the timgm6mb-soundfont package");
    QString error;
    m_libraries = loadAudioLibraries(installedAudioLibraries(), error);
    QVERIFY2(m_libraries, qPrintable(error));
    routeAudioLibraryMessages(*m_libraries);
    g_libraries = m_libraries;
    m_refusing = *m_libraries;
    m_refusing.fluid_synth_sfload = refuseTheFirstLoad;
    m_tune = gameTune();
    QVERIFY(!m_tune.isEmpty());
}

QByteArray FluidMusicTest::render(const AudioLibraries& libraries, const QString& soundFont, bool expectPart)
{
    g_loads = 0;
    FluidMusic music(libraries, MixerFormat::SampleRate, 0.75);
    QString error;
    if (!music.load(m_tune, soundFont, error)) {
        qWarning() << "the tune did not load:" << error;
        return {};
    }
    if (music.holdsOnlyTheTunesPart() != expectPart) {
        qWarning() << "the synthesizer holds" << (expectPart ? "the whole soundfont" : "only the tune's part");
        return {};
    }
    return renderToTheEnd(music);
}

void FluidMusicTest::partRefusedByFluidSynthGivesWayToTheWholeSoundFont()
{
    const QByteArray whole = render(m_refusing, installedSoundFont(), false);

    QCOMPARE(g_loads, 2);
    // The tune lasts over a minute, and sounds.
    QVERIFY2(whole.size() > 60 * SamplesPerSecond * 2, qPrintable(QString::number(whole.size())));
    QVERIFY(peak(samplesOf(whole)) > 1000);
}

void FluidMusicTest::tunesPartRendersFrameForFrameAsTheWholeSoundFont_data()
{
    QTest::addColumn<QString>("damage"); // made from the installed soundfont, or none for that one
    QTest::newRow("installed") << QString();
    QTest::newRow("loops of no length or reversed") << QStringLiteral("loops of no length or reversed");
}

void FluidMusicTest::tunesPartRendersFrameForFrameAsTheWholeSoundFont()
{
    QFETCH(QString, damage);
    const QTemporaryDir dir;
    const QString soundFont = damage.isEmpty() ? installedSoundFont() : dir.filePath(QStringLiteral("bank.sf2"));
    QVERIFY(damage.isEmpty() || makeDamagedSoundFont(qPrintable(damage), soundFont));

    const QByteArray part = render(*m_libraries, soundFont, true);
    const QByteArray whole = render(m_refusing, soundFont, false);

    QVERIFY(!part.isEmpty());
    QCOMPARE(firstDifferentFrame(part, whole), qsizetype(-1));
}

void FluidMusicTest::soundFontCutOffOnceTheTuneLoadedChangesNoFrame()
{
    QTemporaryDir dir;
    const QString soundFont = dir.filePath(QStringLiteral("bank.sf2"));
    QVERIFY(QFile::copy(installedSoundFont(), soundFont));
    const QByteArray intact = render(*m_libraries, soundFont, true);

    FluidMusic music(*m_libraries, MixerFormat::SampleRate, 0.75);
    QString error;
    QVERIFY2(music.load(m_tune, soundFont, error), qPrintable(error));
    // Emptied where it lies, so that even a descriptor held open reads nothing more from it.
    QFile file(soundFont);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.close();
    const QByteArray cutOff = renderToTheEnd(music);

    QVERIFY(!intact.isEmpty());
    QCOMPARE(firstDifferentFrame(cutOff, intact), qsizetype(-1));
}

QTEST_GUILESS_MAIN(FluidMusicTest)
#include "FluidMusicTest.moc"
