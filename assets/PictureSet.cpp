#include "PictureSet.h"

namespace tonovka {

namespace {

std::size_t slot(PictureSet::Role role)
{
    return static_cast<std::size_t>(role);
}

} // namespace

PictureSet::PictureSet() = default;

// Each picture is decoded on its first use, so that the program starts without decoding the
// house it has not shown yet; it is the same object from then on.
const QPixmap& PictureSet::picture(Role role) const
{
    Loaded<QPixmap>& picture = m_pictures.at(slot(role));
    if (!picture.loaded) {
        picture.value = QPixmap(resourcePath(role));
        picture.loaded = true;
    }
    return picture.value;
}

const QIcon& PictureSet::icon(Role role) const
{
    Loaded<QIcon>& icon = m_icons.at(slot(role));
    if (!icon.loaded) {
        const bool isIcon = role == Role::ProgramIcon || role == Role::WarningIcon;
        icon.value = isIcon ? QIcon(resourcePath(role)) : QIcon(picture(role));
        icon.loaded = true;
    }
    return icon.value;
}

QString PictureSet::resourcePath(Role role)
{
    switch (role) {
    case Role::WelcomePicture:
        return QStringLiteral(":/tonovka/images/welcome.bmp");
    case Role::RoofPicture:
        return QStringLiteral(":/tonovka/images/roof.bmp");
    case Role::EmptyWindowPicture:
        return QStringLiteral(":/tonovka/images/window-empty.bmp");
    case Role::ManPicture:
        return QStringLiteral(":/tonovka/images/window-man.bmp");
    case Role::WomanPicture:
        return QStringLiteral(":/tonovka/images/window-woman.bmp");
    case Role::ProgramIcon:
        return QStringLiteral(":/tonovka/icons/program.ico");
    case Role::WarningIcon:
        return QStringLiteral(":/tonovka/icons/warning.ico");
    }
    return {};
}

} // namespace tonovka
