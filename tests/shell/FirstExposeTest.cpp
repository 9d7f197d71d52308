// Work that waits for the first window: the audio thread, held while the welcome screen first
// shows, starts when the screen is exposed.

#include <QTest>
#include <QWindow>

#include <chrono>

#include "FirstExpose.h"
#include "SdlAudioService.h"

using namespace tonovka;

class FirstExposeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void heldAudioStartsOnceTheWindowIsExposed()
    {
        using namespace std::chrono;
        QWindow window;
        // No audio libraries: the command is done as soon as the audio thread takes it.
        SdlAudioService audio({}, {}, {});
        // Held far past the 40 ms that the program gives the first window, so that only the
        // expose can let the audio thread go on.
        audio.holdCommands(hours(1));
        audio.open(audio.addPlayer(), AudioDevice::WaveAudio, QStringLiteral("none.wav"));
        int calls = 0;
        whenFirstExposed(window, [&audio, &calls] {
            ++calls;
            audio.releaseCommands();
        });
        QCOMPARE(calls, 0);
        // Were the hold lost, the audio thread would be done at once: half a second is plenty.
        QVERIFY(!audio.waitUntilDone(milliseconds(500)));

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY_WITH_TIMEOUT(audio.waitUntilDone(milliseconds(0)), 30000);
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(calls, 1);
    }
};

QTEST_MAIN(FirstExposeTest)
#include "FirstExposeTest.moc"
