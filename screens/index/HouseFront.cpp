#include "HouseFront.h"

#include "FilledShape.h"
#include "PictureBox.h"
#include "PictureSet.h"
#include "Twips.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>

namespace tonovka {

namespace {

using Role = PictureSet::Role;

PictureBox* picture(QWidget& client, const QString& name, QRect area, const QPixmap& shown,
                    PictureBox::Fit fit = PictureBox::Fit::NaturalSize)
{
    auto* box = new PictureBox(name, &client, fit);
    box->setGeometry(area);
    box->setPicture(shown);
    return box;
}

QLabel* label(QWidget& client, const QString& name, QRect area, const QString& text)
{
    auto* control = new QLabel(text, &client);
    control->setObjectName(name);
    control->setGeometry(area);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setFont(QFont(QStringLiteral("Comic Sans MS"), 12));
    return control;
}

// A cursor's label takes a new text every millisecond. As plain text with a fixed accessible
// name, a new text costs neither a rich-text check nor an accessibility event.
QLabel* hiddenLabel(QWidget& client, const QString& name, QRect area, const QString& text)
{
    QLabel* control = label(client, name, area, text);
    control->setTextFormat(Qt::PlainText);
    control->setAccessibleName(name);
    control->hide();
    return control;
}

// Window N of the house sits in row (N - 1) / 5 and column (N - 1) % 5.
QRect windowArea(int n)
{
    const int row = (n - 1) / 5;
    const int column = (n - 1) % 5;
    return twipsRect(480 + 1320 * column, 2280 + 960 * row, 1095, 855);
}

} // namespace

// Controls are made from the bottom of the drawing order up: each new sibling lies over the
// ones made before it.
HouseFront::HouseFront(QWidget& client, const PictureSet& pictures)
{
    const QPixmap& empty = pictures.picture(Role::EmptyWindowPicture);
    strecha = picture(client, QStringLiteral("strecha"), twipsRect(0, 0, 7395, 1770),
                      pictures.picture(Role::RoofPicture), PictureBox::Fit::Stretch);

    // The windows in the order in which they lie over one another.
    for (int n : {1, 3, 4, 2, 6, 7, 8, 11, 9, 5, 10, 12, 14, 15, 13})
        windows[static_cast<std::size_t>(n - 1)] = picture(client, QStringLiteral("okno%1").arg(n), windowArea(n), empty);

    const QColor stripBorder = QApplication::palette().color(QPalette::Base);
    Shape1[0] = new FilledShape(QStringLiteral("Shape1"), &client, Qt::white, stripBorder);
    Shape1[0]->setGeometry(twipsRect(0, 1800, 255, 4815));
    Shape1[0]->setProperty("element", 0);
    Shape1[1] = new FilledShape(QStringLiteral("Shape1"), &client, Qt::white, stripBorder);
    Shape1[1]->setGeometry(twipsRect(7200, 1800, 255, 4815));
    Shape1[1]->setProperty("element", 1);

    chlapLBL = hiddenLabel(client, QStringLiteral("chlapLBL"), twipsRect(1680, 5040, 975, 255), QStringLiteral("1"));
    zenaLBL = hiddenLabel(client, QStringLiteral("zenaLBL"), twipsRect(1680, 5280, 975, 255), QStringLiteral("7"));
    scoreLBL = label(client, QStringLiteral("scoreLBL"), twipsRect(5400, 0, 735, 375), QStringLiteral("Skóre:"));
    scorecountLBL = label(client, QStringLiteral("scorecountLBL"), twipsRect(6240, 0, 975, 375), QStringLiteral("0"));
    timeLBL = label(client, QStringLiteral("timeLBL"), twipsRect(5520, 240, 735, 375), QStringLiteral("Time:"));
    timecountLBL = label(client, QStringLiteral("timecountLBL"), twipsRect(6240, 240, 735, 375), QStringLiteral("50"));

    chlapIMG = picture(client, QStringLiteral("chlapIMG"), twipsRect(3120, 5040, 1080, 855), pictures.picture(Role::ManPicture));
    zenaIMG = picture(client, QStringLiteral("zenaIMG"), twipsRect(4440, 5040, 1080, 855), pictures.picture(Role::WomanPicture));
    okno = picture(client, QStringLiteral("okno"), twipsRect(3720, 5040, 1095, 855), empty);
    chlapIMG->hide();
    zenaIMG->hide();
    okno->hide();

    voda = new FilledShape(QStringLiteral("voda"), &client, QColor(192, 255, 255), QColor(192, 255, 255));
    voda->setGeometry(twipsRect(0, 1320, 7575, 4695));
    voda->hide();
}

} // namespace tonovka
