// Run by AppShellTest: a program with two open screens and a running timer that ends itself
// from inside a handler. Only "before endProgram" may reach the output.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <memory>

#include "AppShell.h"

namespace {

class NoisyWindow final : public QWidget {
protected:
    void closeEvent(QCloseEvent*) override { std::printf("closing handler ran\n"); }
};

class NoisyScreen final : public tonovka::Screen {
public:
    ~NoisyScreen() override { std::printf("screen destroyed\n"); }
    QWidget& window() override { return m_window; }

private:
    NoisyWindow m_window;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tonovka::AppShell shell([](tonovka::ScreenId) { return std::make_unique<NoisyScreen>(); });
    shell.showScreen(tonovka::ScreenId::index);
    shell.showScreen(tonovka::ScreenId::Konec);

    QTimer busy;
    busy.start(1);
    QTimer::singleShot(50, [&shell] {
        std::printf("before endProgram\n");
        shell.endProgram();
        std::printf("after endProgram\n");
    });
    QApplication::exec();
    std::printf("event loop returned\n");
    return 3;
}
