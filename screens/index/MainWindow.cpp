#include "MainWindow.h"

#include "AppShell.h"
#include "AudioService.h"
#include "ClientArea.h"
#include "FilledShape.h"
#include "HouseLayout.h"
#include "OuterSizeKeeper.h"
#include "PictureBox.h"
#include "PictureSet.h"
#include "SoundPlayer.h"
#include "Twips.h"
#include "Version.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>

namespace tonovka {

namespace {

QWidget& makeClient(QMainWindow& window)
{
    auto* client = new ClientArea(&window);
    client->setObjectName(QStringLiteral("client"));
    // The house front is the platform's button face.
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);
    return *client;
}

QString text(const std::string& value)
{
    return QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
}

// What assistive technology reads for window n of the house.
QString accessibleWindowName(int n, Occupant who)
{
    const QString inside = who == Occupant::Man     ? QStringLiteral("muž")
                           : who == Occupant::Woman ? QStringLiteral("žena")
                                                    : QStringLiteral("prázdné");
    return QStringLiteral("Okno %1: %2").arg(n).arg(inside);
}

} // namespace

MainWindow::MainWindow(AppShell& shell, const PictureSet& pictures, AudioService& audio,
                       const IntervalTimerFactory& makeTimer)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      m_shell(shell), m_clock(m_state, makeTimer), m_music(new SoundPlayer(audio, this)),
      m_house(makeClient(*this), pictures), m_menu(*menuBar())
{
    setObjectName(QStringLiteral("index"));
    setWindowTitle(QString::fromLatin1(kProductName));
    setWindowIcon(pictures.icon(PictureSet::Role::WarningIcon));
    m_music->setObjectName(QStringLiteral("MMControl1"));

    m_state.setObserver(this);
    m_clock.setMenuItemsChanged([this] { showMenuItems(); });

    for (int n = 1; n <= GameState::kWindowCount; ++n) {
        PictureBox* house = m_house.windows[static_cast<std::size_t>(n - 1)];
        house->setAccessibleName(accessibleWindowName(n, Occupant::Empty));
        connect(house, &PictureBox::clicked, this, [this, n] { m_state.clickWindow(n); });
    }
    m_house.scorecountLBL->setAccessibleDescription(QStringLiteral("Skóre"));
    m_house.timecountLBL->setAccessibleDescription(QStringLiteral("Zbývající čas"));
    connect(m_menu.mnuNEWitem, &QAction::triggered, this, [this] { m_clock.newGame(); });
    // An end item that did nothing would leave the player stuck with Ctrl+Q; it ends the game.
    connect(m_menu.mnuKONECitem, &QAction::triggered, this, [this] { m_shell.endProgram(); });
    connect(m_menu.mnuPAUSEitem, &QAction::triggered, this, [this] { m_clock.pauseGame(); });
    connect(m_menu.mnuCONTINUEitem, &QAction::triggered, this, [this] { m_clock.continueGame(); });
    connect(m_menu.mnuHELPitem, &QAction::triggered, this, &MainWindow::showHelp);

    m_keeper = new OuterSizeKeeper(*this, kOuterSize);
}

MainWindow::~MainWindow()
{
    m_state.setObserver(nullptr);
}

void MainWindow::centreAgain()
{
    m_keeper->startOver();
}

void MainWindow::load()
{
    m_music->setDeviceType(QStringLiteral("sequencer"));
    m_music->setFileName(QStringLiteral("rytmozan.mid"));
    m_music->command(QStringLiteral("open"));
    m_music->command(QStringLiteral("play"));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_shell.endProgram();
}

void MainWindow::windowChanged(int window, Occupant who)
{
    const PictureBox* source = who == Occupant::Man     ? m_house.chlapIMG
                               : who == Occupant::Woman ? m_house.zenaIMG
                                                        : m_house.okno;
    PictureBox* house = m_house.windows[static_cast<std::size_t>(window - 1)];
    house->setPicture(*source->picture());
    house->setAccessibleName(accessibleWindowName(window, who));
}

void MainWindow::scoreChanged(const std::string& value)
{
    m_house.scorecountLBL->setText(text(value));
}

void MainWindow::timeLeftChanged(const std::string& value)
{
    m_house.timecountLBL->setText(text(value));
}

void MainWindow::manCursorChanged(const std::string& value)
{
    m_house.chlapLBL->setText(text(value));
}

void MainWindow::womanCursorChanged(const std::string& value)
{
    m_house.zenaLBL->setText(text(value));
}

void MainWindow::timeRanOut()
{
    m_house.voda->show();
    m_shell.showScreen(ScreenId::Konec);
    m_music->command(QStringLiteral("close"));
}

void MainWindow::targetReached()
{
    m_shell.showScreen(ScreenId::Victory);
}

void MainWindow::showMenuItems()
{
    m_menu.showPauseAndContinue(m_clock.pauseItemShown(), m_clock.continueItemShown());
}

void MainWindow::showHelp()
{
    // A modal box that blocks nothing but the player's input elsewhere, with no event loop of its
    // own, which a browser page cannot run: the game's timers tick on while it is open.
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString::fromLatin1(AppShell::kApplicationTitle),
                                QStringLiteral("To určitě"), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

} // namespace tonovka
