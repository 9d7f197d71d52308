#include "WelcomeScreen.h"
#include "NamedFont.h"

#include "AppShell.h"
#include "PictureBox.h"
#include "PictureSet.h"
#include "Platform.h"
#include "SoundPlayer.h"
#include "Twips.h"
#include "Version.h"

#include <QLabel>
#include <QPushButton>

namespace tonovka {

namespace {

QLabel* label(QWidget& screen, const QString& name, QRect area, const QString& text)
{
    auto* control = new QLabel(text, &screen);
    control->setObjectName(name);
    control->setGeometry(area);
    control->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return control;
}

QPushButton* button(QWidget& screen, const QString& name, QRect area, const QString& caption)
{
    auto* control = new QPushButton(caption, &screen);
    control->setObjectName(name);
    control->setGeometry(area);
    // Enter and Escape mean nothing on this screen; only the focused button takes Space.
    control->setAutoDefault(false);
    control->setDefault(false);
    return control;
}

} // namespace

// Controls are made from the bottom of the drawing order up.
WelcomeScreen::WelcomeScreen(AppShell& shell, const PictureSet& pictures, AudioService& audio)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_shell(shell)
{
    setObjectName(QStringLiteral("welcome"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowIcon(pictures.icon(PictureSet::Role::ProgramIcon));
    setFixedSize(pixels(2940), pixels(3645));
    // Controls that name no font use this small one, so that the subtitle fits its box.
    setFont(namedFont(QStringLiteral("MS Sans Serif"), 8));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    // A tool window does not end the program when closed; this one does while it is the only
    // screen there is.
    setAttribute(Qt::WA_QuitOnClose, true);

    m_Image1 = new PictureBox(QStringLiteral("Image1"), this);
    m_Image1->move(pixels(0), pixels(1320));
    m_Image1->setPicture(pictures.picture(PictureSet::Role::WelcomePicture));

    m_tittlelbl =
        label(*this, QStringLiteral("tittlelbl"), twipsRect(0, -120, 3015, 495), QString::fromLatin1(kProductName));
    m_tittlelbl->setFont(namedFont(QStringLiteral("Comic Sans MS"), 21.75));
    QPalette blue = m_tittlelbl->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_tittlelbl->setPalette(blue);

    m_Label1 = label(*this, QStringLiteral("Label1"), twipsRect(0, 360, 2775, 375),
                     QStringLiteral("aneb: zachraň si svého panáčka"));

    m_enterBUTT =
        button(*this, QStringLiteral("enterBUTT"), twipsRect(120, 720, 1215, 375), QStringLiteral("Vstoupit"));
    m_endBUTT = button(*this, QStringLiteral("endBUTT"), twipsRect(1560, 720, 1215, 375), QStringLiteral("Konec"));
    setTabOrder(m_enterBUTT, m_endBUTT);
    m_enterBUTT->setFocus();

    m_MMControl1 = new SoundPlayer(audio, this);
    m_MMControl1->setObjectName(QStringLiteral("MMControl1"));

    connect(m_enterBUTT, &QPushButton::clicked, this, [this] {
        m_shell.showScreen(ScreenId::index);
        m_shell.hideScreen(ScreenId::welcome);
    });
    connect(m_endBUTT, &QPushButton::clicked, this, [this] { m_shell.endProgram(); });
}

void WelcomeScreen::load()
{
    m_MMControl1->setDeviceType(QStringLiteral("waveaudio"));
    m_MMControl1->setFileName(QStringLiteral("siren.wav"));
    m_MMControl1->command(QStringLiteral("open"));
    m_MMControl1->command(QStringLiteral("play"));
}

void WelcomeScreen::showEvent(QShowEvent* event)
{
    platform::keepOutOfTaskbar(*this);
    QWidget::showEvent(event);
}

} // namespace tonovka
