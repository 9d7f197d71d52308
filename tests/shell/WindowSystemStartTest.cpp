// Qt's messages while the window system starts: held back, then passed on.

#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

#include "WindowSystemStart.h"

using namespace tonovka;

namespace {

std::atomic<int> g_passedOn{0};

void countPassedOn(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (text.startsWith(QLatin1String("held ")))
        ++g_passedOn;
}

} // namespace

class WindowSystemStartTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyMessageFromSeveralThreadsIsPassedOnOnce_data()
    {
        QTest::addColumn<bool>("acrossTheStart");
        QTest::newRow("all sent before the start") << false;
        // A thread may be on its way into the holding handler as started() puts Qt's back.
        QTest::newRow("sent on across the start") << true;
    }

    // Qt's own threads report too while the program starts.
    void everyMessageFromSeveralThreadsIsPassedOnOnce()
    {
        QFETCH(bool, acrossTheStart);
        constexpr int Threads = 4;
        constexpr int Messages = 200;
        constexpr int Starts = 100;
        const QtMessageHandler before = qInstallMessageHandler(countPassedOn);
        // A message lost at one start would be passed on at the next, so each start counts alone.
        for (int start = 0; start < Starts; ++start) {
            g_passedOn = 0;
            std::atomic<int> sent{0};
            WindowSystemStart windowSystem;
            std::vector<std::thread> threads;
            for (int thread = 0; thread < Threads; ++thread)
                threads.emplace_back([&sent] {
                    for (int message = 0; message < Messages; ++message, ++sent)
                        qWarning("held %d", message);
                });
            if (acrossTheStart) {
                while (sent < Threads * Messages / 4)
                    std::this_thread::yield();
            } else {
                for (std::thread& thread : threads)
                    thread.join();
                QCOMPARE(g_passedOn.load(), 0);
            }
            windowSystem.started();
            for (std::thread& thread : threads) {
                if (thread.joinable())
                    thread.join();
            }
            QCOMPARE(g_passedOn.load(), Threads * Messages);
        }
        qInstallMessageHandler(before);
    }
};

QTEST_GUILESS_MAIN(WindowSystemStartTest)
#include "WindowSystemStartTest.moc"
