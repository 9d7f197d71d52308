#include "RecordingAudioService.h"
#include "SoundPlayer.h"

#include <QTest>

using namespace tonovka;

class SoundPlayerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void screenStepsGiveTheseCallsAndState_data();
    void screenStepsGiveTheseCallsAndState();
    void gameOverClosesOnlyTheMusicPlayer();
};

// Each row is what a screen does to one player, one step a line: "device NAME" and "file NAME"
// set the properties, "(end)" stands for the end of the sound, anything else is a command.
void SoundPlayerTest::screenStepsGiveTheseCallsAndState_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<SoundPlayer::State>("state");
    QTest::addColumn<QString>("deviceType");
    using S = QStringList;
    const S siren{"device waveaudio", "file siren.wav"};
    const S music{"device sequencer", "file rytmozan.mid"};
    const QString openSiren = "player 1: open waveaudio siren.wav";
    const QString openMusic = "player 1: open sequencer rytmozan.mid";
    const QString play = "player 1: play";
    const QString close = "player 1: close";
    using St = SoundPlayer::State;

    QTest::newRow("welcome screen") << siren + S{"open", "play"} << S{openSiren, play} << St::Playing << "waveaudio";
    QTest::newRow("main window") << music + S{"open", "play"} << S{openMusic, play} << St::Playing << "sequencer";
    QTest::newRow("unknown commands") << siren + S{"open", "stop", "pause", "eject", "", "open play", "record"}
                                      << S{openSiren} << St::Open << "waveaudio";
    QTest::newRow("unknown device types")
        << S{"device sequencer", "device cdaudio", "device ", "file rytmozan.mid", "open"} << S{openMusic} << St::Open
        << "sequencer";
    QTest::newRow("open without a device type")
        << S{"device avivideo", "file siren.wav", "open", "play"} << S{} << St::Closed << "";
    QTest::newRow("play before open") << siren + S{"play"} << S{} << St::Closed << "waveaudio";
    QTest::newRow("close when closed") << music + S{"close"} << S{} << St::Closed << "sequencer";
    QTest::newRow("close when open") << music + S{"open", "close"} << S{openMusic, close} << St::Closed << "sequencer";
    QTest::newRow("close when playing") << music + S{"open", "play", "close"} << S{openMusic, play, close} << St::Closed
                                        << "sequencer";
    QTest::newRow("close twice") << music + S{"open", "close", "close"} << S{openMusic, close} << St::Closed
                                 << "sequencer";
    QTest::newRow("end of the sound") << music + S{"open", "play", "(end)"} << S{openMusic, play} << St::Open
                                      << "sequencer";
    QTest::newRow("play after the end") << siren + S{"open", "play", "(end)", "play"} << S{openSiren, play, play}
                                        << St::Playing << "waveaudio";
    QTest::newRow("open another file") << siren + S{"open", "play"} + music + S{"open"} << S{openSiren, play, openMusic}
                                       << St::Open << "sequencer";
    QTest::newRow("any case") << S{"device WaveAudio", "file Siren.WAV", "Open", "PLAY"}
                              << S{"player 1: open waveaudio Siren.WAV", play} << St::Playing << "waveaudio";
}

void SoundPlayerTest::screenStepsGiveTheseCallsAndState()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, calls);
    QFETCH(SoundPlayer::State, state);
    QFETCH(QString, deviceType);
    RecordingAudioService audio;
    SoundPlayer player(audio);

    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("device ")))
            player.setDeviceType(step.mid(7));
        else if (step.startsWith(QLatin1String("file ")))
            player.setFileName(step.mid(5));
        else if (step == QLatin1String("(end)"))
            audio.finishSound(player.playerNumber());
        else
            player.command(step);
    }

    QCOMPARE(audio.commands(), calls);
    QCOMPARE(player.state(), state);
    QCOMPARE(player.deviceType(), deviceType);
}

void SoundPlayerTest::gameOverClosesOnlyTheMusicPlayer()
{
    RecordingAudioService audio;
    SoundPlayer siren(audio);
    SoundPlayer music(audio);
    siren.setDeviceType(QStringLiteral("waveaudio"));
    siren.command(QStringLiteral("open"));
    siren.command(QStringLiteral("play"));
    music.setDeviceType(QStringLiteral("sequencer"));
    music.command(QStringLiteral("open"));
    music.command(QStringLiteral("play"));
    audio.takeCommands();

    music.command(QStringLiteral("close"));

    QCOMPARE(audio.commands(), QStringList({"player 2: close"}));
    QCOMPARE(music.state(), SoundPlayer::State::Closed);
    QCOMPARE(siren.state(), SoundPlayer::State::Playing);
}

QTEST_GUILESS_MAIN(SoundPlayerTest)
#include "SoundPlayerTest.moc"
