#pragma once

#include <array>

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tonovka {

// The fixed pictures of the game, built into the program. The program makes one PictureSet and
// hands it to its screens; each role always yields the very same object, so a window that shows
// the man picture holds the man picture itself, and comparing two controls' pictures tells
// whether they show the same one.
class PictureSet {
public:
    enum class Role {
        WelcomePicture,
        RoofPicture,
        EmptyWindowPicture,
        ManPicture,
        WomanPicture,
        ProgramIcon,
        WarningIcon,
    };
    static constexpr int kRoleCount = 7;

    // Needs a QGuiApplication while pictures are asked for. Each is loaded once, when first asked for.
    PictureSet();

    const QPixmap& picture(Role role) const;
    // Every role has an icon; those of ProgramIcon and WarningIcon are the icon files themselves.
    const QIcon& icon(Role role) const;

    // Where the role's file lies among the program's resources.
    static QString resourcePath(Role role);

private:
    template <class Picture> struct Loaded {
        Picture value;
        bool loaded = false;
    };

    mutable std::array<Loaded<QPixmap>, kRoleCount> m_pictures;
    mutable std::array<Loaded<QIcon>, kRoleCount> m_icons;
};

} // namespace tonovka
