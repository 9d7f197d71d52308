#include "TuneSoundFont.h"
#include "TuneInstruments.h"

#include "DamagedSounds.h"
#include "DiskAudioSession.h"
#include "SoundFixtures.h"

#include <QFile>
#include <QMultiMap>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <set>
#include <utility>

using namespace tonovka;
using namespace tonovka::fixtures;

namespace {

using Presets = std::set<std::pair<int, int>>; // bank, program

QByteArray track(const QByteArray& events)
{
    QByteArray file = QByteArray::fromHex("4d546864000000060000000100604d54726b");
    const auto size = quint32(events.size());
    file += char(size >> 24), file += char(size >> 16), file += char(size >> 8), file += char(size);
    return file + events;
}

QByteArray viewBytes(const SoundFontView& view)
{
    QByteArray bytes(qsizetype(view.size()), '\0');
    return view.read(0, bytes.data(), std::size_t(bytes.size())) ? bytes : QByteArray();
}

// The bank and program of each preset in a soundfont's preset list.
Presets presetsOf(const QByteArray& bank)
{
    Presets presets;
    const qsizetype list = bank.indexOf("pdtaphdr") + 12;
    const qsizetype count = qFromLittleEndian<quint32>(bank.constData() + list - 4) / 38;
    for (qsizetype preset = 0; preset + 1 < count; ++preset)
        presets.emplace(qFromLittleEndian<quint16>(bank.constData() + list + preset * 38 + 22),
                        qFromLittleEndian<quint16>(bank.constData() + list + preset * 38 + 20));
    return presets;
}

// The points of each sample in a soundfont, by the sample's name.
QMultiMap<QByteArray, QByteArray> samplePointsOf(const QByteArray& bank)
{
    QMultiMap<QByteArray, QByteArray> samples;
    const qsizetype points = bank.indexOf("sdtasmpl") + 12;
    const qsizetype list = bank.indexOf("shdr", bank.indexOf("pdtaphdr")) + 8;
    const qsizetype count = qFromLittleEndian<quint32>(bank.constData() + list - 4) / 46;
    for (qsizetype sample = 0; sample + 1 < count; ++sample) {
        const char* record = bank.constData() + list + sample * 46;
        const quint32 start = qFromLittleEndian<quint32>(record + 20);
        const quint32 end = qFromLittleEndian<quint32>(record + 24);
        samples.insert(QByteArray(record, 20), bank.mid(points + 2 * start, 2 * qsizetype(end - start)));
    }
    return samples;
}

TuneInstruments everyInstrument()
{
    TuneInstruments every;
    for (int program = 0; program < 128; ++program)
        every.programs.insert(program), every.drumKits.insert(program);
    return every;
}

} // namespace

class TuneSoundFontTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tuneNamesItsInstruments_data();
    void tuneNamesItsInstruments();
    void soundFontKeepsOnlyTheTunesPart();
    void damagedSoundFontIsRefused_data();
    void damagedSoundFontIsRefused();
};
void TuneSoundFontTest::tuneNamesItsInstruments_data()
{
    QTest::addColumn<QByteArray>("midi");
    QTest::addColumn<std::set<int>>("programs");
    QTest::addColumn<std::set<int>>("drumKits");
    // Running status, a meta event and a program change on channel 10.
    QTest::newRow("program changes") << track(QByteArray::fromHex("00ff030141"
                                                                  "00c150"
                                                                  "00c921"
                                                                  "0099243f"
                                                                  "002640"))
                                     << std::set<int>{80} << std::set<int>{33};
    QTest::newRow("a note before any program change") << track(QByteArray::fromHex("0090403f"
                                                                                   "00c007"))
                                                      << std::set<int>{0, 7} << std::set<int>{};
    QTest::newRow("cut off mid-event") << track(QByteArray::fromHex("00c005"
                                                                    "00ff0305"))
                                       << std::set<int>{5} << std::set<int>{};
}

void TuneSoundFontTest::tuneNamesItsInstruments()
{
    QFETCH(QByteArray, midi);
    QFETCH(std::set<int>, programs);
    QFETCH(std::set<int>, drumKits);
    const TuneInstruments instruments = instrumentsOfTune(midi.toStdString());
    QCOMPARE(instruments.programs, programs);
    QCOMPARE(instruments.drumKits, drumKits);
}

void TuneSoundFontTest::soundFontKeepsOnlyTheTunesPart()
{
    const QString path = installedSoundFont();
    if (path.isEmpty())
        QSKIP("needs the timgm6mb-soundfont package");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const auto view = soundFontForTune(path.toStdU16String(), {{80, 1}, {0}});
    QVERIFY(view);
    const QByteArray part = viewBytes(*view);

    QCOMPARE(presetsOf(part), (Presets{{0, 1}, {0, 80}, {128, 0}}));
    // The kept samples' points are the file's own, and they are a small share of its samples.
    const QMultiMap<QByteArray, QByteArray> kept = samplePointsOf(part);
    const QMultiMap<QByteArray, QByteArray> all = samplePointsOf(whole);
    QVERIFY(!kept.isEmpty());
    for (auto sample = kept.begin(); sample != kept.end(); ++sample)
        QVERIFY2(all.values(sample.key()).contains(sample.value()), sample.key().constData());
    QVERIFY2(part.size() < whole.size() / 4, qPrintable(QString::number(part.size())));
    QCOMPARE(qFromLittleEndian<quint32>(part.constData() + 4), quint32(part.size() - 8));
}

void TuneSoundFontTest::damagedSoundFontIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    for (const DamagedSoundFont& soundFont : damagedSoundFonts())
        QTest::newRow(soundFont.kind) << QString::fromLatin1(soundFont.kind);
}

void TuneSoundFontTest::damagedSoundFontIsRefused()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bank.sf2"));
    if (!makeDamagedSoundFont(qPrintable(kind), path))
        QSKIP("made from the timgm6mb-soundfont package");

    QVERIFY(!soundFontForTune(path.toStdU16String(), everyInstrument()));
}

QTEST_GUILESS_MAIN(TuneSoundFontTest)
#include "TuneSoundFontTest.moc"
