// The picture files as the program embeds them: their exact formats and their content.
#include <QSet>
#include <QTest>

#include "PictureBytes.h"
#include "PictureSet.h"

using namespace picturebytes;
using tonovka::PictureSet;
using Role = PictureSet::Role;

Q_DECLARE_METATYPE(PictureSet::Role)

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kBlack(0, 0, 0);
const QColor kSkin(0xFC, 0xBE, 0x03);
const QColor kBrown(0x80, 0x40, 0x00);
const QColor kCyan(0x00, 0xFF, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kPaleYellow(0xFF, 0xFF, 0x80);
const QColor kWater(0x00, 0x80, 0xFF);
const QColor kGrey(0x80, 0x80, 0x80);

QByteArray bytesOf(Role role)
{
    return readAll(PictureSet::resourcePath(role));
}

QSet<QRgb> coloursIn(const QByteArray& bmp, int left, int top, int right, int bottom)
{
    QSet<QRgb> colours;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            colours.insert(bmpPixel(bmp, x, y).rgb());
    return colours;
}

QSet<QRgb> rgbSet(std::initializer_list<QColor> colours)
{
    QSet<QRgb> set;
    for (const QColor& c : colours)
        set.insert(c.rgb());
    return set;
}

bool isEmptyWindowPixel(int x, int y)
{
    return x >= 6 && x <= 66 && y >= 5 && y <= 51;
}

} // namespace

class PictureFilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bitmapsAre24BitUncompressedWithTheirSizes_data()
    {
        QTest::addColumn<Role>("role");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("fileSize");
        QTest::newRow("welcome") << Role::WelcomePicture << 196 << 156 << 91782;
        QTest::newRow("roof") << Role::RoofPicture << 461 << 118 << 163366;
        QTest::newRow("empty window") << Role::EmptyWindowPicture << 73 << 57 << 12594;
        QTest::newRow("man") << Role::ManPicture << 72 << 57 << 12366;
        QTest::newRow("woman") << Role::WomanPicture << 72 << 57 << 12366;
    }

    void bitmapsAre24BitUncompressedWithTheirSizes()
    {
        QFETCH(Role, role);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, fileSize);
        const QByteArray bmp = bytesOf(role);
        const int stride = (width * 3 + 3) / 4 * 4;

        QCOMPARE(bmp.size(), fileSize);
        QCOMPARE(bmp.left(2), QByteArray("BM"));
        QCOMPARE(u32(bmp, 2), std::uint32_t(fileSize));
        QCOMPARE(u32(bmp, 6), 0u);
        QCOMPARE(u32(bmp, 10), 54u);
        QCOMPARE(u32(bmp, 14), 40u);
        QCOMPARE(i32(bmp, 18), width);
        QCOMPARE(i32(bmp, 22), height); // positive: rows stored bottom-up
        QCOMPARE(u16(bmp, 26), 1u);
        QCOMPARE(u16(bmp, 28), 24u);
        QCOMPARE(u32(bmp, 30), 0u);
        QCOMPARE(u32(bmp, 34), std::uint32_t(stride * height));
        QCOMPARE(u32(bmp, 38), 3780u);
        QCOMPARE(u32(bmp, 42), 3780u);
        QCOMPARE(u32(bmp, 46), 0u);
        QCOMPARE(u32(bmp, 50), 0u);
        for (int row = 0; row < height; ++row)
            for (int pad = width * 3; pad < stride; ++pad)
                QCOMPARE(u8(bmp, 54 + row * stride + pad), std::uint8_t(0));
    }

    void iconsHoldOne16ColourImageWithAMask_data()
    {
        QTest::addColumn<Role>("role");
        QTest::newRow("program") << Role::ProgramIcon;
        QTest::newRow("warning") << Role::WarningIcon;
    }

    void iconsHoldOne16ColourImageWithAMask()
    {
        QFETCH(Role, role);
        const QByteArray ico = bytesOf(role);
        QCOMPARE(ico.size(), 766);
        QCOMPARE(u16(ico, 0), 0u);
        QCOMPARE(u16(ico, 2), 1u); // an icon, not a cursor
        QCOMPARE(u16(ico, 4), 1u);
        QCOMPARE(u8(ico, 6), std::uint8_t(32));
        QCOMPARE(u8(ico, 7), std::uint8_t(32));
        QCOMPARE(u8(ico, 8), std::uint8_t(16));
        QCOMPARE(u8(ico, 9), std::uint8_t(0));
        QCOMPARE(u16(ico, 10), 1u);
        QCOMPARE(u16(ico, 12), 4u);
        QCOMPARE(u32(ico, 14), 744u);
        QCOMPARE(u32(ico, 18), 22u);
        QCOMPARE(u32(ico, 22), 40u);
        QCOMPARE(i32(ico, 26), 32);
        QCOMPARE(i32(ico, 30), 64); // colour rows and mask rows
        QCOMPARE(u16(ico, 34), 1u);
        QCOMPARE(u16(ico, 36), 4u);
        QCOMPARE(u32(ico, 38), 0u);
        QCOMPARE(u32(ico, 42), 640u);
    }

    void iconPalettesAreTheStandard16Colours_data() { iconsHoldOne16ColourImageWithAMask_data(); }

    void iconPalettesAreTheStandard16Colours()
    {
        QFETCH(Role, role);
        const QByteArray ico = bytesOf(role);
        const QList<QRgb> standard{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                   0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(iconPaletteColour(ico, i).rgb() & 0xFFFFFF, standard[i]);
            QCOMPARE(u8(ico, kIconPalette + 4 * i + 3), std::uint8_t(0));
        }
    }

    void transparentIconPixelsAreBlackUnderTheMask_data() { iconsHoldOne16ColourImageWithAMask_data(); }

    void transparentIconPixelsAreBlackUnderTheMask()
    {
        QFETCH(Role, role);
        const QByteArray ico = bytesOf(role);
        int transparent = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (!iconPixel(ico, x, y)) {
                    ++transparent;
                    QCOMPARE(iconIndexUnder(ico, x, y), 0);
                }
        QVERIFY(transparent > 200);
        QVERIFY(transparent < 32 * 32 - 100);
    }

    void emptyWindowFrameIsSilverAndPaneWhite()
    {
        const QByteArray bmp = bytesOf(Role::EmptyWindowPicture);
        for (int y = 0; y < 57; ++y)
            for (int x = 0; x < 73; ++x)
                QCOMPARE(bmpPixel(bmp, x, y), isEmptyWindowPixel(x, y) ? kWhite : kSilver);
    }

    void personFramesAreTheEmptyFrameWithAFiveColumnRightStrip_data()
    {
        QTest::addColumn<Role>("role");
        QTest::newRow("man") << Role::ManPicture;
        QTest::newRow("woman") << Role::WomanPicture;
    }

    void personFramesAreTheEmptyFrameWithAFiveColumnRightStrip()
    {
        QFETCH(Role, role);
        const QByteArray empty = bytesOf(Role::EmptyWindowPicture);
        const QByteArray person = bytesOf(role);
        QCOMPARE(i32(person, 18), 72);
        for (int y = 0; y < 57; ++y) {
            for (int x = 0; x < 67; ++x)
                if (!isEmptyWindowPixel(x, y))
                    QCOMPARE(bmpPixel(person, x, y), bmpPixel(empty, x, y));
            for (int x = 67; x < 72; ++x)
                QCOMPARE(bmpPixel(person, x, y), kSilver);
        }
    }

    void personPanesShowAFigureInItsColours_data()
    {
        QTest::addColumn<Role>("role");
        QTest::addColumn<QColor>("hair");
        QTest::newRow("man") << Role::ManPicture << kBlack;
        QTest::newRow("woman") << Role::WomanPicture << kBrown;
    }

    void personPanesShowAFigureInItsColours()
    {
        QFETCH(Role, role);
        QFETCH(QColor, hair);
        const QByteArray bmp = bytesOf(role);
        int drawn = 0;
        for (int y = 5; y <= 51; ++y)
            for (int x = 6; x <= 66; ++x)
                drawn += bmpPixel(bmp, x, y) != kWhite;
        QVERIFY2(drawn > 400, qPrintable(QString::number(drawn)));
        QSet<QRgb> pane = coloursIn(bmp, 6, 5, 66, 51);
        QVERIFY(pane.contains(kSkin.rgb()));
        QVERIFY(pane.contains(kCyan.rgb()));
        QVERIFY(pane.contains(hair.rgb()));
        QVERIFY(pane.subtract(rgbSet({kWhite, kBlack, kSkin, kCyan, kBrown})).isEmpty());
        // The neck runs down to the lower edge of the pane.
        QCOMPARE(bmpPixel(bmp, role == Role::ManPicture ? 35 : 33, 51), kSkin);
    }

    void manAndWomanAreDifferentPictures()
    {
        QVERIFY(bytesOf(Role::ManPicture) != bytesOf(Role::WomanPicture));
        QVERIFY(!coloursIn(bytesOf(Role::ManPicture), 6, 5, 66, 51).contains(kBrown.rgb()));
    }

    void roofIsARedGableWithAChimneyAndSmoke()
    {
        const QByteArray bmp = bytesOf(Role::RoofPicture);
        for (int x = 0; x < 461; ++x) {
            const int top = std::abs(x - 230) / 2;
            QCOMPARE(bmpPixel(bmp, x, 117), kBlack);
            QCOMPARE(bmpPixel(bmp, x, top), kBlack);
            QCOMPARE(bmpPixel(bmp, x, top + 1), kBlack);
            if (top + 2 < 117)
                QCOMPARE(bmpPixel(bmp, x, top + 2), kRed);
            if (top > 0 && (x < 73 || x > 90))
                QCOMPARE(bmpPixel(bmp, x, top - 1), kWhite);
        }
        QCOMPARE(bmpPixel(bmp, 73, 39), kBlack);
        QCOMPARE(bmpPixel(bmp, 90, 60), kBlack);
        QCOMPARE(bmpPixel(bmp, 80, 60), kSilver);
        QVERIFY(coloursIn(bmp, 37, 6, 82, 34).contains(kGrey.rgb()));
        QCOMPARE(coloursIn(bmp, 0, 0, 460, 117), rgbSet({kWhite, kBlack, kRed, kSilver, kGrey}));
    }

    void welcomeSceneShowsTheHouseInTheFlood()
    {
        const QByteArray bmp = bytesOf(Role::WelcomePicture);
        QCOMPARE(bmpPixel(bmp, 0, 0), kWhite);
        for (int x = 0; x < 196; ++x)
            QCOMPARE(bmpPixel(bmp, x, 155), kWater);
        QCOMPARE(bmpPixel(bmp, 0, 100), kWhite);
        QCOMPARE(bmpPixel(bmp, 0, 120), kWater);
        QCOMPARE(bmpPixel(bmp, 195, 100), kWhite);
        QCOMPARE(bmpPixel(bmp, 195, 120), kWater);
        QCOMPARE(bmpPixel(bmp, 58, 85), kPaleYellow);
        QCOMPARE(bmpPixel(bmp, 86, 60), kRed);
        QCOMPARE(bmpPixel(bmp, 100, 104), kWhite); // the empty window
        QCOMPARE(bmpPixel(bmp, 64, 104), kBlack);
        QVERIFY(coloursIn(bmp, 95, 20, 105, 30).contains(kBrown.rgb()));
        QVERIFY(coloursIn(bmp, 67, 97, 84, 110).contains(kBlack.rgb())); // the face at the window
        QCOMPARE(coloursIn(bmp, 0, 0, 195, 155), rgbSet({kWhite, kBlack, kRed, kPaleYellow, kWater, kBrown}));
    }

    void warningIconIsARedTriangleWithAWhiteMark()
    {
        const QByteArray ico = bytesOf(Role::WarningIcon);
        QCOMPARE(iconPixel(ico, 15, 5), kRed);
        QCOMPARE(iconPixel(ico, 16, 5), kRed);
        QVERIFY(!iconPixel(ico, 14, 5));
        QVERIFY(!iconPixel(ico, 15, 4));
        for (int x = 5; x <= 26; ++x) {
            QCOMPARE(iconPixel(ico, x, 25), kRed);
            QCOMPARE(iconPixel(ico, x, 26), kRed);
        }
        QVERIFY(!iconPixel(ico, 4, 25));
        QVERIFY(!iconPixel(ico, 15, 27));
        for (int y = 12; y <= 20; ++y) {
            QCOMPARE(iconPixel(ico, 15, y), kWhite);
            QCOMPARE(iconPixel(ico, 13, y), kRed);
            QCOMPARE(iconPixel(ico, 18, y), kRed);
        }
        QCOMPARE(iconPixel(ico, 15, 22), kRed);
        QCOMPARE(iconPixel(ico, 16, 23), kWhite);
        QCOMPARE(iconPixel(ico, 15, 24), kWhite);
        QVERIFY(!iconPixel(ico, 0, 0));
    }

    void programIconIsABlackSignPartedInColumn15()
    {
        const QByteArray ico = bytesOf(Role::ProgramIcon);
        for (int y = 0; y < 32; ++y)
            QCOMPARE(iconPixel(ico, 15, y), kBlack);
        int left = 0;
        int right = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (const auto pixel = iconPixel(ico, x, y); pixel && x != 15) {
                    QCOMPARE(*pixel, kBlack);
                    ++(x < 15 ? left : right);
                }
        QVERIFY(left > 100);
        QVERIFY(right > 100);
        QVERIFY(!iconPixel(ico, 0, 0));
        QVERIFY(!iconPixel(ico, 31, 31));
        QVERIFY(!iconPixel(ico, 14, 0));
        QVERIFY(!iconPixel(ico, 16, 0));
    }
};

QTEST_GUILESS_MAIN(PictureFilesTest)
#include "PictureFilesTest.moc"
