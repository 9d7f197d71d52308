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
    // Qt's own threads report too while the program starts.
    void messagesHeldFromSeveralThreadsAreAllPassedOn()
    {
        constexpr int Threads = 4;
        constexpr int Messages = 20000;
        const QtMessageHandler before = qInstallMessageHandler(countPassedOn);
        {
            WindowSystemStart start;
            std::vector<std::thread> threads;
            for (int thread = 0; thread < Threads; ++thread)
                threads.emplace_back([thread] {
                    for (int message = 0; message < Messages; ++message)
                        qWarning("held %d %d", thread, message);
                });
            for (std::thread& thread : threads)
                thread.join();
            QCOMPARE(g_passedOn.load(), 0);
            start.started();
        }
        qInstallMessageHandler(before);
        QCOMPARE(g_passedOn.load(), Threads * Messages);
    }
};

QTEST_GUILESS_MAIN(WindowSystemStartTest)
#include "WindowSystemStartTest.moc"
