#include "HouseFront.h"
#include "NamedFont.h"

#include "FilledShape.h"
#include "HouseLayout.h"
#include "PictureBox.h"
#include "PictureSet.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>

namespace tonovka {

namespace {

using Role = PictureSet::Role;

QString nameOf(const HousePlace& place)
{
    return QString::fromLatin1(place.name.data(), static_cast<qsizetype>(place.name.size()));
}

PictureBox* picture(QWidget& client, const HousePlace& place, const QPixmap& shown,
                    PictureBox::Fit fit = PictureBox::Fit::NaturalSize)
{
    auto* box = new PictureBox(nameOf(place), &client, fit);
    box->setGeometry(place.rect());
    box->setPicture(shown);
    if (!place.shown)
        box->hide();
    return box;
}

QLabel* label(QWidget& client, const HousePlace& place, const QString& text)
{
    auto* control = new QLabel(text, &client);
    control->setObjectName(nameOf(place));
    control->setGeometry(place.rect());
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setFont(namedFont(QStringLiteral("Comic Sans MS"), 12));
    if (!place.shown)
        control->hide();
    return control;
}

// A cursor's label is never shown and takes a new text every millisecond. As plain text with a fixed accessible
// name, a new text costs neither a rich-text check nor an accessibility event.
QLabel* hiddenLabel(QWidget& client, const HousePlace& place, const QString& text)
{
    QLabel* control = label(client, place, text);
    control->setTextFormat(Qt::PlainText);
    control->setAccessibleName(control->objectName());
    return control;
}

FilledShape* strip(QWidget& client, int element)
{
    const HousePlace& place = housePlace("Shape1", element);
    auto* shape = new FilledShape(nameOf(place), &client, Qt::white, QApplication::palette().color(QPalette::Base));
    shape->setGeometry(place.rect());
    shape->setProperty("element", element);
    return shape;
}

// Window n of the house, or 0 for a control that is none of the fifteen.
int windowNumber(const HousePlace& place)
{
    const std::string_view prefix = "okno";
    if (!place.name.starts_with(prefix) || place.name.size() == prefix.size())
        return 0;
    int n = 0;
    for (char digit : place.name.substr(prefix.size()))
        n = 10 * n + (digit - '0');
    return n;
}

} // namespace

// Controls are made from the bottom of the drawing order up: each new sibling lies over the
// ones made before it.
HouseFront::HouseFront(QWidget& client, const PictureSet& pictures)
{
    const QPixmap& empty = pictures.picture(Role::EmptyWindowPicture);
    strecha = picture(client, housePlace("strecha"), pictures.picture(Role::RoofPicture), PictureBox::Fit::Stretch);

    // The windows in the order in which they lie over one another.
    for (auto place = kHouseLayout.rbegin(); place != kHouseLayout.rend(); ++place) {
        if (const int n = windowNumber(*place))
            windows[static_cast<std::size_t>(n - 1)] = picture(client, *place, empty);
    }

    Shape1[0] = strip(client, 0);
    Shape1[1] = strip(client, 1);

    chlapLBL = hiddenLabel(client, housePlace("chlapLBL"), QStringLiteral("1"));
    zenaLBL = hiddenLabel(client, housePlace("zenaLBL"), QStringLiteral("7"));
    scoreLBL = label(client, housePlace("scoreLBL"), QStringLiteral("Skóre:"));
    scorecountLBL = label(client, housePlace("scorecountLBL"), QStringLiteral("0"));
    timeLBL = label(client, housePlace("timeLBL"), QStringLiteral("Time:"));
    timecountLBL = label(client, housePlace("timecountLBL"), QStringLiteral("50"));

    chlapIMG = picture(client, housePlace("chlapIMG"), pictures.picture(Role::ManPicture));
    zenaIMG = picture(client, housePlace("zenaIMG"), pictures.picture(Role::WomanPicture));
    okno = picture(client, housePlace("okno"), empty);

    const HousePlace& water = housePlace("voda");
    voda = new FilledShape(nameOf(water), &client, QColor(192, 255, 255), QColor(192, 255, 255));
    voda->setGeometry(water.rect());
    if (!water.shown)
        voda->hide();
}

} // namespace tonovka
