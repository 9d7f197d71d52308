// PictureSet hands out each picture by its role, always as the same object.
#include "PictureSet.h"

#include <QSet>
#include <QTest>

using tonovka::PictureSet;
using Role = PictureSet::Role;

namespace {

const QList<Role> kAllRoles{Role::WelcomePicture, Role::RoofPicture, Role::EmptyWindowPicture, Role::ManPicture,
                            Role::WomanPicture,   Role::ProgramIcon, Role::WarningIcon};

} // namespace

class PictureSetTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyRoleYieldsTheSameLoadedPictureEachTime()
    {
        const PictureSet pictures;
        for (Role role : kAllRoles) {
            const QPixmap& first = pictures.picture(role);
            QVERIFY(!first.isNull());
            QCOMPARE(&pictures.picture(role), &first);
            QCOMPARE(&pictures.icon(role), &pictures.icon(role));
        }
    }

    void differentRolesYieldDifferentPictures()
    {
        const PictureSet pictures;
        QSet<qint64> keys;
        for (Role role : kAllRoles)
            keys.insert(pictures.picture(role).cacheKey());
        QCOMPARE(keys.size(), int(kAllRoles.size()));
        QVERIFY(pictures.picture(Role::ManPicture).toImage() != pictures.picture(Role::WomanPicture).toImage());
    }

    void picturesHaveTheirNaturalSizes()
    {
        const PictureSet pictures;
        QCOMPARE(pictures.picture(Role::WelcomePicture).size(), QSize(196, 156));
        QCOMPARE(pictures.picture(Role::RoofPicture).size(), QSize(461, 118));
        QCOMPARE(pictures.picture(Role::EmptyWindowPicture).size(), QSize(73, 57));
        QCOMPARE(pictures.picture(Role::ManPicture).size(), QSize(72, 57));
        QCOMPARE(pictures.picture(Role::WomanPicture).size(), QSize(72, 57));
        QCOMPARE(pictures.picture(Role::ProgramIcon).size(), QSize(32, 32));
        QCOMPARE(pictures.picture(Role::WarningIcon).size(), QSize(32, 32));
    }

    void iconsKeepTheirTransparency()
    {
        const PictureSet pictures;
        const QIcon& program = pictures.icon(Role::ProgramIcon);
        QVERIFY(!program.isNull());
        const QImage programImage = program.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(programImage.size(), QSize(32, 32));
        QCOMPARE(programImage.pixel(15, 20), qRgba(0, 0, 0, 255));
        QCOMPARE(qAlpha(programImage.pixel(0, 0)), 0);

        const QImage warning =
            pictures.icon(Role::WarningIcon).pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(warning.pixel(15, 5), qRgba(0xFF, 0, 0, 255));
        QCOMPARE(warning.pixel(15, 14), qRgba(0xFF, 0xFF, 0xFF, 255));
        QCOMPARE(qAlpha(warning.pixel(31, 0)), 0);
        QVERIFY(pictures.picture(Role::WarningIcon).hasAlphaChannel());
    }
};

QTEST_MAIN(PictureSetTest)
#include "PictureSetTest.moc"
