#include "SoundFontView.h"
#include "TuneInstruments.h"

#include "SoundFixtures.h"
#include "DiskAudioSession.h"

#include <QFile>
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
    const auto u16 = [&bank](qsizetype at) { return quint8(bank[at]) | (quint8(bank[at + 1]) << 8); };
    const qsizetype count = (u16(list - 4) | (u16(list - 2) << 16)) / 38;
    for (qsizetype preset = 0; preset + 1 < count; ++preset)
        presets.emplace(u16(list + preset * 38 + 22), u16(list + preset * 38 + 20));
    return presets;
}

} // namespace

class TuneSoundFontTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tuneNamesItsInstruments_data();
    void tuneNamesItsInstruments();
    void soundFontKeepsOnlyTheTunesPresets();
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
    const TuneInstruments instruments = instrumentsOfTune(midi);
    QCOMPARE(instruments.programs, programs);
    QCOMPARE(instruments.drumKits, drumKits);
}

void TuneSoundFontTest::soundFontKeepsOnlyTheTunesPresets()
{
    const QString path = installedSoundFont();
    if (path.isEmpty())
        QSKIP("needs the timgm6mb-soundfont package");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const auto view = soundFontForTune(QFile::encodeName(path).toStdString(), {{80, 1}, {0}});
    QVERIFY(view);
    const QByteArray part = viewBytes(*view);
    QCOMPARE(presetsOf(part), (Presets{{0, 1}, {0, 80}, {128, 0}}));
    // The samples are the file's own, where the file keeps them, and the sizes add up.
    const qsizetype samples = whole.indexOf("sdtasmpl");
    QCOMPARE(part.mid(samples, 4096), whole.mid(samples, 4096));
    QCOMPARE(qFromLittleEndian<quint32>(part.constData() + 4), quint32(part.size() - 8));

    // A preset whose zones lie beyond the list of zones is refused, not followed.
    QTemporaryDir dir;
    QByteArray damaged = whole;
    damaged.replace(whole.indexOf("pdtaphdr") + 12 + 24, 2, "\xff\x7f");
    QVERIFY(writeFile(dir.filePath("bank.sf2"), damaged));
    TuneInstruments every;
    for (int program = 0; program < 128; ++program)
        every.programs.insert(program), every.drumKits.insert(program);
    QVERIFY(!soundFontForTune(QFile::encodeName(dir.filePath("bank.sf2")).toStdString(), every));
}

QTEST_GUILESS_MAIN(TuneSoundFontTest)
#include "TuneSoundFontTest.moc"
