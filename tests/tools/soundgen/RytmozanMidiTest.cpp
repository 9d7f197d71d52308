// Checks the committed rytmozan.mid: a well-formed format 1 file with a tempo, a band of
// instruments with drums on channel 10, a proper end to every track, about a minute of
// music, and a melody with a verse that comes back after something new.

#include "MidiReader.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

using tonovka::test::MidiEvent;
using tonovka::test::MidiReader;
using tonovka::test::MidiSong;

namespace {

constexpr int drumChannel = 9;
constexpr int noteOff = 0x80;
constexpr int noteOn = 0x90;
constexpr int programChange = 0xC0;

bool startsNote(const MidiEvent& event)
{
    return event.kind() == noteOn && event.data[1] != 0;
}

bool endsNote(const MidiEvent& event)
{
    return event.kind() == noteOff || (event.kind() == noteOn && event.data[1] == 0);
}

} // namespace

class RytmozanMidiTest : public QObject {
    Q_OBJECT

private:
    QByteArray m_bytes;
    MidiSong m_song;

    std::vector<MidiEvent> allEvents() const
    {
        std::vector<MidiEvent> events;
        for (const auto& track : m_song.tracks)
            events.insert(events.end(), track.begin(), track.end());
        std::stable_sort(events.begin(), events.end(),
                         [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
        return events;
    }

    // Notes of the melody, taken as the channel that sounds highest on average, by bar:
    // (place in the bar, key).
    std::vector<std::vector<std::pair<int, int>>> melodyBars() const
    {
        std::map<int, std::pair<double, int>> keySumAndCount;
        for (const MidiEvent& event : allEvents()) {
            if (startsNote(event) && event.channel() != drumChannel) {
                keySumAndCount[event.channel()].first += event.data[0];
                ++keySumAndCount[event.channel()].second;
            }
        }
        const int melody = std::max_element(keySumAndCount.begin(), keySumAndCount.end(), [](auto a, auto b) {
                               return a.second.first / a.second.second < b.second.first / b.second.second;
                           })->first;
        const int ticksPerBar = 4 * m_song.ticksPerQuarter;
        std::vector<std::vector<std::pair<int, int>>> bars;
        for (const MidiEvent& event : allEvents()) {
            if (!startsNote(event) || event.channel() != melody)
                continue;
            const std::size_t bar = event.tick / ticksPerBar;
            bars.resize(std::max(bars.size(), bar + 1));
            bars[bar].push_back({static_cast<int>(event.tick % ticksPerBar), event.data[0]});
        }
        return bars;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QFile file(QStringLiteral(TONOVKA_DATA_DIR "/rytmozan.mid"));
        QVERIFY2(file.open(QIODevice::ReadOnly), "data/rytmozan.mid cannot be read");
        m_bytes = file.readAll();
        try {
            m_song = MidiReader::read(std::string_view(m_bytes.constData(), m_bytes.size()));
        } catch (const MidiReader::Malformed& error) {
            QFAIL(error.what());
        }
    }

    void fileIsAFormatOneStandardMidiFileCountedInTicks()
    {
        QCOMPARE(m_bytes.left(4), QByteArray("MThd"));
        QCOMPARE(m_song.format, 1);
        QCOMPARE(m_song.declaredTrackCount, static_cast<int>(m_song.tracks.size()));
        QVERIFY(m_song.tracks.size() >= 2);
        QVERIFY(m_song.ticksPerQuarter > 0);
    }

    void everyTrackClosesWithEndOfTrack()
    {
        for (const auto& track : m_song.tracks) {
            QVERIFY(!track.empty());
            QVERIFY(track.back().isMeta(0x2F));
            QVERIFY(track.back().data.empty());
            const auto ends =
                std::count_if(track.begin(), track.end(), [](const MidiEvent& e) { return e.isMeta(0x2F); });
            QCOMPARE(static_cast<int>(ends), 1);
        }
    }

    void tempoIsSetAtTheStartOfTheFirstTrack()
    {
        const auto& first = m_song.tracks.front();
        const auto tempo = std::find_if(first.begin(), first.end(), [](const MidiEvent& e) { return e.isMeta(0x51); });
        QVERIFY(tempo != first.end());
        QCOMPARE(tempo->tick, 0u);
        QCOMPARE(tempo->data.size(), std::size_t(3));
    }

    void drumsOnChannelTenPlayBesideTwoOrMoreInstruments()
    {
        std::map<int, int> programOfChannel;
        std::set<int> channelsWithNotes;
        for (const MidiEvent& event : allEvents()) {
            if (event.kind() == programChange && event.channel() != drumChannel) {
                QCOMPARE(event.tick, 0u);
                programOfChannel[event.channel()] = event.data[0];
            }
            if (startsNote(event)) {
                QVERIFY2(event.channel() == drumChannel || programOfChannel.count(event.channel()),
                         "a channel plays before its instrument is chosen");
                channelsWithNotes.insert(event.channel());
            }
        }
        QVERIFY(channelsWithNotes.count(drumChannel));
        QVERIFY(channelsWithNotes.size() >= 3);
        std::set<int> programs;
        for (const auto& [channel, program] : programOfChannel)
            programs.insert(program);
        QVERIFY(programs.size() >= 2);
    }

    void tuneLastsAboutAMinuteByItsTempo()
    {
        std::uint32_t lastTick = 0;
        for (const auto& track : m_song.tracks)
            lastTick = std::max(lastTick, track.back().tick);

        double seconds = 0.0;
        std::uint32_t tick = 0;
        double microsecondsPerQuarter = 500000.0; // the standard's value until a tempo says otherwise
        for (const MidiEvent& event : allEvents()) {
            if (!event.isMeta(0x51))
                continue;
            seconds += (event.tick - tick) * microsecondsPerQuarter / m_song.ticksPerQuarter / 1e6;
            tick = event.tick;
            const auto byte = [&](int i) { return static_cast<std::uint8_t>(event.data[i]); };
            microsecondsPerQuarter = (byte(0) << 16) | (byte(1) << 8) | byte(2);
        }
        seconds += (lastTick - tick) * microsecondsPerQuarter / m_song.ticksPerQuarter / 1e6;
        QVERIFY2(seconds >= 50.0 && seconds <= 70.0, qPrintable(QString::number(seconds)));
    }

    void everyNoteThatStartsAlsoStops()
    {
        for (const auto& track : m_song.tracks) {
            std::map<std::pair<int, int>, int> sounding;
            for (const MidiEvent& event : track) {
                if (!startsNote(event) && !endsNote(event))
                    continue;
                int& count = sounding[std::make_pair(event.channel(), int(event.data[0]))];
                if (startsNote(event))
                    ++count;
                else
                    QVERIFY2(--count >= 0, "a note stops that never started");
            }
            for (const auto& [note, count] : sounding)
                QCOMPARE(count, 0);
        }
    }

    void melodyIsMadeOfManyDifferentBars()
    {
        const auto bars = melodyBars();
        std::set<std::vector<std::pair<int, int>>> different;
        for (const auto& bar : bars) {
            if (!bar.empty())
                different.insert(bar);
        }
        QVERIFY2(different.size() >= 12, qPrintable(QString::number(different.size())));
    }

    void openingVerseReturnsAfterSomethingNew()
    {
        const auto bars = melodyBars();
        const auto firstSung = std::find_if(bars.begin(), bars.end(), [](const auto& bar) { return !bar.empty(); });
        QVERIFY(bars.end() - firstSung >= 7);
        const std::vector<std::vector<std::pair<int, int>>> verse(firstSung, firstSung + 7);

        // The verse comes back at least two verses later, and the bars in between are not
        // all verse bars.
        bool returns = false;
        for (auto start = firstSung + 16; start + 7 <= bars.end() && !returns; ++start) {
            if (!std::equal(verse.begin(), verse.end(), start))
                continue;
            returns = std::any_of(firstSung + 7, start, [&](const auto& bar) {
                return !bar.empty() && std::find(verse.begin(), verse.end(), bar) == verse.end();
            });
        }
        QVERIFY(returns);
    }
};

QTEST_GUILESS_MAIN(RytmozanMidiTest)
#include "RytmozanMidiTest.moc"
