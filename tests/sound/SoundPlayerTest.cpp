#include "RecordingAudioService.h"
#include "SoundPlayer.h"

#include <QTest>

using namespace tonovka;

namespace {

// The welcome screen's first three steps.
void openSiren(SoundPlayer& player)
{
    player.setDeviceType(QStringLiteral("waveaudio"));
    player.setFileName(QStringLiteral("siren.wav"));
    player.command(QStringLiteral("open"));
}

} // namespace

class SoundPlayerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void welcomeScreenStepsOpenAndPlayTheSiren();
    void mainWindowStepsOpenAndPlayTheMusic();
    void playersAreNumberedInTheOrderTheyAreMade();
    void gameOverClosesOnlyTheMusicPlayer();
    void unknownCommandsAreIgnored();
    void unknownDeviceTypesAreIgnored();
    void openWithoutDeviceTypeDoesNothing();
    void playBeforeOpenDoesNothing();
    void closeFromAnyStateLeavesThePlayerClosed_data();
    void closeFromAnyStateLeavesThePlayerClosed();
    void endOfTheSoundTakesPlayingBackToOpen();
    void playAfterTheEndStartsTheSoundAgain();
    void openingAgainOpensTheNewFile();
    void commandsAndDeviceTypesIgnoreCase();
    void screenCanNameThePlayerAndSetItsProperties();
};

void SoundPlayerTest::welcomeScreenStepsOpenAndPlayTheSiren()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    openSiren(player);
    QCOMPARE(player.state(), SoundPlayer::State::Open);
    player.command(QStringLiteral("play"));

    QCOMPARE(audio.commands(),
             QStringList({"player 1: open waveaudio siren.wav", "player 1: play"}));
    QCOMPARE(player.state(), SoundPlayer::State::Playing);
}

void SoundPlayerTest::mainWindowStepsOpenAndPlayTheMusic()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    player.setDeviceType(QStringLiteral("sequencer"));
    player.setFileName(QStringLiteral("rytmozan.mid"));
    player.command(QStringLiteral("open"));
    player.command(QStringLiteral("play"));

    QCOMPARE(audio.commands(),
             QStringList({"player 1: open sequencer rytmozan.mid", "player 1: play"}));
    QCOMPARE(player.deviceType(), QStringLiteral("sequencer"));
    QCOMPARE(player.fileName(), QStringLiteral("rytmozan.mid"));
}

void SoundPlayerTest::playersAreNumberedInTheOrderTheyAreMade()
{
    RecordingAudioService audio;
    SoundPlayer first(audio);
    SoundPlayer second(audio);
    QCOMPARE(first.playerNumber(), 1);
    QCOMPARE(second.playerNumber(), 2);
}

void SoundPlayerTest::gameOverClosesOnlyTheMusicPlayer()
{
    RecordingAudioService audio;
    SoundPlayer siren(audio);
    SoundPlayer music(audio);
    siren.setDeviceType(QStringLiteral("waveaudio"));
    siren.setFileName(QStringLiteral("siren.wav"));
    siren.command(QStringLiteral("open"));
    siren.command(QStringLiteral("play"));
    music.setDeviceType(QStringLiteral("sequencer"));
    music.setFileName(QStringLiteral("rytmozan.mid"));
    music.command(QStringLiteral("open"));
    music.command(QStringLiteral("play"));
    audio.takeCommands();

    music.command(QStringLiteral("close"));

    QCOMPARE(audio.commands(), QStringList({"player 2: close"}));
    QCOMPARE(music.state(), SoundPlayer::State::Closed);
    QCOMPARE(siren.state(), SoundPlayer::State::Playing);
}

void SoundPlayerTest::unknownCommandsAreIgnored()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    openSiren(player);
    audio.takeCommands();

    for (const char* command : {"stop", "pause", "eject", "", "open play", "record"})
        player.command(QString::fromLatin1(command));

    QCOMPARE(audio.commands(), QStringList());
    QCOMPARE(player.state(), SoundPlayer::State::Open);
}

void SoundPlayerTest::unknownDeviceTypesAreIgnored()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    player.setDeviceType(QStringLiteral("sequencer"));
    player.setDeviceType(QStringLiteral("cdaudio"));
    player.setDeviceType(QString());
    player.setFileName(QStringLiteral("rytmozan.mid"));
    player.command(QStringLiteral("open"));

    QCOMPARE(player.deviceType(), QStringLiteral("sequencer"));
    QCOMPARE(audio.commands(), QStringList({"player 1: open sequencer rytmozan.mid"}));
}

