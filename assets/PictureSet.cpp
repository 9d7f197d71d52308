#include "PictureSet.h"

namespace tonovka {

namespace {

std::size_t slot(PictureSet::Role role)
{
    return static_cast<std::size_t>(role);
}

} // namespace

PictureSet::PictureSet()
{
    for (int i = 0; i < kRoleCount; ++i) {
        const auto role = static_cast<Role>(i);
        m_pictures[slot(role)] = QPixmap(resourcePath(role));
        const bool isIcon = role == Role::ProgramIcon || role == Role::WarningIcon;
        m_icons[slot(role)] = isIcon ? QIcon(resourcePath(role)) : QIcon(m_pictures[slot(role)]);
    }
}

const QPixmap& PictureSet::picture(Role role) const
{
    return m_pictures.at(slot(role));
}

const QIcon& PictureSet::icon(Role role) const
{
    return m_icons.at(slot(role));
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
