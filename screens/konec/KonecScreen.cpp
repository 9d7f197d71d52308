#include "KonecScreen.h"
#include "NamedFont.h"

#include "AppShell.h"
#include "Twips.h"

#include <QLabel>
#include <QPushButton>

namespace tonovka {

KonecScreen::KonecScreen(AppShell& shell)
    : EndScreenFrame(shell, QStringLiteral("Konec"), QStringLiteral("Gejm Ouvr"), QSize(pixels(4680), pixels(2175)))
{
    m_KonecLBL = new QLabel(QStringLiteral("Zklamal si. Celý dům byl zatopen vodou a lidé v něm utonuli. "
                                           "Ukázalo se že si nejslabší a máš padáka. "
                                           "Je jen na tobě, aby si s tím něco udělal."),
                            this);
    m_KonecLBL->setObjectName(QStringLiteral("KonecLBL"));
    m_KonecLBL->setGeometry(twipsRect(120, 120, 4455, 1215));
    m_KonecLBL->setFont(namedFont(QStringLiteral("MS Sans Serif"), 12));
    m_KonecLBL->setWordWrap(true);
    m_KonecLBL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_KonecLBL->setAutoFillBackground(true);

    m_Command1 = new QPushButton(QStringLiteral("OK"), this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    m_Command1->setGeometry(twipsRect(120, 1560, 4455, 495));
    m_Command1->setAutoDefault(false);
    m_Command1->setFocus();
    connect(m_Command1, &QPushButton::clicked, this, [this] { m_shell.endProgram(); });
}

} // namespace tonovka