void SoundPlayerTest::openWithoutDeviceTypeDoesNothing()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    player.setDeviceType(QStringLiteral("avivideo"));
    player.setFileName(QStringLiteral("siren.wav"));
    player.command(QStringLiteral("open"));
    player.command(QStringLiteral("play"));

    QCOMPARE(audio.commands(), QStringList());
    QCOMPARE(player.state(), SoundPlayer::State::Closed);
}

void SoundPlayerTest::playBeforeOpenDoesNothing()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    player.setDeviceType(QStringLiteral("waveaudio"));
    player.setFileName(QStringLiteral("siren.wav"));
    player.command(QStringLiteral("play"));

    QCOMPARE(audio.commands(), QStringList());
    QCOMPARE(player.state(), SoundPlayer::State::Closed);
}

void SoundPlayerTest::closeFromAnyStateLeavesThePlayerClosed_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("recorded");
    QTest::newRow("closed") << QStringList() << QStringList();
    QTest::newRow("open") << QStringList({"open"})
                          << QStringList({"player 1: open sequencer rytmozan.mid", "player 1: close"});
    QTest::newRow("playing")
        << QStringList({"open", "play"})
        << QStringList({"player 1: open sequencer rytmozan.mid", "player 1: play", "player 1: close"});
    QTest::newRow("closed again")
        << QStringList({"open", "close"})
        << QStringList({"player 1: open sequencer rytmozan.mid", "player 1: close"});
}

void SoundPlayerTest::closeFromAnyStateLeavesThePlayerClosed()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, recorded);
    RecordingAudioService audio;
    SoundPlayer player(audio);
    player.setDeviceType(QStringLiteral("sequencer"));
    player.setFileName(QStringLiteral("rytmozan.mid"));
    for (const QString& command : before)
        player.command(command);

    player.command(QStringLiteral("close"));

    QCOMPARE(player.state(), SoundPlayer::State::Closed);
    QCOMPARE(audio.commands(), recorded);
    QVERIFY(!audio.isSounding(player.playerNumber()));
}

void SoundPlayerTest::endOfTheSoundTakesPlayingBackToOpen()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    player.setDeviceType(QStringLiteral("sequencer"));
    player.setFileName(QStringLiteral("rytmozan.mid"));
    player.command(QStringLiteral("open"));
    player.command(QStringLiteral("play"));
    QCOMPARE(player.state(), SoundPlayer::State::Playing);

    audio.finishSound(player.playerNumber());

    QCOMPARE(player.state(), SoundPlayer::State::Open);
}

void SoundPlayerTest::playAfterTheEndStartsTheSoundAgain()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    openSiren(player);
    player.command(QStringLiteral("play"));
    audio.finishSound(player.playerNumber());
    audio.takeCommands();

    player.command(QStringLiteral("play"));

    QCOMPARE(audio.commands(), QStringList({"player 1: play"}));
    QCOMPARE(player.state(), SoundPlayer::State::Playing);
}

void SoundPlayerTest::openingAgainOpensTheNewFile()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    openSiren(player);
    player.command(QStringLiteral("play"));
    player.setDeviceType(QStringLiteral("sequencer"));
    player.setFileName(QStringLiteral("rytmozan.mid"));
    player.command(QStringLiteral("open"));

    QCOMPARE(audio.commands(), QStringList({"player 1: open waveaudio siren.wav", "player 1: play",
                                            "player 1: open sequencer rytmozan.mid"}));
    QCOMPARE(player.state(), SoundPlayer::State::Open);
}

void SoundPlayerTest::commandsAndDeviceTypesIgnoreCase()
{
    RecordingAudioService audio;
    SoundPlayer player(audio);
    player.setDeviceType(QStringLiteral("WaveAudio"));
    player.setFileName(QStringLiteral("Siren.WAV"));
    player.command(QStringLiteral("Open"));
    player.command(QStringLiteral("PLAY"));

    QCOMPARE(player.deviceType(), QStringLiteral("waveaudio"));
    QCOMPARE(audio.commands(), QStringList({"player 1: open waveaudio Siren.WAV", "player 1: play"}));
}

void SoundPlayerTest::screenCanNameThePlayerAndSetItsProperties()
{
    RecordingAudioService audio;
    QObject screen;
    auto* player = new SoundPlayer(audio, &screen);
    player->setObjectName(QStringLiteral("MMControl1"));
    player->setProperty("deviceType", QStringLiteral("sequencer"));
    player->setProperty("fileName", QStringLiteral("rytmozan.mid"));

    SoundPlayer* found = screen.findChild<SoundPlayer*>(QStringLiteral("MMControl1"));
    QCOMPARE(found, player);
    QCOMPARE(found->deviceType(), QStringLiteral("sequencer"));
    QCOMPARE(found->fileName(), QStringLiteral("rytmozan.mid"));
}

QTEST_GUILESS_MAIN(SoundPlayerTest)
#include "SoundPlayerTest.moc"
