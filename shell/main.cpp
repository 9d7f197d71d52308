#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "AppShell.h"
#include "Version.h"

namespace {

// Stands in for the welcome screen until it is built: it shows the name and ends the program.
class FirstScreen final : public tonovka::Screen {
public:
    explicit FirstScreen(tonovka::AppShell& shell)
    {
        auto* layout = new QVBoxLayout(&m_window);
        layout->addWidget(new QLabel(QStringLiteral("Tonovka")));
        auto* end = new QPushButton(QStringLiteral("Konec"));
        layout->addWidget(end);
        QObject::connect(end, &QPushButton::clicked, [&shell] { shell.endProgram(); });
    }
    QWidget& window() override { return m_window; }

private:
    QWidget m_window;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tonovka::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tonovka::kVersion));

    tonovka::AppShell shell([&shell](tonovka::ScreenId) { return std::make_unique<FirstScreen>(shell); });
    shell.showScreen(tonovka::ScreenId::welcome);
    QApplication::exec();
    shell.endProgram();
}
