#include "VictoryScreen.h"
#include "NamedFont.h"

#include "Twips.h"

#include <QLabel>

namespace tonovka {

VictoryScreen::VictoryScreen(AppShell& shell, std::function<void()> stopCountdown)
    : EndScreenFrame(shell, QStringLiteral("Victory"), QStringLiteral("Winner !!!"), QSize(pixels(4680), pixels(390))),
      m_stopCountdown(std::move(stopCountdown))
{
    setFont(namedFont(QStringLiteral("MS Sans Serif"), 8));
    // The label is taller than the screen: only its first line shows.
    m_Label1 = new QLabel(QStringLiteral("Vyhrál si, celá Česká republika zvolává tvé jméno. Blahopřeji ti."), this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setGeometry(twipsRect(120, 120, 4455, 855));
    m_Label1->setWordWrap(true);
    m_Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_Label1->setAutoFillBackground(true);
}

void VictoryScreen::load()
{
    m_stopCountdown();
}

} // namespace tonovka
